#include "layouts/setup_window_layout.h"

#include <algorithm>
#include <iterator>

#include "ui/widgets/text_view.h"

using namespace setup_id;

constexpr LayoutEntry kSetupLayout[23] = {
    {kWindow, kWindowKind, kAnchorTopLeft, 10, 10, 500, 440, ""},
    {1, kTitleBarKind, kAnchorTopEdge, 0, 0, 500, 20, ""},
    {0, kPictureKind, kAnchorTopLeft, 0, 20, 500, 70, "insthead"},
    {0, kLabelKind, kAnchorTopLeft, 8, 96, 228, 17, "Install programs in the following folder"},
    {kProgramFolder, kEditFieldKind, kAnchorTopRight, 8, 116, 416, 17, ""},
    {kProgramFolderSearch, kButtonKind, kAnchorTopLeft, 432, 113, 60, 22, "Search"},
    {kDataFolderLabel, kLabelKind, kAnchorTopLeft, 8, 140, 239, 17, "Install data in the following folder"},
    {kDataFolder, kEditFieldKind, kAnchorTopRight, 8, 160, 416, 17, ""},
    {kDataFolderSearch, kButtonKind, kAnchorTopLeft, 432, 157, 60, 22, "Search"},
    {kStartMenuShortcuts, kCheckBoxKind, kAnchorTopLeft, 8, 184, 204, 15, "Allow start menu shortcuts"},
    {kDesktopShortcut, kCheckBoxKind, kAnchorTopLeft, 220, 184, 228, 15, "Allow desktop shortcut"},
    {kAllUsers, kCheckBoxKind, kAnchorTopLeft, 8, 204, 204, 15, "For all user on this machine"},
    {kAddToPath, kCheckBoxKind, kAnchorTopLeft, 220, 204, 228, 15, "Add program directory to PATH"},
    {kKeepData, kCheckBoxKind, kAnchorTopLeft, 8, 224, 204, 15, "Do not remove/overwrite data"},
    {kAssociationLabel, kLabelKind, kAnchorTopLeft, 8, 252, 144, 17, "Create File Associations"},
    {kFirstAssociation, kCheckBoxKind, kAnchorTopLeft, 8, 272, 60, 15, ""},
    {kFirstAssociation + 1, kCheckBoxKind, kAnchorTopLeft, 72, 272, 60, 15, ""},
    {kFirstAssociation + 2, kCheckBoxKind, kAnchorTopLeft, 136, 272, 60, 15, ""},
    {kFirstAssociation + 3, kCheckBoxKind, kAnchorTopLeft, 200, 272, 60, 15, ""},
    {kLogView, kTextViewKind, kAnchorFill, 8, 296, 484, 104, ""},
    {kUninstall, kButtonKind, kAnchorTopLeft, 180, 408, 88, 24, "Uninstall"},
    {kInstall, kButtonKind, kAnchorTopLeft, 292, 408, 88, 24, "Install"},
    {kClose, kButtonKind, kAnchorTopLeft, 404, 408, 88, 24, "Close"},
};

static_assert(kSetupLayout[kSetupLogViewEntry].id == kLogView, "kSetupLogViewEntry names the log view's row");

const MenuItem kSetupLogMenu[5] = {
    {kMenuItem, "Select all\tCtrl+A", TextView::kSelectAllCommand, 0, 0, "selectallbmp"},
    {kMenuItem, "Deselect all", TextView::kDeselectCommand, 0, 0, "unselectall"},
    {kMenuItem, "Copy selected text", TextView::kCopyCommand, 0, 0, "copybmp"},
    {kMenuItem, "Erase Log", TextView::kClearCommand, 0, 0, "deletebmp"},
    {kMenuEnd, nullptr, 0, 0, 0, nullptr},
};

namespace {

// The entries from `first` to `last` (ids) go; every entry after them moves
// up by `rise` and so does the window's bottom.
void RemoveRow(std::vector<LayoutEntry>& table, std::uint16_t first, std::uint16_t last, int rise) {
  auto begin = std::find_if(table.begin(), table.end(), [&](const LayoutEntry& e) { return e.id == first; });
  auto end = std::find_if(begin, table.end(), [&](const LayoutEntry& e) { return e.id == last; });
  if (begin == table.end() || end == table.end()) return;
  for (auto entry = end + 1; entry != table.end(); ++entry) entry->y = static_cast<std::int16_t>(entry->y - rise);
  table.erase(begin, end + 1);
  table[0].height = static_cast<std::int16_t>(table[0].height - rise);
}

}  // namespace

std::vector<LayoutEntry> SetupLayoutFor(int associations, bool data_folder_row) {
  std::vector<LayoutEntry> table(std::begin(kSetupLayout), std::end(kSetupLayout));
  if (associations <= 0) {
    RemoveRow(table, kAssociationLabel, kFirstAssociation + 3, 44);
  } else if (associations < 4) {
    RemoveRow(table, static_cast<std::uint16_t>(kFirstAssociation + associations), kFirstAssociation + 3, 0);
  }
  if (!data_folder_row) {
    // The folder row's 44 pixels from the option rows, the option row it
    // leaves empty as well from everything after them.
    RemoveRow(table, kDataFolderLabel, kDataFolderSearch, 44);
    RemoveRow(table, kKeepData, kKeepData, 24);
  }
  return table;
}
