// Holds the decoder against the plain reference decoder on corpus streams
// with bits flipped, mostly in the block headers, where a flip gives
// incomplete, over-subscribed or invalid codes that no encoder writes: the
// table-driven decoder must give the same bytes and the same verdict as
// walking the canonical code bit by bit.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "differential.h"
#include "inflate_test_support.h"

namespace {

TEST(InflateDifferential, FlippedBitsGiveWhatTheReferenceGives) {
  const char* names[] = {"english.txt.zlib-6.deflate",       "source.h.zlib-fixed.deflate",
                         "binary.elf.libdeflate-12.deflate", "english.txt.pyzlib-w9.deflate",
                         "fixed-stored-fixed.deflate",       "dynamic-dist-explicit.deflate"};
  const std::size_t pieces[] = {8192, 1, 61};
  const std::vector<std::size_t> requests[] = {{std::size_t{1} << 20}, {1, 300}, {4096, 3}};
  std::mt19937 random(20240611);
  for (const char* name : names) {
    const Bytes stream = ReadFileBytes(CorpusPath(std::string("streams/") + name));
    for (int mutant = 0; mutant < 40; ++mutant) {
      Bytes changed = stream;
      const unsigned flips = 1 + static_cast<unsigned>(random() % 3);
      for (unsigned i = 0; i < flips; ++i) {
        // Half of the flips hit the first block header.
        const std::size_t reach = random() % 2 ? std::min<std::size_t>(changed.size(), 80) : changed.size();
        const std::size_t bit = random() % (reach * 8);
        changed[bit / 8] ^= static_cast<std::uint8_t>(1u << (bit % 8));
      }
      const std::size_t piece = pieces[mutant % 3];
      EXPECT_EQ(FindDifference(changed.data(), changed.size(), piece, requests[mutant / 3 % 3], 1 << 18), "")
          << name << ", mutant " << mutant;
    }
  }
}

}  // namespace
