#include "layouts/dialog_layouts.h"

#include "ui/widgets/picture.h"
#include "ui/widgets/tool_bar.h"

const ToolBarItem kFolderBrowserTools[5] = {
    {folder_browser_id::kRefresh, "Refresh data", "refresh", kToolPush},
    {folder_browser_id::kMakeFolder, "Make Directory", "makedirbmp", kToolPush},
    {folder_browser_id::kDeleteFolder, "Delete File or Directory", "deletebmp", kToolPush},
    {folder_browser_id::kRename, "Rename a file or directory", "rename", kToolPush},
    {0, nullptr, nullptr, kToolEnd},
};

const MenuItem kFolderTreeMenu[6] = {
    {kMenuItem, "Make Directory\tIns", folder_browser_id::kMakeFolder, 0, 0, "makedirbmp"},
    {kMenuItem, "Delete Directory\tDel", folder_browser_id::kDeleteFolder, 0, 0, "deletebmp"},
    {kMenuItem, "Rename a file or directory", folder_browser_id::kRename, 0, 0, "rename"},
    {kMenuSeparator, nullptr, 0, 0, 0, nullptr},
    {kMenuItem, "Refresh data\tF5", folder_browser_id::kRefresh, 0, 0, "refresh"},
    {kMenuEnd, nullptr, 0, 0, 0, nullptr},
};

const LayoutEntry kFolderBrowserLayout[7] = {
    {folder_browser_id::kWindow, kWindowKind, kAnchorFill, 10, 10, 296, 272, ""},
    {0, kTitleBarKind, kAnchorTopEdge, 0, 0, 296, 20, "Choose a directory"},
    {folder_browser_id::kToolBar, kToolBarKind, kAnchorTopLeft, 4, 24, 24, 208,
     ToolBar::TableText(kFolderBrowserTools)},
    {folder_browser_id::kTree, kTextViewKind, kAnchorFill, 32, 24, 260, 208, ""},
    {folder_browser_id::kOk, kButtonKind, kAnchorBottomLeft, 44, 240, 72, 24, "Ok"},
    {folder_browser_id::kCancel, kButtonKind, kAnchorBottomRight, 196, 240, 72, 24, "Cancel"},
    {0, kResizeGripKind, kAnchorBottomRight, 282, 258, 14, 14, ""},
};

std::array<LayoutEntry, 6> QuestionLayout(const char* question) {
  using namespace question_id;
  return {{
      {kWindow, kWindowKind, kAnchorTopLeft, 10, 10, 180, 100, ""},
      {0, kTitleBarKind, kAnchorTopEdge, 0, 0, 180, 20, "Please confirm"},
      {kQuestion, kLabelKind, kAnchorFill, 42, 20, 132, 40, question},
      {0, kPictureKind, kAnchorTopLeft, 5, 25, 16, 16, "askbmp"},
      {kYes, kButtonKind, kAnchorBottomLeft, 12, 68, 72, 24, "Yes"},
      {kNo, kButtonKind, kAnchorBottomRight, 96, 68, 72, 24, "No"},
  }};
}

std::array<LayoutEntry, 6> TextInputLayout(const char* caption) {
  using namespace text_input_id;
  return {{
      {kWindow, kWindowKind, kAnchorTopEdge, 10, 10, 220, 80, ""},
      {kCaption, kTitleBarKind, kAnchorTopEdge, 0, 0, 220, 20, caption},
      {kField, kEditFieldKind, kAnchorTopEdge, 4, 22, 212, 17, ""},
      {kOk, kButtonKind, kAnchorTopLeft, 20, 48, 72, 24, "OK"},
      {kCancel, kButtonKind, kAnchorBottomRight, 124, 48, 72, 24, "Cancel"},
      {0, kResizeGripKind, kAnchorBottomRight, 208, 68, 12, 12, ""},
  }};
}
