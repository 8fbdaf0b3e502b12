// What a tree view does, apart from drawing it: the nodes in display order
// (each node's descendants follow it directly), which of them are shown,
// expanding and collapsing, the selected node, what a key or a click asks
// for, the connector lines, and the row geometry. The TreeView widget paints
// from this state; everything here runs and is tested without a window.
//
// A node's level is its depth (1 for a top node); a negative level marks a
// node hidden inside a collapsed ancestor. Every shown node takes one row of
// kRowHeight pixels; each level indents by kIndent pixels. Nodes are
// numbered from 1; 0 means none.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "graphics/font_metrics.h"
#include "ui/core/key_translation.h"

// The owner's object behind a node: it gives the node's text and is
// destroyed with the node.
class TreeItem {
 public:
  virtual ~TreeItem() = default;
  virtual const char* Text() const = 0;
};

enum class NodeState : std::uint8_t {
  kExpanded = 0,   // its children follow it and are shown
  kCollapsed = 1,  // its children follow it, hidden
  kUnread = 2,     // its children have not been read yet
  kLeaf = 3,       // it has no children
};

struct TreeNode {
  int level;
  std::uint8_t image;  // index into the tree's image list
  NodeState state;
  std::unique_ptr<TreeItem> item;

  int Depth() const { return level < 0 ? -level : level; }
  bool Shown() const { return level > 0; }
};

// What a key asks the tree widget to do.
struct TreeAction {
  enum class Kind : std::uint8_t {
    kNothing,
    kPassOn,  // not a tree key
    kSelect,  // select `node` and keep it in view
    kToggle,  // expand or collapse `node`
    kScroll,  // scroll by (dx, dy)
  };
  Kind kind = Kind::kNothing;
  int node = 0;
  int dx = 0;
  int dy = 0;
};

class TreeModel {
 public:
  static constexpr int kRowHeight = 17;
  static constexpr int kIndent = 15;
  // The node picture's cell; the text starts right of it.
  static constexpr int kPictureWidth = 17;

  // `metrics` (optional) measures the texts for the content width; it must
  // outlive the model.
  explicit TreeModel(const FontMetrics* metrics = nullptr) : metrics_(metrics) {}

  int Count() const { return static_cast<int>(nodes_.size()); }
  const TreeNode& Node(int number) const { return nodes_[static_cast<std::size_t>(number - 1)]; }
  const char* Text(int number) const;

  // Drops every node and the selection.
  void Clear();
  // Adds a node at the end, `level` deep (at most one deeper than the last
  // node); it is hidden when an ancestor is not expanded. Returns its number.
  int Append(int level, std::uint8_t image, NodeState state, std::unique_ptr<TreeItem> item);
  // Gives `parent` the children read for it, after the children it has, and
  // expands it; without any, it has no children (kLeaf). Returns the rows
  // that came into view.
  struct NewChild {
    std::uint8_t image;
    NodeState state;
    std::unique_ptr<TreeItem> item;
  };
  int AddChildren(int parent, std::vector<NewChild> children);
  // Removes the node and its descendants. The selection keeps its number,
  // limited to what is left.
  void RemoveSubtree(int number);
  // The nearest earlier node one level up; 0 for a top node.
  int Parent(int number) const;
  // The last node of the node's subtree (the node itself when it has none).
  int SubtreeEnd(int number) const;

  // --- Expanding and collapsing; each returns the rows shown or hidden.
  // Descendants of collapsed nodes stay hidden when an ancestor expands.
  int Expand(int number);
  int Collapse(int number);

  // --- Rows -----------------------------------------------------------------
  int ShownCount() const;
  // The node's row among the shown ones, from 0; -1 when it is hidden.
  int RowOf(int number) const;
  int NodeAtRow(int row) const;
  // The shown node at a content y; 0 below the last row.
  int NodeAtY(int y) const { return y < 0 ? 0 : NodeAtRow(y / kRowHeight); }
  int NextShown(int number) const;
  int PreviousShown(int number) const;
  int LastShown() const;
  // True when content x lies in the node's expander column.
  bool OnExpander(int number, int x) const;
  // Bit n set: the connector of column n runs on through the node's row
  // (column depth - 1 is the node's own expander: set when a sibling follows).
  std::uint32_t LineMask(int number) const;
  // The widest shown row: indent, picture and text.
  int WidestShownRow() const;

  // --- Selection ---------------------------------------------------------------
  int Selected() const { return selected_; }
  // False when `number` was selected already.
  bool Select(int number);

  // What a key asks for, the view `view_height` pixels high; Shift with an
  // arrow scrolls by a row or by `char_width`.
  TreeAction KeyAction(unsigned key, KeyboardFlags flags, int view_height, int char_width) const;

  // The scroll offset that brings row `row` into a view of `view_height`
  // scrolled to `scroll_y`.
  static int ScrollToShowRow(int row, int scroll_y, int view_height);

 private:
  void Show(int number, bool shown);
  void MasksChanged() { masks_valid_ = false; }

  const FontMetrics* metrics_;
  std::vector<TreeNode> nodes_;
  int selected_ = 0;
  mutable std::vector<std::uint32_t> masks_;
  mutable bool masks_valid_ = false;
};
