// TreeView: the toolkit's outline. Nodes in rows of 17 pixels, indented
// 15 pixels a level, each with its connector lines, its expander (minus,
// plus, unknown or empty, from the skin), its picture from the owner's
// image list and its text. The node logic is TreeModel's; this widget
// paints it, turns keys and clicks into selection, expansion and
// scrolling, and tells its parent of every change of selection with
// Notify(kSelectionChanged, id).
//
// An owner that reads children lazily (the folder browser) overrides
// ReadChildren, which is asked the first time a node of unknown children
// is expanded.
#pragma once

#include <memory>
#include <vector>

#include "graphics/skin_pictures.h"
#include "ui/widgets/behaviour/tree_model.h"
#include "ui/widgets/menu_items.h"
#include "ui/widgets/scroll_view.h"

class Image;
class PopupMenu;

class TreeView : public ScrollView {
 public:
  static constexpr unsigned kSelectionChanged = 845;

  TreeView(const LayoutEntry& entry, Container* parent);
  ~TreeView() override;

  const TreeModel& Model() const { return model_; }
  // The pictures of the nodes, indexed by a node's image number.
  void SetImages(SkinPictures images) { images_ = std::move(images); }
  void SetContextMenu(const MenuItem* table);

  // Building the tree (see TreeModel); each keeps the view in step.
  void Clear();
  int Append(int level, std::uint8_t image, NodeState state, std::unique_ptr<TreeItem> item);
  void AddChildren(int node, std::vector<TreeModel::NewChild> children);
  void RemoveSubtree(int node);

  // Selects `node`, repaints the old and the new row, keeps it in view and
  // tells the parent; nothing when it is selected already.
  void SelectNode(int node);
  // Collapses an expanded node, expands a collapsed one, reads the children
  // of one never read.
  void Toggle(int node);
  void Expand(int node);
  void Collapse(int node);

  void KeyCommand(unsigned key) override;
  // Readers hear of every new selection; the default action opens or
  // closes the selected node, as a click on its expander does.
  void Describe(int part, AccessibleItem& item) const override;
  void DoDefaultAction(int) override { Toggle(model_.Selected()); }
  void LeftDown(int x, int y) override;
  void RightUp(int x, int y) override;
  void GainFocus() override { RepaintNode(model_.Selected()); }
  void LoseFocus() override { RepaintNode(model_.Selected()); }

 protected:
  // Gives a node of unknown children its children (AddChildren). Without
  // an owner to read them the node has none.
  virtual void ReadChildren(int node);
  void PaintContent(Canvas& canvas, const Rect& area) override;
  int LineStep() const override { return TreeModel::kRowHeight; }

 private:
  // Content size after the shown rows changed from `node` down (0: all);
  // repaints those rows.
  void RowsChanged(int node);
  void RepaintNode(int node);
  void PaintRow(Canvas& canvas, int node, int x, int y);
  bool IsFocused() const;

  TreeModel model_;
  SkinPictures images_{SkinPictures::Ground::kWhite, {}};
  std::unique_ptr<PopupMenu> menu_;
};
