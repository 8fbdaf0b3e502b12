// The setup window's layout table and its adjustment to the package: the
// association row keeps one check box per association, and without any it
// goes, 44 pixels; the data-folder row and "Do not remove/overwrite data"
// go when neither the package nor the installation has a data folder, 68
// pixels. What lies below a removed row moves up and the window gets lower
// by as much.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/widgets/layout_entry.h"
#include "ui/widgets/menu_items.h"

namespace setup_id {
inline constexpr std::uint16_t kWindow = 5400;
inline constexpr std::uint16_t kLogView = 5405;
inline constexpr std::uint16_t kProgramFolder = 5410;
inline constexpr std::uint16_t kDesktopShortcut = 5415;
inline constexpr std::uint16_t kStartMenuShortcuts = 5420;
inline constexpr std::uint16_t kAllUsers = 5425;
inline constexpr std::uint16_t kFirstAssociation = 5430;  // to 5433
inline constexpr std::uint16_t kAssociationLabel = 5435;
inline constexpr std::uint16_t kAddToPath = 5440;
inline constexpr std::uint16_t kDataFolder = 5445;
inline constexpr std::uint16_t kDataFolderLabel = 5450;
inline constexpr std::uint16_t kKeepData = 5455;
inline constexpr std::uint16_t kInstall = 5505;
inline constexpr std::uint16_t kProgramFolderSearch = 5510;
inline constexpr std::uint16_t kUninstall = 5515;
inline constexpr std::uint16_t kDataFolderSearch = 5520;
inline constexpr std::uint16_t kClose = 1710;
}  // namespace setup_id

// The 23 entries as the window is drawn for a package with a data folder
// and four associations.
extern const LayoutEntry kSetupLayout[23];

// The log view's entry in kSetupLayout (checked where the table is made).
inline constexpr int kSetupLogViewEntry = 19;

// The log view's context menu.
extern const MenuItem kSetupLogMenu[5];

// The table for a package of `associations` associations (0 to 4), with or
// without the data-folder row.
std::vector<LayoutEntry> SetupLayoutFor(int associations, bool data_folder_row);
