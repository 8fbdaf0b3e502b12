// Conformance against PngSuite: every file of the corpus index decodes to
// exactly its reference pixels, in the output kind its colour type calls
// for, and every corrupt file is refused. The two files whose only damage is
// a chunk CRC decode normally, since CRCs are read but not checked; the
// index gives their references for that case.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "graphics/image.h"
#include "graphics/png_decoder.h"
#include "log/abort_error.h"
#include "png_test_files.h"

namespace {

const std::string kSuite = TARNELL_TESTDATA "/pngsuite/";

struct SuiteEntry {
  std::string file, outcome, width, height, bit_depth, colour_type, interlace, reference;
};

std::vector<SuiteEntry> ReadIndex() {
  std::vector<SuiteEntry> entries;
  std::ifstream index(kSuite + "index.tsv");
  std::string line;
  std::getline(index, line);  // column names
  while (std::getline(index, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream fields(line);
    SuiteEntry e;
    std::getline(fields, e.file, '\t');
    std::getline(fields, e.outcome, '\t');
    std::getline(fields, e.width, '\t');
    std::getline(fields, e.height, '\t');
    std::getline(fields, e.bit_depth, '\t');
    std::getline(fields, e.colour_type, '\t');
    std::getline(fields, e.interlace, '\t');
    std::getline(fields, e.reference, '\t');
    entries.push_back(e);
  }
  return entries;
}

}  // namespace

TEST(PngSuite, EveryFileDecodesToItsReferenceOrIsRefused) {
  std::vector<SuiteEntry> entries = ReadIndex();
  ASSERT_EQ(entries.size(), 136u) << "the corpus index could not be read";

  int decoded = 0, refused = 0;
  for (const SuiteEntry& e : entries) {
    SCOPED_TRACE(e.file);
    Bytes png = ReadFileBytes(kSuite + e.file);
    ASSERT_FALSE(png.empty());
    Image image;
    if (e.reference == "-") {
      EXPECT_THROW(DecodePng(image, png.data(), png.size()), AbortError);
      EXPECT_TRUE(image.Empty());
      ++refused;
      continue;
    }
    try {
      DecodePng(image, png.data(), png.size());
    } catch (const AbortError&) {
      ADD_FAILURE() << "refused";
      continue;
    }
    EXPECT_EQ(std::to_string(image.Width()), e.width);
    EXPECT_EQ(std::to_string(image.Height()), e.height);
    bool grey_or_palette = e.colour_type == "0" || e.colour_type == "3";
    EXPECT_EQ(image.BitsPerPixel(), grey_or_palette ? 8u : 32u);
    Bytes rgba = ToRgba(image), reference = ReadFileBytes(kSuite + e.reference);
    auto difference = std::mismatch(rgba.begin(), rgba.end(), reference.begin(), reference.end());
    EXPECT_TRUE(rgba.size() == reference.size() && difference.first == rgba.end())
        << "pixels differ from " << e.reference << " at byte " << (difference.first - rgba.begin());
    ++decoded;
  }
  EXPECT_EQ(decoded, 124);  // 121 valid, the logo, the two CRC-only files
  EXPECT_EQ(refused, 12);
}
