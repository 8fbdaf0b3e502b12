#include "ui/widgets/behaviour/tree_model.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "ui/core/key_codes.h"

namespace {

// Page Up and Page Down move by the rows that fit below the first two.
constexpr int kPageReserve = 2 * TreeModel::kRowHeight;
// Connector columns beyond this depth have no bit in the line mask.
constexpr int kMaskBits = 32;

}  // namespace

const char* TreeModel::Text(int number) const {
  const TreeItem* item = Node(number).item.get();
  return item != nullptr ? item->Text() : "";
}

void TreeModel::Clear() {
  nodes_.clear();
  selected_ = 0;
  MasksChanged();
}

int TreeModel::Append(int level, std::uint8_t image, NodeState state, std::unique_ptr<TreeItem> item) {
  int deepest = nodes_.empty() ? 1 : nodes_.back().Depth() + 1;
  level = std::clamp(level, 1, deepest);
  nodes_.push_back(TreeNode{level, image, state, std::move(item)});
  int number = Count();
  int parent = Parent(number);
  bool shown = parent == 0 || (Node(parent).Shown() && Node(parent).state == NodeState::kExpanded);
  Show(number, shown);
  MasksChanged();
  return number;
}

int TreeModel::AddChildren(int parent, std::vector<NewChild> children) {
  int depth = Node(parent).Depth() + 1;
  std::vector<TreeNode> added;
  added.reserve(children.size());
  for (NewChild& child : children) added.push_back(TreeNode{-depth, child.image, child.state, std::move(child.item)});
  int at = SubtreeEnd(parent);
  nodes_.insert(nodes_.begin() + at, std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
  if (selected_ > at) selected_ += static_cast<int>(added.size());
  MasksChanged();
  return Expand(parent);
}

void TreeModel::RemoveSubtree(int number) {
  int end = SubtreeEnd(number);
  nodes_.erase(nodes_.begin() + (number - 1), nodes_.begin() + end);
  selected_ = std::min(selected_, Count());
  while (selected_ > 0 && !Node(selected_).Shown()) --selected_;
  MasksChanged();
}

int TreeModel::Parent(int number) const {
  int depth = Node(number).Depth();
  for (int i = number - 1; i >= 1; --i) {
    if (Node(i).Depth() < depth) return i;
  }
  return 0;
}

int TreeModel::SubtreeEnd(int number) const {
  int depth = Node(number).Depth();
  int end = number;
  while (end < Count() && Node(end + 1).Depth() > depth) ++end;
  return end;
}

void TreeModel::Show(int number, bool shown) {
  TreeNode& node = nodes_[static_cast<std::size_t>(number - 1)];
  node.level = shown ? node.Depth() : -node.Depth();
}

// --- Expanding and collapsing -----------------------------------------------------------

int TreeModel::Expand(int number) {
  int end = SubtreeEnd(number);
  TreeNode& node = nodes_[static_cast<std::size_t>(number - 1)];
  MasksChanged();
  if (end == number) {
    node.state = NodeState::kLeaf;
    return 0;
  }
  node.state = NodeState::kExpanded;
  if (!node.Shown()) return 0;
  int shown = 0;
  int hidden_below = INT_MAX;  // descendants deeper than this stay hidden
  for (int i = number + 1; i <= end; ++i) {
    const TreeNode& child = Node(i);
    if (child.Depth() > hidden_below) continue;
    hidden_below = INT_MAX;
    if (!child.Shown()) {
      Show(i, true);
      ++shown;
    }
    if (child.state != NodeState::kExpanded) hidden_below = child.Depth();
  }
  return shown;
}

int TreeModel::Collapse(int number) {
  int end = SubtreeEnd(number);
  MasksChanged();
  if (end == number) {
    nodes_[static_cast<std::size_t>(number - 1)].state = NodeState::kLeaf;
    return 0;
  }
  int hidden = 0;
  for (int i = number + 1; i <= end; ++i) {
    if (Node(i).Shown()) {
      Show(i, false);
      ++hidden;
    }
  }
  nodes_[static_cast<std::size_t>(number - 1)].state = NodeState::kCollapsed;
  return hidden;
}

// --- Rows -------------------------------------------------------------------------------

int TreeModel::ShownCount() const {
  return static_cast<int>(std::count_if(nodes_.begin(), nodes_.end(), [](const TreeNode& n) { return n.Shown(); }));
}

int TreeModel::RowOf(int number) const {
  if (number < 1 || number > Count() || !Node(number).Shown()) return -1;
  int row = 0;
  for (int i = 1; i < number; ++i) row += Node(i).Shown() ? 1 : 0;
  return row;
}

int TreeModel::NodeAtRow(int row) const {
  for (int i = 1; i <= Count(); ++i) {
    if (!Node(i).Shown()) continue;
    if (row-- == 0) return i;
  }
  return 0;
}

int TreeModel::NextShown(int number) const {
  for (int i = number + 1; i <= Count(); ++i) {
    if (Node(i).Shown()) return i;
  }
  return 0;
}

int TreeModel::PreviousShown(int number) const {
  for (int i = std::min(number, Count() + 1) - 1; i >= 1; --i) {
    if (Node(i).Shown()) return i;
  }
  return 0;
}

int TreeModel::LastShown() const { return PreviousShown(Count() + 1); }

bool TreeModel::OnExpander(int number, int x) const {
  int depth = Node(number).Depth();
  return x >= (depth - 1) * kIndent && x < depth * kIndent;
}

std::uint32_t TreeModel::LineMask(int number) const {
  if (!masks_valid_) {
    // Walking upward, seen[d] tells whether a shown node of depth d lies
    // below, with no shallower node between: then the connector of depth d
    // runs on through the rows up to here.
    masks_.assign(nodes_.size(), 0);
    std::vector<bool> seen;
    for (int i = Count(); i >= 1; --i) {
      const TreeNode& node = Node(i);
      if (!node.Shown()) continue;
      int depth = node.Depth();
      if (static_cast<int>(seen.size()) <= depth) seen.resize(static_cast<std::size_t>(depth) + 1, false);
      std::uint32_t mask = 0;
      for (int d = 1; d <= std::min(depth, kMaskBits); ++d) {
        if (seen[static_cast<std::size_t>(d)]) mask |= std::uint32_t{1} << (d - 1);
      }
      masks_[static_cast<std::size_t>(i - 1)] = mask;
      seen[static_cast<std::size_t>(depth)] = true;
      std::fill(seen.begin() + depth + 1, seen.end(), false);
    }
    masks_valid_ = true;
  }
  return masks_[static_cast<std::size_t>(number - 1)];
}

int TreeModel::WidestShownRow() const {
  int widest = 0;
  for (int i = 1; i <= Count(); ++i) {
    const TreeNode& node = Node(i);
    if (!node.Shown()) continue;
    const char* text = Text(i);
    int text_width = metrics_ != nullptr ? TextWidth(*metrics_, text, std::strlen(text)) : 0;
    widest = std::max(widest, node.Depth() * kIndent + kPictureWidth + text_width);
  }
  return widest;
}

// --- Selection and keys --------------------------------------------------------------------

bool TreeModel::Select(int number) {
  if (number == selected_) return false;
  selected_ = number;
  return true;
}

TreeAction TreeModel::KeyAction(unsigned key, KeyboardFlags flags, int view_height, int char_width) const {
  using Kind = TreeAction::Kind;
  auto select = [](int node) { return node != 0 ? TreeAction{Kind::kSelect, node} : TreeAction{}; };
  auto scroll = [](int dx, int dy) { return TreeAction{Kind::kScroll, 0, dx, dy}; };
  int first = NextShown(0);
  int next = selected_ != 0 ? NextShown(selected_) : first;
  int previous = selected_ != 0 ? PreviousShown(selected_) : first;
  NodeState state = selected_ != 0 ? Node(selected_).state : NodeState::kLeaf;
  switch (key) {
    case key::kDown: return flags.shift ? scroll(0, kRowHeight) : select(next);
    case key::kUp: return flags.shift ? scroll(0, -kRowHeight) : select(previous);
    case key::kRight:
      if (flags.shift) return scroll(char_width, 0);
      if (state == NodeState::kCollapsed || state == NodeState::kUnread) return TreeAction{Kind::kToggle, selected_};
      return select(next);
    case key::kLeft:
      if (flags.shift) return scroll(-char_width, 0);
      if (state == NodeState::kExpanded && selected_ != 0) return TreeAction{Kind::kToggle, selected_};
      return select(previous);
    case key::kSpace: return selected_ != 0 ? TreeAction{Kind::kToggle, selected_} : TreeAction{};
    case key::kPageDown:
    case key::kPageUp: {
      bool down = key == key::kPageDown;
      int target = selected_;
      if (target == 0) return select(first);
      // At least one row, then as many as fit below the reserved two.
      int y = kPageReserve;
      do {
        int step = down ? NextShown(target) : PreviousShown(target);
        if (step == 0) break;
        target = step;
        y += kRowHeight;
      } while (y <= view_height);
      return target != selected_ ? select(target) : TreeAction{};
    }
    case key::kEnd: return select(LastShown());
    case key::kHome: return select(first);
    default: return TreeAction{Kind::kPassOn};
  }
}

int TreeModel::ScrollToShowRow(int row, int scroll_y, int view_height) {
  int top = row * kRowHeight;
  if (top < scroll_y) return top;
  if (top + kRowHeight > scroll_y + view_height) return top + kRowHeight - view_height;
  return scroll_y;
}
