// Guards the skin directory parser: which slot a name finds (highest slot,
// case ignored, the full 15-character name), and that slots pointing past the
// archive or with damaged names are refused rather than read.
#include "graphics/skin_directory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class Directory {
 public:
  Directory() : bytes_(kSkinDirectorySize, 0) {}

  void Put(int number, std::uint32_t offset, std::uint32_t size, const char* name) {
    ASSERT_TRUE(WriteSkinSlot(Slot(number), offset, size, name));
  }
  unsigned char* Slot(int number) { return bytes_.data() + (number - 1) * kSkinSlotSize; }

  SkinDirectory Parse(std::uint64_t archive_size) const {
    SkinDirectory directory;
    EXPECT_TRUE(directory.Parse(bytes_.data(), bytes_.size(), archive_size));
    return directory;
  }

 private:
  std::vector<unsigned char> bytes_;
};

constexpr std::uint32_t kArchiveSize = 20000;

TEST(SkinDirectory, HighestMatchingSlotWinsIgnoringCase) {
  Directory bytes;
  bytes.Put(3, 12000, 10, "check1");
  bytes.Put(480, 12010, 10, "CHECK1");
  bytes.Put(411, 12020, 10, "Ibeamcur");
  SkinDirectory directory = bytes.Parse(kArchiveSize);

  EXPECT_EQ(directory.Find("Check1"), 480);
  EXPECT_EQ(directory.Find("IBeamcur"), 411);
  EXPECT_EQ(directory.Find("check"), 0);
  EXPECT_EQ(directory.Find("check12"), 0);
  EXPECT_EQ(directory.Find(""), 0) << "unused slots hold no picture";
  EXPECT_STREQ(directory.Slot(480).name.c_str(), "CHECK1");
  EXPECT_EQ(directory.Slot(480).offset, 12010u);
  EXPECT_EQ(directory.Slot(1).state, SkinSlotState::kUnused);
}

TEST(SkinDirectory, NameOfFifteenCharactersIsTheLongest) {
  Directory bytes;
  bytes.Put(500, 12000, 10, "abcdefghijklmno");
  std::vector<unsigned char> slot(kSkinSlotSize, 0);
  EXPECT_FALSE(WriteSkinSlot(slot.data(), 1, 2, "abcdefghijklmnop"));
  EXPECT_EQ(slot, std::vector<unsigned char>(kSkinSlotSize, 0)) << "a refused name writes nothing";

  SkinDirectory directory = bytes.Parse(kArchiveSize);
  EXPECT_EQ(directory.Find("ABCDEFGHIJKLMNO"), 500);
  EXPECT_EQ(directory.Find("abcdefghijklmnop"), 0) << "a longer name can never match";
}

TEST(SkinDirectory, SlotsThatCannotBeReadAreRefused) {
  struct Case {
    std::uint32_t offset, size;
    SkinSlotState state;
  };
  const Case cases[] = {
      {12000, kArchiveSize - 12000, SkinSlotState::kPicture},  // ends exactly at the end
      {12000, kArchiveSize - 12000 + 1, SkinSlotState::kOutsideArchive},
      {kArchiveSize, 1, SkinSlotState::kOutsideArchive},
      {0xFFFFFFFFu, 2, SkinSlotState::kOutsideArchive},  // must not wrap around
  };
  for (const Case& c : cases) {
    Directory bytes;
    bytes.Put(7, c.offset, c.size, "topborder");
    SkinDirectory directory = bytes.Parse(kArchiveSize);
    ASSERT_EQ(directory.Find("topborder"), 7);
    EXPECT_EQ(directory.Slot(7).state, c.state) << c.offset << "+" << c.size;
    EXPECT_EQ(directory.Slot(7).IsReadable(), c.state == SkinSlotState::kPicture);
  }
}

TEST(SkinDirectory, NameWithoutEndIsDamaged) {
  Directory bytes;
  bytes.Put(9, 12000, 10, "x");
  std::memset(bytes.Slot(9) + 8, 'a', 16);
  SkinDirectory directory = bytes.Parse(kArchiveSize);
  EXPECT_EQ(directory.Slot(9).state, SkinSlotState::kUnterminatedName);
  EXPECT_FALSE(directory.Slot(9).IsReadable());
  EXPECT_EQ(directory.Find("aaaaaaaaaaaaaaaa"), 0);
  EXPECT_EQ(directory.Find("aaaaaaaaaaaaaaa"), 0);
}

TEST(SkinDirectory, TooShortInputLeavesEverySlotUnused) {
  Directory bytes;
  bytes.Put(1, 12000, 10, "check1");
  std::vector<unsigned char> cut(bytes.Slot(1), bytes.Slot(1) + kSkinDirectorySize - 1);
  SkinDirectory directory;
  EXPECT_FALSE(directory.Parse(cut.data(), cut.size(), kArchiveSize));
  EXPECT_EQ(directory.Find("check1"), 0);

  std::vector<unsigned char> whole(bytes.Slot(1), bytes.Slot(1) + kSkinDirectorySize);
  EXPECT_FALSE(directory.Parse(whole.data(), whole.size(), kSkinDirectorySize - 1));
  EXPECT_EQ(directory.Find("check1"), 0);
}

}  // namespace
