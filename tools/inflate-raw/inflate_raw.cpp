// inflate-raw IN OUT: decodes one raw DEFLATE file with the setup's own
// decoder, as the install unpacks a product file. A developer's check that a
// stream written by some encoder is one the setup accepts: this decoder is
// stricter than RFC 1951 (it refuses stored blocks of length 0 and code-length
// repeats that run from the literal/length lengths into the distance lengths).
// The output goes to OUT.part and is renamed to OUT once the stream has
// ended, so a refused stream leaves an existing OUT as it was. Exit status 1,
// with the reason on stderr, when the stream is refused or a file fails.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "inflate/byte_source.h"
#include "inflate/inflate_state.h"
#include "log/abort_error.h"

namespace {

class FileSource final : public ByteSource {
 public:
  explicit FileSource(std::FILE* file) : file_(file) {}

  std::size_t ReadUpTo(void* destination, std::size_t n) override {
    std::size_t count = std::fread(destination, 1, n, file_);
    if (count == 0 && std::ferror(file_)) throw AbortError{};
    consumed_ += count;
    return count;
  }
  // Bytes handed to the decoder so far.
  std::uint64_t Consumed() const { return consumed_; }

 private:
  std::FILE* file_;
  std::uint64_t consumed_ = 0;
};

int Fail(const char* message, const std::string& path) {
  std::fprintf(stderr, "inflate-raw: %s: %s\n", path.c_str(), message);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: inflate-raw IN OUT\n");
    return 2;
  }
  const std::string in_path = argv[1], out_path = argv[2], part_path = out_path + ".part";

  std::FILE* in = std::fopen(in_path.c_str(), "rb");
  if (!in) return Fail("cannot open", in_path);
  std::FILE* out = std::fopen(part_path.c_str(), "wb");
  if (!out) {
    std::fclose(in);
    return Fail("cannot create", part_path);
  }

  FileSource source(in);
  InflateState inflater(&source);
  std::vector<std::uint8_t> piece(1 << 16);
  std::uint64_t produced = 0;
  bool refused = false, write_failed = false;
  try {
    inflater.BeginStream();
    std::size_t got = piece.size();
    while (got == piece.size() && !write_failed) {
      got = inflater.Inflate(piece.size(), piece.data());
      write_failed = std::fwrite(piece.data(), 1, got, out) != got;
      produced += got;
    }
  } catch (const AbortError&) {
    refused = true;
  }
  const bool read_failed = std::ferror(in) != 0;
  std::fclose(in);
  write_failed = std::fclose(out) != 0 || write_failed;

  if (refused || write_failed) {
    std::remove(part_path.c_str());
    if (read_failed) return Fail("read error", in_path);
    if (write_failed) return Fail("write error", part_path);
    std::fprintf(stderr,
                 "inflate-raw: %s: refused: damaged, cut off or not accepted by this decoder "
                 "(%llu bytes written before, %llu input bytes read)\n",
                 in_path.c_str(), static_cast<unsigned long long>(produced),
                 static_cast<unsigned long long>(source.Consumed()));
    return 1;
  }
  if (std::rename(part_path.c_str(), out_path.c_str()) != 0) {
    std::remove(part_path.c_str());
    return Fail("cannot rename the output into place", out_path);
  }
  return 0;
}
