// The builder's output size against zlib's strongest raw DEFLATE, on a
// realistic product: text, source code, x86 binaries and a third of
// already-compressed data, gathered from this system's own files. Prints
// both sizes and their ratio (target: at most 0.99), and the builder's speed.
//   pack_size_bench [MEGABYTES_PER_KIND]   (default 8)
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "stream_encoder.h"

namespace fs = std::filesystem;

namespace {

struct Kind {
  const char* name;
  std::vector<const char*> roots;
  bool (*wanted)(const fs::path&);
};

bool IsText(const fs::path& path) {
  return path.filename() == "copyright" || path.parent_path() == "/usr/share/common-licenses";
}
bool IsSource(const fs::path& path) { return path.extension() == ".h" || path.extension() == ".hpp"; }
bool IsBinary(const fs::path& path) { return path.filename().string().find(".so") != std::string::npos; }
bool IsCompressed(const fs::path& path) { return path.extension() == ".gz" || path.extension() == ".xz"; }

// Files of the kind in name order, up to `budget` bytes, none over 2 MiB.
std::vector<Bytes> Gather(const Kind& kind, std::size_t budget) {
  std::vector<fs::path> paths;
  for (const char* root : kind.roots) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error), end;
         it != end; it.increment(error)) {
      if (!error && it->is_regular_file(error) && !it->is_symlink(error) && kind.wanted(it->path())) {
        paths.push_back(it->path());
      }
    }
  }
  std::sort(paths.begin(), paths.end());
  std::vector<Bytes> files;
  std::size_t total = 0;
  for (const fs::path& path : paths) {
    if (total >= budget) break;
    std::ifstream in(path, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.empty() || bytes.size() > (2u << 20)) continue;
    total += bytes.size();
    files.push_back(std::move(bytes));
  }
  return files;
}

std::size_t ZlibBest(const Bytes& data) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY);
  Bytes out(deflateBound(&stream, static_cast<uLong>(data.size())));
  stream.next_in = const_cast<Bytef*>(data.data());
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  std::size_t size = stream.total_out;
  deflateEnd(&stream);
  return size;
}

}  // namespace

int main(int argc, char** argv) {
  std::size_t budget = (argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 8) << 20;
  const Kind kinds[] = {
      {"text", {"/usr/share/common-licenses", "/usr/share/doc"}, IsText},
      {"source", {"/usr/include"}, IsSource},
      {"binaries", {"/usr/lib/x86_64-linux-gnu"}, IsBinary},
      {"compressed", {"/usr/share/doc"}, IsCompressed},
  };
  std::vector<StreamEncoder> encoders = DefaultEncoders(12);
  std::size_t all_original = 0, all_builder = 0, all_zlib = 0;
  double builder_seconds = 0;
  std::printf("%-12s %7s %12s %12s %12s %7s\n", "kind", "files", "original", "builder", "zlib -9", "ratio");
  for (const Kind& kind : kinds) {
    // Text and source share one third, binaries one, compressed data one.
    std::size_t share = kind.name == std::string("text") || kind.name == std::string("source") ? budget / 2 : budget;
    std::vector<Bytes> files = Gather(kind, share);
    std::size_t original = 0, builder = 0, zlib = 0;
    for (const Bytes& file : files) {
      auto start = std::chrono::steady_clock::now();
      builder += EncodeChecked(file, encoders).size();
      builder_seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      zlib += ZlibBest(file);
      original += file.size();
    }
    std::printf("%-12s %7zu %12zu %12zu %12zu %7.4f\n", kind.name, files.size(), original, builder, zlib,
                zlib ? static_cast<double>(builder) / static_cast<double>(zlib) : 0.0);
    all_original += original;
    all_builder += builder;
    all_zlib += zlib;
  }
  double ratio = static_cast<double>(all_builder) / static_cast<double>(all_zlib);
  std::printf("%-12s %7s %12zu %12zu %12zu %7.4f\n", "all", "", all_original, all_builder, all_zlib, ratio);
  std::printf("builder output / zlib level 9: %.4f (target <= 0.99); builder %.1f MB/s including the decode check\n",
              ratio, static_cast<double>(all_original) / 1e6 / builder_seconds);
  return ratio <= 0.99 ? 0 : 1;
}
