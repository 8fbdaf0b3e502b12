#include "ui/widgets/tree_view.h"

#include <algorithm>
#include <cstring>

#include "graphics/canvas.h"
#include "graphics/colours.h"
#include "graphics/graphics_resources.h"
#include "graphics/image_drawing.h"
#include "graphics/skin_pictures.h"
#include "ui/core/key_codes.h"
#include "ui/core/keyboard_state.h"
#include "ui/widgets/popup_menu.h"
#include "ui/widgets/widget_state.h"

namespace {

constexpr int kRow = TreeModel::kRowHeight;
constexpr int kIndent = TreeModel::kIndent;
// The node picture's cell.
constexpr int kPictureCellHeight = 16;
// Room after the text, so the widest row does not end at the view's edge.
constexpr int kTextGap = 4;

// The expanders by node state, each continuing and ending, then the
// connector line and its blank; on white like the rows.
const SkinPictures& Pictures() {
  static const SkinPictures pictures(
      SkinPictures::Ground::kWhite, {"minussign1", "minussign2", "plussign1", "plussign2", "unkownsign1", "unkownsign2",
                                     "emptysign1", "emptysign2", "vertlinebmp", "nothingbmp"});
  return pictures;
}
constexpr std::size_t kLinePicture = 8;
constexpr std::size_t kNoLinePicture = 9;

}  // namespace

TreeView::TreeView(const LayoutEntry& entry, Container* parent)
    : ScrollView(entry, parent), model_(&Graphics().NormalFont().Metrics()) {
  focusable_ = true;
  role_ = AccessibleRole::kOutline;
}

void TreeView::Describe(int, AccessibleItem& item) const { item.action = AccessibleAction::kExpand; }

TreeView::~TreeView() = default;

void TreeView::SetContextMenu(const MenuItem* table) { menu_ = std::make_unique<PopupMenu>(table, *this); }

bool TreeView::IsFocused() const { return FocusedWidget() == this; }

// --- Building ---------------------------------------------------------------------

void TreeView::Clear() {
  model_.Clear();
  // The content width shrinks only here; expanding only widens it.
  SetContentSize(0, 0);
  ScrollTo(0, 0);
  InvalidateSelf();
}

int TreeView::Append(int level, std::uint8_t image, NodeState state, std::unique_ptr<TreeItem> item) {
  int node = model_.Append(level, image, state, std::move(item));
  RowsChanged(node);
  return node;
}

void TreeView::AddChildren(int node, std::vector<TreeModel::NewChild> children) {
  model_.AddChildren(node, std::move(children));
  RowsChanged(node);
}

void TreeView::RemoveSubtree(int node) {
  int selected = model_.Selected();
  model_.RemoveSubtree(node);
  RowsChanged(node - 1);
  // The selection keeps its number, which now names another node.
  if (selected >= node) {
    RepaintNode(model_.Selected());
    if (parent_ != nullptr) parent_->Notify(kSelectionChanged, id_);
  }
}

void TreeView::RowsChanged(int node) {
  int width = std::max(ContentWidth(), model_.WidestShownRow() + kTextGap);
  SetContentSize(width, model_.ShownCount() * kRow);
  // The rows from the node down show other nodes now.
  Rect area = ViewArea();
  int row = node >= 1 ? model_.RowOf(node) : 0;
  int top = area.top + std::max(row, 0) * kRow - ScrollY();
  Rect below = Intersect(Rect{area.left, top, area.right, area.bottom}, area);
  if (!below.IsEmpty()) Invalidate(below);
}

// --- Selection and expansion -----------------------------------------------------------

void TreeView::RepaintNode(int node) {
  int row = node != 0 ? model_.RowOf(node) : -1;
  if (row < 0) return;
  Rect area = ViewArea();
  int top = area.top + row * kRow - ScrollY();
  Invalidate(Intersect(Rect{area.left, top, area.right, top + kRow}, area));
}

void TreeView::SelectNode(int node) {
  int old = model_.Selected();
  if (!model_.Select(node)) return;
  RepaintNode(old);
  RepaintNode(node);
  int row = model_.RowOf(node);
  if (row >= 0) ScrollTo(ScrollX(), TreeModel::ScrollToShowRow(row, ScrollY(), ViewArea().Height()));
  if (parent_ != nullptr) parent_->Notify(kSelectionChanged, id_);
  RaiseAccessibleEvent(AccessibleEvent::kValueChange);
}

void TreeView::Toggle(int node) {
  if (node == 0) return;
  switch (model_.Node(node).state) {
    case NodeState::kExpanded: Collapse(node); break;
    case NodeState::kCollapsed: Expand(node); break;
    case NodeState::kUnread: ReadChildren(node); break;
    case NodeState::kLeaf: break;
  }
}

void TreeView::Expand(int node) {
  model_.Expand(node);
  RowsChanged(node);
}

void TreeView::Collapse(int node) {
  model_.Collapse(node);
  RowsChanged(node);
  // A selection inside the collapsed part moves up to the node.
  int selected = model_.Selected();
  if (selected != 0 && !model_.Node(selected).Shown()) SelectNode(node);
}

void TreeView::ReadChildren(int node) { AddChildren(node, {}); }

// --- Input -----------------------------------------------------------------------------

void TreeView::KeyCommand(unsigned key) {
  KeyboardFlags flags = Keyboard();
  if (key == key::kF10 && flags.shift) {
    // From the keyboard the menu opens below the selected node's row.
    Rect area = ViewArea();
    int row = model_.Selected() != 0 ? model_.RowOf(model_.Selected()) : -1;
    Point at = row < 0 ? Point{x_, y_}
                       : KeptInside(area, Point{area.left + kTextGap, area.top + (row + 1) * kRow - ScrollY()});
    if (menu_ != nullptr) menu_->Open(at.x, at.y);
    return;
  }
  int char_width = Graphics().NormalFont().Metrics().average_width;
  TreeAction action = model_.KeyAction(key, flags, ViewArea().Height(), char_width);
  switch (action.kind) {
    case TreeAction::Kind::kPassOn: Widget::KeyCommand(key); break;
    case TreeAction::Kind::kSelect: SelectNode(action.node); break;
    case TreeAction::Kind::kToggle: Toggle(action.node); break;
    case TreeAction::Kind::kScroll: ScrollTo(ScrollX() + action.dx, ScrollY() + action.dy); break;
    case TreeAction::Kind::kNothing: break;
  }
}

void TreeView::LeftDown(int x, int y) {
  Rect area = ViewArea();
  int node = model_.NodeAtY(y - area.top + ScrollY());
  if (node == 0) return;
  SelectNode(node);
  if (model_.OnExpander(node, x - area.left + ScrollX())) Toggle(node);
}

void TreeView::RightUp(int x, int y) {
  if (menu_ != nullptr) menu_->Open(x, y);
}

// --- Painting ---------------------------------------------------------------------------

void TreeView::PaintContent(Canvas& canvas, const Rect& area) {
  canvas.SelectFont(Graphics().NormalFont());
  const Rect& clip = canvas.Clip();
  int x = area.left - ScrollX();
  int first_row = std::max(0, (clip.top - area.top + ScrollY()) / kRow);
  int y = area.top + first_row * kRow - ScrollY();
  for (int node = model_.NodeAtRow(first_row); node != 0 && y < clip.bottom; node = model_.NextShown(node)) {
    PaintRow(canvas, node, x, y);
    y += kRow;
  }
  canvas.SetBackColour(WhiteColour);
  canvas.FillRect(area.left, std::max(y, area.top), area.right, area.bottom);
}

void TreeView::PaintRow(Canvas& canvas, int node, int x, int y) {
  const SkinPictures& pictures = Pictures();
  const TreeNode& row = model_.Node(node);
  int depth = row.Depth();
  std::uint32_t mask = model_.LineMask(node);
  auto bit = [mask](int n) { return n < 32 && (mask >> n & 1u) != 0; };
  canvas.SetBackColour(WhiteColour);
  for (int column = 0; column < depth - 1; ++column) {
    DrawImage(canvas, x + column * kIndent, y, pictures[bit(column) ? kLinePicture : kNoLinePicture]);
  }
  std::size_t state = static_cast<std::size_t>(row.state);
  DrawImage(canvas, x + (depth - 1) * kIndent, y, pictures[2 * state + (bit(depth - 1) ? 0 : 1)]);

  int picture_left = x + depth * kIndent;
  int text_left = picture_left + TreeModel::kPictureWidth;
  const Image* picture = images_.At(row.image);
  if (picture != nullptr) {
    DrawImageCentred(canvas, picture_left, y, TreeModel::kPictureWidth, kPictureCellHeight, *picture);
    canvas.FillRect(picture_left, y + kPictureCellHeight, text_left, y + kRow);
  } else {
    canvas.FillRect(picture_left, y, text_left, y + kRow);
  }

  const char* text = model_.Text(node);
  std::size_t length = std::strlen(text);
  int text_right = text_left + TextWidth(Graphics().NormalFont(), text, length) + kTextGap;
  bool selected = node == model_.Selected();
  if (selected)
    canvas.SetColours(IsFocused() ? WhiteColour : BlackColour, IsFocused() ? SelectionColour : HotColour);
  else
    canvas.SetColours(BlackColour, WhiteColour);
  canvas.TextOutCentredV(kTextGap / 2, Rect{text_left, y, text_right, y + kRow}, text, length);
  canvas.SetBackColour(WhiteColour);
  canvas.FillRect(text_right, y, canvas.Clip().right, y + kRow);
}
