// The setup window's layout for each kind of package: a row the package does
// not need goes, everything below it moves up and the window gets lower by
// as much; nothing else moves.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "layouts/setup_window_layout.h"

namespace {

using namespace setup_id;

const LayoutEntry* Find(const std::vector<LayoutEntry>& table, std::uint16_t id) {
  auto entry = std::find_if(table.begin(), table.end(), [id](const LayoutEntry& e) { return e.id == id; });
  return entry != table.end() ? &*entry : nullptr;
}

int LayoutY(std::uint16_t id) {
  auto same = [id](const LayoutEntry& e) { return e.id == id; };
  return std::find_if(std::begin(kSetupLayout), std::end(kSetupLayout), same)->y;
}

TEST(SetupWindowLayout, FourAssociationsAndADataFolderKeepTheWholeTable) {
  std::vector<LayoutEntry> table = SetupLayoutFor(4, true);
  ASSERT_EQ(table.size(), std::size(kSetupLayout));
  for (std::size_t i = 0; i < table.size(); ++i) {
    EXPECT_EQ(table[i].id, kSetupLayout[i].id);
    EXPECT_EQ(table[i].y, kSetupLayout[i].y);
  }
  EXPECT_EQ(table[0].height, 440);
}

TEST(SetupWindowLayout, RowsThePackageDoesNotNeedGoAndTheRestMovesUp) {
  struct Case {
    int associations;
    bool data_folder_row;
    int rise;          // of the log view and the buttons
    int options_rise;  // of the option check boxes
    std::vector<std::uint16_t> missing;
  } cases[] = {
      {0,
       false,
       112,
       44,
       {kAssociationLabel, kFirstAssociation, kDataFolderLabel, kDataFolder, kDataFolderSearch, kKeepData}},
      {0, true, 44, 0, {kAssociationLabel, kFirstAssociation, kFirstAssociation + 3}},
      {2, true, 0, 0, {kFirstAssociation + 2, kFirstAssociation + 3}},
      {4, false, 68, 44, {kDataFolderLabel, kDataFolder, kDataFolderSearch, kKeepData}},
      {1, false, 68, 44, {kFirstAssociation + 1, kKeepData}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.associations << " associations, data row " << c.data_folder_row);
    std::vector<LayoutEntry> table = SetupLayoutFor(c.associations, c.data_folder_row);
    EXPECT_EQ(table[0].height, 440 - c.rise);
    for (std::uint16_t id : c.missing) EXPECT_EQ(Find(table, id), nullptr) << id;
    for (std::uint16_t id : {kLogView, kUninstall, kInstall, kClose}) {
      const LayoutEntry* entry = Find(table, id);
      ASSERT_NE(entry, nullptr);
      EXPECT_EQ(entry->y, LayoutY(id) - c.rise);
    }
    for (std::uint16_t id : {kStartMenuShortcuts, kAddToPath}) {
      EXPECT_EQ(Find(table, id)->y, LayoutY(id) - c.options_rise);
    }
    EXPECT_EQ(Find(table, kProgramFolder)->y, LayoutY(kProgramFolder));
    for (int i = 0; i < std::min(c.associations, 4); ++i) {
      const LayoutEntry* box = Find(table, static_cast<std::uint16_t>(kFirstAssociation + i));
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->x, 8 + 64 * i);
      EXPECT_EQ(box->y, 272 - (c.data_folder_row ? 0 : 68));
    }
  }
}

}  // namespace
