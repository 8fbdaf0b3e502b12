// TextView (layout kind 9): the toolkit's read-only, scrollable text of
// many lines. Its logic (lines, caret, selection, keys, scrolling to the
// caret) is TextViewModel's; this widget paints only the rows that lie in
// the part to repaint, moves the caret mark, puts the selection on the
// clipboard and opens its context menu, when it has one (Shift+F10 at its
// corner, a right click at the pointer).
#pragma once

#include <memory>
#include <string_view>

#include "ui/widgets/behaviour/text_view_model.h"
#include "ui/widgets/menu_items.h"
#include "ui/widgets/scroll_view.h"

class PopupMenu;

class TextView : public ScrollView {
 public:
  // Context-menu commands the view answers itself.
  static constexpr unsigned kClearCommand = 1010;
  static constexpr unsigned kCopyCommand = 1735;
  static constexpr unsigned kSelectAllCommand = 1745;
  static constexpr unsigned kDeselectCommand = 1750;

  TextView(const LayoutEntry& entry, Container* parent);
  ~TextView() override;

  const TextViewModel& Model() const { return model_; }
  void SetContextMenu(const MenuItem* table);

  // Adds a line at the end and scrolls it into view.
  void AppendLine(std::string_view text);
  // Drops the oldest lines once 2 × limit are held, keeping `limit`.
  void Trim(int limit);
  // One empty line, nothing selected, scrolled to the top.
  void Clear();
  void SelectAll();
  void Deselect();
  void CopySelection();

  void KeyCommand(unsigned key) override;
  void Describe(int part, AccessibleItem& item) const override;
  void LeftDown(int x, int y) override;
  void MouseMove(int x, int y) override;
  void LeftDoubleClick(int x, int y) override;
  void RightUp(int x, int y) override;
  void Notify(unsigned code, std::uint16_t id) override;
  void GainFocus() override;
  void LoseFocus() override;
  void ResizeBy(int dw, int dh, bool downward, bool rightward) override;

 protected:
  void PaintContent(Canvas& canvas, const Rect& area) override;
  int LineStep() const override;
  // The caret mark moved with the pixels: it is repainted away there and
  // shown at its place.
  void ScrollChanged() override;

 private:
  Rect TextArea() const;
  // Where content point (0, 0) of the text lies on the window.
  Point TextOrigin() const;
  void PaintLine(Canvas& canvas, int line, int y, const Rect& text);
  // Draws a piece of a line from `x` in a box to `box_right` (-1: the
  // piece's own end); returns where the piece ends.
  int PaintPiece(Canvas& canvas, std::string_view piece, int x, int y, int box_right) const;
  // After a change: content size, repaints, scrolling, the caret mark.
  void Update(bool scroll_to_caret);
  void RepaintLines(const LineRange& lines);
  void PlaceCaret();
  bool IsFocused() const;
  void OpenContextMenu(int x, int y);

  TextViewModel model_;
  std::unique_ptr<PopupMenu> menu_;
  ScrollOffset shown_scroll_;
};
