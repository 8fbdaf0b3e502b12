// FolderTree: the folder browser's tree of drives and folders. The drives
// are listed from A to Z; a folder's subfolders are read from the disk the
// first time it is expanded, in the order the file system gives them. A
// node's path is its text joined to its ancestors' (C:\, Programs and
// Tarnell give C:\Programs\Tarnell).
//
// SelectPath opens the tree at a path: the drive and every folder on the way
// are expanded and the deepest one that exists is selected, so a path that
// does not exist opens at its longest existing prefix. Folders on the way
// must match whole (ignoring case); the last component may be the start of a
// name (C:\Prog selects Programs).
#pragma once

#include <cstdint>

#include "text/fixed_text.h"
#include "ui/widgets/tree_view.h"

class FolderTree : public TreeView {
 public:
  // The node pictures: drives by GetDriveTypeA minus 1, then the folder.
  enum Image : std::uint8_t {
    kRemovableImage = 1,
    kFixedImage = 2,
    kNetworkImage = 3,
    kCdRomImage = 4,
    kRamDiskImage = 5,
    kFolderImage = 6,
  };

  FolderTree(const LayoutEntry& entry, Container* parent);

  // The tree holds the drives only, none selected.
  void ListDrives();
  // Reads the subfolders of `node`, whose folder is `path`: they follow it,
  // expanded; without any it is marked as having none.
  void ExpandNode(int node, const char* path);
  // Rebuilds the tree open at `path` and centres the selected row. With
  // nothing of the path found, the first drive is selected.
  void SelectPath(const char* path);

  Text NodePath(int node) const;
  // Empty while no node is selected.
  Text SelectedPath() const { return NodePath(Model().Selected()); }
  // The selected folder is the tree's value for readers.
  void Describe(int part, AccessibleItem& item) const override {
    TreeView::Describe(part, item);
    item.value = SelectedPath().c_str();
  }
  Text ParentPathOfSelected() const;
  bool SelectedIsDrive() const;
  void RenameSelected(const char* name);

  // A right click selects the row under the pointer before the menu opens.
  void RightDown(int x, int y) override;

 protected:
  void ReadChildren(int node) override;

 private:
  void CentreSelected();
};
