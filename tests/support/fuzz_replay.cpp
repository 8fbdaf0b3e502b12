// Replays inputs through a fuzz entry point without libFuzzer, so the seeds
// and the regressions that a fuzzer run once found are checked by every
// sanitizer test run. Arguments are files or folders (their files, in name
// order); the empty input always runs first. A fault ends the process
// through the sanitizers, after the name of the input is printed.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

// The bytes go into a heap block of their exact size, so that a read past
// them reaches AddressSanitizer's redzone.
void Replay(const std::uint8_t* bytes, std::size_t size) {
  static const std::uint8_t kNothing[1] = {0};
  std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[size == 0 ? 1 : size]);
  std::copy(bytes, bytes + size, block.get());
  LLVMFuzzerTestOneInput(size == 0 ? kNothing : block.get(), size);
}

void ReplayFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::fprintf(stderr, "replay %s (%zu bytes)\n", file.string().c_str(), bytes.size());
  Replay(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  Replay(nullptr, 0);
  int count = 1;
  for (int i = 1; i < argc; ++i) {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(argv[i])) {
      for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
        if (entry.is_regular_file()) files.push_back(entry.path());
      }
      std::sort(files.begin(), files.end());
    } else if (std::filesystem::is_regular_file(argv[i])) {
      files.push_back(argv[i]);
    } else {
      std::fprintf(stderr, "fuzz_replay: no input %s\n", argv[i]);
      return 1;
    }
    for (const auto& file : files) ReplayFile(file);
    count += static_cast<int>(files.size());
  }
  std::printf("%d inputs replayed\n", count);
  return 0;
}
