#include "ui/widgets/text_view.h"

#include <algorithm>

#include "graphics/canvas.h"
#include "graphics/colours.h"
#include "graphics/graphics_resources.h"
#include "ui/core/key_codes.h"
#include "ui/core/keyboard_state.h"
#include "ui/core/widget_host.h"
#include "ui/widgets/clipboard.h"
#include "ui/widgets/popup_menu.h"
#include "ui/widgets/text_caret.h"
#include "ui/widgets/widget_state.h"

namespace {

constexpr int kMargin = LineStore::kMargin;
// The selection while the view does not have the focus: still visible,
// but quieter than the focused one.
constexpr GdiColour kInactiveSelection = Grey(200);

}  // namespace

TextView::TextView(const LayoutEntry& entry, Container* parent)
    : ScrollView(entry, parent), model_(Graphics().NormalFont().Metrics()) {
  focusable_ = true;
  role_ = AccessibleRole::kList;
  Update(false);
}

TextView::~TextView() { HideTextCaret(*this); }

void TextView::SetContextMenu(const MenuItem* table) { menu_ = std::make_unique<PopupMenu>(table, *this); }

bool TextView::IsFocused() const { return FocusedWidget() == this; }

Rect TextView::TextArea() const {
  Rect area = ViewArea();
  return Rect{area.left + kMargin, area.top + kMargin, area.right - kMargin, area.bottom - kMargin};
}

Point TextView::TextOrigin() const {
  Rect text = TextArea();
  return Point{text.left - ScrollX(), text.top - ScrollY()};
}

int TextView::LineStep() const { return model_.Lines().LineHeight(); }

// --- Changes -------------------------------------------------------------------

void TextView::AppendLine(std::string_view text) {
  model_.AppendLine(text);
  Update(true);
}

void TextView::Trim(int limit) {
  int before = model_.Lines().Count();
  model_.Trim(limit);
  Update(false);
  // Every line moved up: all rows show other lines now.
  if (model_.Lines().Count() != before) InvalidateSelf();
}

void TextView::Clear() {
  model_.Clear();
  Update(false);
  ScrollTo(0, 0);
  InvalidateSelf();
}

void TextView::SelectAll() {
  model_.SelectAll();
  Update(true);
}

void TextView::Deselect() {
  model_.Deselect();
  Update(false);
}

void TextView::CopySelection() {
  std::string text = model_.CopyText();
  if (!text.empty()) CopyTextToClipboard(*this, text);
}

void TextView::Update(bool scroll_to_caret) {
  LineStore::Update update = model_.Lines().TakeUpdate();
  if (update.size_changed) SetContentSize(model_.Lines().ContentWidth(), model_.Lines().ContentHeight());
  Rect area = ViewArea();
  model_.SetViewSize(area.Width(), area.Height());
  // Scrolling first moves the rows that stay; the changed lines are then
  // marked where they lie after the scroll.
  if (scroll_to_caret) {
    ScrollOffset target = model_.ScrollToCaret(ScrollOffset{ScrollX(), ScrollY()});
    ScrollTo(target.x, target.y);
  }
  RepaintLines(update.lines);
  RepaintLines(model_.TakeRepaint());
  PlaceCaret();
}

void TextView::RepaintLines(const LineRange& lines) {
  if (lines.Empty()) return;
  Rect text = TextArea();
  int line_height = model_.Lines().LineHeight();
  int top = TextOrigin().y + (lines.first - 1) * line_height;
  int bottom = TextOrigin().y + lines.last * line_height;
  Rect band = Intersect(Rect{text.left, top, text.right, bottom}, text);
  if (!band.IsEmpty()) Invalidate(band);
}

void TextView::ScrollChanged() {
  Rect caret;
  if (TextCaretShows(*this, caret)) {
    int dx = shown_scroll_.x - ScrollX();
    int dy = shown_scroll_.y - ScrollY();
    Invalidate(Rect{caret.left + dx, caret.top + dy, caret.right + dx, caret.bottom + dy});
  }
  shown_scroll_ = ScrollOffset{ScrollX(), ScrollY()};
  PlaceCaret();
}

void TextView::PlaceCaret() {
  if (!IsFocused()) return;
  TextPosition caret = model_.Caret();
  Point origin = TextOrigin();
  int x = origin.x + model_.ColumnX(caret.line, caret.column);
  int y = origin.y + (caret.line - 1) * model_.Lines().LineHeight();
  // Within the view, not the text area: at the end of the widest line the
  // caret stands just right of the text.
  ShowTextCaret(*this, Intersect(Rect{x, y, x + 1, y + model_.Lines().LineHeight()}, ViewArea()));
}

// --- Input -----------------------------------------------------------------------

void TextView::KeyCommand(unsigned key) {
  KeyboardFlags flags = Keyboard();
  if (key == key::kF10 && flags.shift) {
    // From the keyboard the menu opens below the caret, where the user is.
    TextPosition caret = model_.Caret();
    Point origin = TextOrigin();
    Point below{origin.x + model_.ColumnX(caret.line, caret.column),
                origin.y + caret.line * model_.Lines().LineHeight()};
    Point at = KeptInside(TextArea(), below);
    OpenContextMenu(at.x, at.y);
    return;
  }
  switch (model_.Key(key, flags)) {
    case TextViewModel::Result::kPassOn: Widget::KeyCommand(key); return;
    case TextViewModel::Result::kCopy: CopySelection(); break;
    case TextViewModel::Result::kHandled: break;
  }
  Update(true);
}

void TextView::LeftDown(int x, int y) {
  Point origin = TextOrigin();
  model_.PointerDown(x - origin.x, y - origin.y, Keyboard().shift);
  Update(true);
}

void TextView::MouseMove(int x, int y) {
  WidgetHost* host = Host();
  if (host == nullptr || host->PressedWidget() != this) {
    Widget::MouseMove(x, y);
    return;
  }
  host->SetCursor(CursorShape::kTextBeam);
  Point origin = TextOrigin();
  model_.PointerDrag(x - origin.x, y - origin.y);
  Update(true);
}

void TextView::LeftDoubleClick(int x, int y) {
  Point origin = TextOrigin();
  model_.DoubleClick(x - origin.x, y - origin.y);
  Update(true);
}

void TextView::RightUp(int x, int y) { OpenContextMenu(x, y); }

void TextView::OpenContextMenu(int x, int y) {
  if (menu_ != nullptr) menu_->Open(x, y);
}

void TextView::Notify(unsigned code, std::uint16_t id) {
  switch (code) {
    case kClearCommand: Clear(); return;
    case kCopyCommand: CopySelection(); return;
    case kSelectAllCommand: SelectAll(); return;
    case kDeselectCommand: Deselect(); return;
    default: ScrollView::Notify(code, id);
  }
}

void TextView::GainFocus() {
  PlaceCaret();
  Update(false);
  InvalidateSelf();  // the selection takes the focused colours
}

void TextView::LoseFocus() {
  HideTextCaret(*this);
  InvalidateSelf();
}

void TextView::ResizeBy(int dw, int dh, bool downward, bool rightward) {
  ScrollView::ResizeBy(dw, dh, downward, rightward);
  Update(false);
}

// --- Painting ---------------------------------------------------------------------

void TextView::PaintContent(Canvas& canvas, const Rect& area) {
  const FontRecord& font = Graphics().NormalFont();
  canvas.SelectFont(font);
  Rect text = TextArea();
  canvas.SetBackColour(WhiteColour);
  canvas.FillRect(area.left, area.top, area.right, text.top);
  canvas.FillRect(area.left, text.bottom, area.right, area.bottom);
  canvas.FillRect(area.left, text.top, text.left, text.bottom);
  canvas.FillRect(text.right, text.top, area.right, text.bottom);

  Rect saved = canvas.Clip();
  Rect clip = Intersect(saved, text);
  canvas.SetClip(clip);
  int line_height = model_.Lines().LineHeight();
  int origin_y = TextOrigin().y;
  // Only the rows that cross the part to repaint.
  LineRange rows = model_.RowsIn(ScrollY(), text.top, clip.top, clip.bottom);
  for (int line = rows.first; line <= rows.last; ++line) {
    PaintLine(canvas, line, origin_y + (line - 1) * line_height, text);
  }
  int below = origin_y + model_.Lines().Count() * line_height;
  canvas.SetBackColour(WhiteColour);
  canvas.FillRect(text.left, std::max(below, text.top), text.right, text.bottom);
  canvas.SetClip(saved);
  Rect caret;
  if (TextCaretShows(*this, caret)) {
    canvas.SetBackColour(BlackColour);
    canvas.FillRect(caret.left, caret.top, caret.right, caret.bottom);
  }
}

void TextView::PaintLine(Canvas& canvas, int line, int y, const Rect& text) {
  std::string_view bytes = model_.Lines().Text(line);
  int from = 0, to = 0;
  bool selected = model_.SelectedColumns(line, from, to);
  // Up to three parts: before the selection, the selection, after it. The
  // last part's box runs on to the right edge, so the rest of the row takes
  // the background with it.
  int bounds[4] = {0, selected ? from : 0, selected ? to : 0, static_cast<int>(bytes.size())};
  int last_part = bounds[3] > bounds[2] ? 2 : bounds[2] > bounds[1] ? 1 : 0;
  bool focused = IsFocused();
  GdiColour selected_text = focused ? WhiteColour : BlackColour;
  GdiColour selected_back = focused ? SelectionColour : kInactiveSelection;
  int x = TextOrigin().x;
  for (int part = 0; part <= last_part; ++part) {
    int start = bounds[part], end = bounds[part + 1];
    if (end <= start && part != last_part) continue;
    if (part == 1)
      canvas.SetColours(selected_text, selected_back);
    else
      canvas.SetColours(BlackColour, WhiteColour);
    std::string_view piece = bytes.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
    x = PaintPiece(canvas, piece, x, y, part == last_part ? text.right : -1);
  }
}

int TextView::PaintPiece(Canvas& canvas, std::string_view piece, int x, int y, int box_right) const {
  const FontMetrics& metrics = model_.Lines().Metrics();
  const Rect& clip = canvas.Clip();
  auto width = [&metrics](char c) { return static_cast<int>(metrics.widths[static_cast<unsigned char>(c)]); };
  // Only the characters that reach into the part to repaint are drawn:
  // a long line scrolled sideways costs no more than a short one.
  std::size_t first = 0;
  int first_x = x;
  int right = x;
  for (std::size_t i = 0; i < piece.size(); ++i) {
    right += width(piece[i]);
    if (right <= clip.left) {
      first = i + 1;
      first_x = right;
    }
  }
  std::size_t last = first;
  for (int edge = first_x; last < piece.size() && edge < clip.right; ++last) edge += width(piece[last]);
  Rect box{x, y, box_right >= 0 ? box_right : right, y + model_.Lines().LineHeight()};
  canvas.TextOutRect(first_x, y, box, piece.data() + first, last - first);
  return right;
}

void TextView::Describe(int, AccessibleItem& item) const { item.states |= kAccessibleReadOnly; }
