// Gathers the payload: files are listed, sorted by path and taken in that
// order until a kind has its share, so every run on the same system decodes
// the same bytes.
#include "payload.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::vector<std::string> SortedFiles(const std::vector<std::string>& roots,
                                     const std::function<bool(const std::string&)>& wanted) {
  std::vector<std::string> paths;
  for (const std::string& root : roots) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error), end;
         it != end; it.increment(error)) {
      if (error) break;
      // Symbolic links would bring in the same file twice.
      if (it->is_regular_file(error) && !it->is_symlink(error) && wanted(it->path().string())) {
        paths.push_back(it->path().string());
      }
    }
  }
  std::sort(paths.begin(), paths.end());
  return paths;
}

// The files' bytes in order, the last one cut where the share is full.
Bytes Gather(const std::vector<std::string>& paths, std::size_t wanted_bytes) {
  Bytes bytes(wanted_bytes);
  std::size_t filled = 0;
  for (const std::string& path : paths) {
    if (filled == wanted_bytes) break;
    std::ifstream file(path, std::ios::binary);
    file.read(reinterpret_cast<char*>(bytes.data() + filled), static_cast<std::streamsize>(wanted_bytes - filled));
    filled += static_cast<std::size_t>(file.gcount());
  }
  bytes.resize(filled);
  return bytes;
}

Bytes CompressRaw(const Bytes& original) {
  z_stream z{};
  if (deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("deflateInit2");
  Bytes stream(deflateBound(&z, static_cast<uLong>(original.size())));
  z.next_in = const_cast<Bytef*>(original.data());
  z.avail_in = static_cast<uInt>(original.size());
  z.next_out = stream.data();
  z.avail_out = static_cast<uInt>(stream.size());
  // One Z_FINISH call on non-empty input: zlib then writes no empty stored
  // block, which the decoder would refuse.
  if (deflate(&z, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
  stream.resize(z.total_out);
  deflateEnd(&z);
  return stream;
}

}  // namespace

std::vector<PayloadPart> BuildPayload(std::size_t bytes_per_kind) {
  auto plain_doc = [](const std::string& path) {
    return !EndsWith(path, ".gz") && !EndsWith(path, ".png") && !EndsWith(path, ".jpg");
  };
  auto header = [](const std::string& path) { return EndsWith(path, ".h") || EndsWith(path, ".hpp"); };
  auto any = [](const std::string&) { return true; };
  auto packed = [](const std::string& path) { return EndsWith(path, ".gz") || EndsWith(path, ".png"); };

  struct Kind {
    const char* name;
    std::vector<std::string> roots;
    std::function<bool(const std::string&)> wanted;
  };
  const Kind kinds[] = {
      {"text", {"/usr/share/doc"}, plain_doc},
      {"source", {"/usr/include"}, header},
      {"binary", {"/usr/bin", "/usr/lib/x86_64-linux-gnu"}, any},
      {"compressed", {"/usr/share/doc", "/usr/share/man", "/usr/share/icons", "/usr/share/pixmaps"}, packed},
  };

  std::vector<PayloadPart> parts;
  for (const Kind& kind : kinds) {
    PayloadPart part;
    part.kind = kind.name;
    part.original = Gather(SortedFiles(kind.roots, kind.wanted), bytes_per_kind);
    if (part.original.size() < bytes_per_kind) {
      throw std::runtime_error(std::string("not enough files for the kind ") + kind.name);
    }
    part.stream = CompressRaw(part.original);
    parts.push_back(std::move(part));
  }
  return parts;
}
