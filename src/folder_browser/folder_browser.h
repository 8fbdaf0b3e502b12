// FolderBrowser: the "Choose a directory" dialog that the setup window's
// "Search" buttons open. It shows the drives and folders as a tree opened at
// the folder a field holds, and lets the user pick a folder, make, delete
// and rename folders and re-read the tree, through its tool bar, the tree's
// context menu and the keys (Insert, Delete, F5; Enter is "Ok", Escape
// "Cancel"). "Ok" tells the window that opened it which field asked,
// Notify(kId, field); that window then takes SelectedPath().
//
// Drives are never deleted or renamed: those commands act on folders only.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "folder_browser/folder_tree.h"
#include "folder_browser/question_dialog.h"
#include "folder_browser/text_input_dialog.h"
#include "layouts/dialog_layouts.h"
#include "text/fixed_text.h"
#include "ui/widgets/dialog_window.h"

class FolderBrowser final : public DialogHandler {
 public:
  static constexpr std::uint16_t kId = folder_browser_id::kWindow;
  // Commands of the tool bar, the context menu and the keys.
  static constexpr unsigned kRefresh = folder_browser_id::kRefresh;
  static constexpr unsigned kDeleteFolder = folder_browser_id::kDeleteFolder;
  static constexpr unsigned kMakeFolder = folder_browser_id::kMakeFolder;
  static constexpr unsigned kRename = folder_browser_id::kRename;

  FolderBrowser();

  // Shows the dialog over the current top window with the tree open at
  // `start`; "Ok" will tell `owner` Notify(kId, field).
  void Open(Widget& owner, std::uint16_t field, const char* start);
  bool IsOpen() const { return window_.IsOpen(); }
  // The selected folder, also after the dialog closed; empty without one.
  Text SelectedPath() const;
  // Null before the first Open.
  FolderTree* Tree() const;

  void DialogCommand(unsigned code, std::uint16_t id) override;
  std::unique_ptr<Widget> DialogWidget(const LayoutEntry& entry, Container& root) override;

 private:
  enum class Asking : std::uint8_t { kNothing, kNewFolder, kNewName };

  void Choose();
  void AskNewFolder();
  void AskDelete();
  void AskNewName();
  void MakeFolder(const char* name);
  void DeleteFolder();
  void RenameFolder(const char* name);

  Widget* owner_ = nullptr;
  std::uint16_t field_ = 0;
  Asking asking_ = Asking::kNothing;
  DialogWindow window_;
  TextInputDialog input_;
  QuestionDialog question_;
};
