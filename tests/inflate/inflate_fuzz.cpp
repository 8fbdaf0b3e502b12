// libFuzzer target: the input is a raw DEFLATE stream. The decoder must
// refuse it with AbortError or decode it, and agree with the reference
// decoder on the bytes and the verdict, whatever the refill and request
// sizes, which the input picks. Run: scripts/run-fuzz.sh inflate BUILD_DIR.
#include <cstdio>
#include <cstdlib>

#include "differential.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A few bytes can ask for gigabytes (a 258-byte match costs a bit or two).
  constexpr std::size_t kCap = std::size_t{1} << 18;
  unsigned mix = 0;
  for (std::size_t i = 0; i < size && i < 64; ++i) mix = mix * 31 + data[i];
  static const std::size_t kPieces[] = {8192, 1, 5, 61};
  static const std::vector<std::size_t> kRequests[] = {{kCap}, {1}, {3, 258, 1, 4096}, {40000, 7}};
  const std::string difference = FindDifference(data, size, kPieces[mix % 4], kRequests[(mix / 4) % 4], kCap);
  if (!difference.empty()) {
    std::fprintf(stderr, "inflate_fuzz: %s\n", difference.c_str());
    std::abort();
  }
  return 0;
}
