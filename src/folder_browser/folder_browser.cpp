#include "folder_browser/folder_browser.h"

#include <iterator>
#include <vector>

#include "folder_browser/folder_names.h"
#include "fs/file_operations.h"
#include "graphics/skin_pictures.h"
#include "layouts/dialog_layouts.h"
#include "log/logger.h"
#include "text/format.h"
#include "text/path.h"
#include "ui/core/key_codes.h"
#include "ui/widgets/menu_items.h"
#include "ui/widgets/picture.h"
#include "ui/widgets/tool_bar.h"

using namespace folder_browser_id;

namespace {

constexpr unsigned kF5 = key::kF1 + 4;

// The node pictures by FolderTree::Image.
SkinPictures TreeImages() {
  return SkinPictures(SkinPictures::Ground::kWhite,
                      {nullptr, "save4", "harddiskbmp", "netdiskbmp", "laserdiskbmp", "ramdiskbmp", "folderbmp"});
}

}  // namespace

FolderBrowser::FolderBrowser() : window_(*this), input_(*this), question_(*this) {}

std::unique_ptr<Widget> FolderBrowser::DialogWidget(const LayoutEntry& entry, Container& root) {
  if (entry.id != kTree) return nullptr;
  auto tree = std::make_unique<FolderTree>(entry, &root);
  tree->SetImages(TreeImages());
  tree->SetContextMenu(kFolderTreeMenu);
  return tree;
}

FolderTree* FolderBrowser::Tree() const {
  Container* root = window_.Root();
  return root != nullptr ? static_cast<FolderTree*>(root->FindById(kTree)) : nullptr;
}

Text FolderBrowser::SelectedPath() const {
  FolderTree* tree = Tree();
  return tree != nullptr ? tree->SelectedPath() : Text();
}

void FolderBrowser::Open(Widget& owner, std::uint16_t field, const char* start) {
  owner_ = &owner;
  field_ = field;
  window_.Open(kFolderBrowserLayout, static_cast<int>(std::size(kFolderBrowserLayout)), "Choose a directory");
  FolderTree* tree = Tree();
  tree->SelectPath(start);
  tree->RequestFocus();
  window_.Frame()->RememberFocus(tree);
}

void FolderBrowser::DialogCommand(unsigned code, std::uint16_t id) {
  if (id == TextInputDialog::kId && code == TextInputDialog::kConfirmed) {
    Asking asked = asking_;
    asking_ = Asking::kNothing;
    if (asked == Asking::kNewFolder) MakeFolder(input_.Answer());
    if (asked == Asking::kNewName) RenameFolder(input_.Answer());
    return;
  }
  if (id == QuestionDialog::kId) {
    if (code == QuestionDialog::kYes) DeleteFolder();
    return;
  }
  switch (code) {
    case kOk:
    case key::kEnter: Choose(); break;
    case kCancel:
    case key::kEscape:
    case command::kClose: window_.Hide(); break;
    case kRefresh:
    case kF5:
      if (Tree() != nullptr) Tree()->SelectPath(SelectedPath().c_str());
      break;
    case kMakeFolder:
    case key::kInsert: AskNewFolder(); break;
    case kDeleteFolder:
    case key::kDelete: AskDelete(); break;
    case kRename: AskNewName(); break;
    default: break;
  }
}

void FolderBrowser::Choose() {
  bool chosen = Tree() != nullptr && Tree()->Model().Selected() != 0;
  window_.Hide();
  if (chosen && owner_ != nullptr) owner_->Notify(kId, field_);
}

void FolderBrowser::AskNewFolder() {
  if (SelectedPath().empty()) return;
  asking_ = Asking::kNewFolder;
  input_.Ask("Make directory", "");
}

void FolderBrowser::AskDelete() {
  if (SelectedPath().empty() || Tree()->SelectedIsDrive()) return;
  Text question;
  FormatOne(question, "Are you shure to delete the directory\r\n%s", SelectedPath().c_str());
  question_.Ask(question.c_str());
}

void FolderBrowser::AskNewName() {
  if (SelectedPath().empty() || Tree()->SelectedIsDrive()) return;
  asking_ = Asking::kNewName;
  input_.Ask("Rename a file or folder", Tree()->Model().Text(Tree()->Model().Selected()));
}

void FolderBrowser::MakeFolder(const char* name) {
  if (name[0] == '\0' || Tree() == nullptr) return;
  Text path;
  if (MakeFolderIn(SelectedPath().c_str(), name, path)) Tree()->SelectPath(path.c_str());
}

void FolderBrowser::DeleteFolder() {
  FolderTree* tree = Tree();
  if (tree == nullptr || tree->SelectedIsDrive()) return;
  if (DeleteFolderTree(tree->SelectedPath().c_str(), true)) tree->RemoveSubtree(tree->Model().Selected());
}

void FolderBrowser::RenameFolder(const char* name) {
  FolderTree* tree = Tree();
  if (tree == nullptr || tree->SelectedIsDrive()) return;
  const char* old_name = tree->Model().Text(tree->Model().Selected());
  if (!IsPlainFolderName(name)) {
    LogLineWith("File NOT renamed: %s", tree->SelectedPath().c_str());
    return;
  }
  if (RenameInFolder(tree->ParentPathOfSelected().c_str(), old_name, name)) tree->RenameSelected(name);
}
