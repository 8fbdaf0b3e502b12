#include "folder_browser/folder_tree.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "folder_browser/path_part_match.h"
#include "fs/find_entries.h"
#include "text/path.h"

namespace {

// A node's text: a drive's root (C:\) or a folder's name.
class FolderItem final : public TreeItem {
 public:
  explicit FolderItem(const char* name) : name_(name) {}
  const char* Text() const override { return name_.c_str(); }
  void Rename(const char* name) { name_.Assign(name); }

 private:
  ::Text name_;
};

// ExpandNode's list starts with room for this many folders.
constexpr std::size_t kFirstListSize = 256;

Text Component(const char* start, std::size_t length) {
  Text component;
  std::size_t kept = std::min(length, Text::kMaxLength);
  std::memcpy(component.data(), start, kept);
  component.data()[kept] = '\0';
  return component;
}

}  // namespace

FolderTree::FolderTree(const LayoutEntry& entry, Container* parent) : TreeView(entry, parent) {}

void FolderTree::ListDrives() {
  Clear();
  char root[] = "A:\\";
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    root[0] = letter;
    UINT type = GetDriveTypeA(root);
    // DRIVE_UNKNOWN and DRIVE_NO_ROOT_DIR are no drives to show.
    if (type <= DRIVE_NO_ROOT_DIR) continue;
    Append(1, static_cast<std::uint8_t>(type - 1), NodeState::kUnread, std::make_unique<FolderItem>(root));
  }
}

void FolderTree::ExpandNode(int node, const char* path) {
  std::vector<TreeModel::NewChild> folders;
  folders.reserve(kFirstListSize);
  FindEntries entries;
  for (bool more = entries.FirstInFolder(path) == FindEntries::kEntry; more; more = entries.Next()) {
    if (!entries.IsFolder()) continue;
    folders.push_back({kFolderImage, NodeState::kUnread, std::make_unique<FolderItem>(entries.Name())});
  }
  AddChildren(node, std::move(folders));
}

void FolderTree::ReadChildren(int node) { ExpandNode(node, NodePath(node).c_str()); }

void FolderTree::SelectPath(const char* path) {
  ListDrives();
  int parent = 0;
  int selected = 0;
  for (const char* rest = path; *rest != '\0';) {
    const char* end = std::strchr(rest, '\\');
    bool last = end == nullptr;
    // A drive's text keeps its backslash (C:\), a folder's name has none.
    std::size_t length = last ? std::strlen(rest) : static_cast<std::size_t>(end - rest) + (parent == 0 ? 1 : 0);
    Text component = Component(rest, length);
    int node = FindPathPart(Model(), parent, component.c_str(), last);
    if (node == 0) break;
    selected = node;
    if (last) break;
    if (Model().Node(node).state == NodeState::kUnread) ExpandNode(node, NodePath(node).c_str());
    parent = node;
    rest = end + 1;
  }
  if (selected == 0 && Model().Count() > 0) selected = 1;
  if (selected != 0) SelectNode(selected);
  CentreSelected();
}

void FolderTree::CentreSelected() {
  int row = Model().Selected() != 0 ? Model().RowOf(Model().Selected()) : 0;
  ScrollTo(ScrollX(), row * TreeModel::kRowHeight - ViewArea().Height() / 2);
}

Text FolderTree::NodePath(int node) const {
  Text path;
  if (node == 0) return path;
  // The texts from the node up to its drive, then joined drive first.
  std::vector<const char*> texts;
  for (int at = node; at != 0; at = Model().Parent(at)) texts.push_back(Model().Text(at));
  for (auto text = texts.rbegin(); text != texts.rend(); ++text) PathJoin(path, path.c_str(), *text);
  return path;
}

Text FolderTree::ParentPathOfSelected() const {
  int selected = Model().Selected();
  return selected != 0 ? NodePath(Model().Parent(selected)) : Text();
}

bool FolderTree::SelectedIsDrive() const {
  int selected = Model().Selected();
  return selected != 0 && Model().Node(selected).Depth() == 1;
}

void FolderTree::RenameSelected(const char* name) {
  int selected = Model().Selected();
  if (selected == 0) return;
  static_cast<FolderItem*>(Model().Node(selected).item.get())->Rename(name);
  InvalidateSelf();
}

void FolderTree::RightDown(int, int y) {
  Rect area = ViewArea();
  int node = Model().NodeAtY(y - area.top + ScrollY());
  if (node != 0) SelectNode(node);
}
