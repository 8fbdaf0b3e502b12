// The layout tables of the folder browser and of the two small dialogs it
// asks through, with their ids and commands. The question box is fitted to
// its question when shown; setup-layout builds the same tables to tell
// scripts where each widget of a shown dialog lies.
#pragma once

#include <array>
#include <cstdint>

#include "ui/widgets/layout_entry.h"
#include "ui/widgets/menu_items.h"
#include "ui/widgets/tool_bar_items.h"

namespace folder_browser_id {
inline constexpr std::uint16_t kWindow = 1805;
inline constexpr std::uint16_t kToolBar = 2140;
inline constexpr std::uint16_t kTree = 2035;
inline constexpr std::uint16_t kOk = 1720;
inline constexpr std::uint16_t kCancel = 1715;
// Commands of the tool bar, the context menu and the keys.
inline constexpr std::uint16_t kRefresh = 1815;
inline constexpr std::uint16_t kDeleteFolder = 1825;
inline constexpr std::uint16_t kMakeFolder = 1830;
inline constexpr std::uint16_t kRename = 1840;
}  // namespace folder_browser_id

namespace question_id {
inline constexpr std::uint16_t kWindow = 915;
inline constexpr std::uint16_t kQuestion = 1115;
inline constexpr std::uint16_t kYes = 1725;
inline constexpr std::uint16_t kNo = 1730;
}  // namespace question_id

namespace text_input_id {
inline constexpr std::uint16_t kWindow = 910;
inline constexpr std::uint16_t kCaption = 1105;
inline constexpr std::uint16_t kField = 1110;
inline constexpr std::uint16_t kOk = 1720;
inline constexpr std::uint16_t kCancel = 1715;
}  // namespace text_input_id

extern const ToolBarItem kFolderBrowserTools[5];
extern const MenuItem kFolderTreeMenu[6];
extern const LayoutEntry kFolderBrowserLayout[7];

// The entry of the question's label.
inline constexpr int kQuestionEntry = 2;

std::array<LayoutEntry, 6> QuestionLayout(const char* question);
std::array<LayoutEntry, 6> TextInputLayout(const char* caption);
