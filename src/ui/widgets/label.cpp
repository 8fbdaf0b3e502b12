#include "ui/widgets/label.h"

#include <algorithm>

#include "graphics/canvas.h"
#include "graphics/colours.h"
#include "graphics/graphics_resources.h"
#include "ui/widgets/text_block.h"

namespace {

constexpr int kIndent = 2;

}  // namespace

Label::Label(const LayoutEntry& entry, Container* parent) : Widget(entry, parent), text_(entry.text) {
  role_ = AccessibleRole::kStaticText;
}

void Label::Describe(int, AccessibleItem& item) const {
  item.name = text_;
  item.states |= kAccessibleReadOnly;
}

void Label::SetText(const char* text) {
  text_ = text != nullptr ? text : "";
  InvalidateSelf();
}

void Label::Paint(Canvas& canvas) {
  const FontRecord& font = Graphics().NormalFont();
  canvas.SelectFont(font);
  canvas.SetColours(BlackColour, FaceColour);
  int line_height = font.LineHeight();
  TextExtent extent = MeasureTextBlock(font.Metrics(), text_.c_str());
  Rect bounds = Bounds();
  int top = bounds.top + (bounds.Height() - extent.lines * line_height) / 2;
  canvas.FillRect(bounds.left, bounds.top, bounds.right, std::max(top, bounds.top));
  for (const char* line = text_.c_str(); line != nullptr; top += line_height) {
    const char* start = line;
    std::size_t length = LineAt(start, line);
    Rect row = Intersect(Rect{bounds.left, top, bounds.right, top + line_height}, bounds);
    if (!row.IsEmpty()) canvas.TextOutRect(bounds.left + kIndent, top, row, start, length);
  }
  canvas.FillRect(bounds.left, std::max(top, bounds.top), bounds.right, bounds.bottom);
}
