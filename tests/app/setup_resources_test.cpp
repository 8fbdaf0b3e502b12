// The setup program's icon groups: the window classes take the large icon
// from group 1715 and the small one from group 1, which share their
// pictures. Every entry of a group must name a picture of its size.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "handles/owned_handle.h"

namespace {

// A group entry as a group icon resource stores it.
#pragma pack(push, 2)
struct GroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bits;
  DWORD bytes;
  WORD image;
};
#pragma pack(pop)

constexpr WORD kIconGroups[] = {1, 1715};

TEST(SetupResources, EachIconGroupNamesPicturesOfTheSizesItLists) {
  ModuleHandle library(LoadLibraryExA(SETUP_EXE, nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(library);
  HMODULE setup = library.Get();
  for (WORD group_id : kIconGroups) {
    HRSRC group = FindResourceA(setup, MAKEINTRESOURCEA(group_id), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_NE(group, nullptr) << group_id;
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(setup, group)));
    WORD count = 0;
    std::memcpy(&count, bytes + 4, sizeof count);
    ASSERT_GE(SizeofResource(setup, group), 6 + count * sizeof(GroupEntry)) << group_id;
    EXPECT_GT(count, 0) << group_id;
    for (WORD i = 0; i < count; ++i) {
      GroupEntry entry;
      std::memcpy(&entry, bytes + 6 + i * sizeof(GroupEntry), sizeof entry);
      HRSRC picture = FindResourceA(setup, MAKEINTRESOURCEA(entry.image), MAKEINTRESOURCEA(3));  // RT_ICON
      ASSERT_NE(picture, nullptr) << group_id << " entry " << i;
      EXPECT_EQ(SizeofResource(setup, picture), entry.bytes) << group_id << " entry " << i;
    }
    IconHandle icon(static_cast<HICON>(LoadImageA(setup, MAKEINTRESOURCEA(group_id), IMAGE_ICON, 32, 32, 0)));
    EXPECT_TRUE(icon) << group_id;
  }
}

}  // namespace
