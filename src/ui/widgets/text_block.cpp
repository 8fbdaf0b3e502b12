#include "ui/widgets/text_block.h"

#include <algorithm>
#include <cstring>

namespace {

// The room a label needs around its text.
constexpr int kExtraWidth = 5;
constexpr int kExtraHeight = 7;
// Buttons keep this far from the window's sides.
constexpr int kButtonMargin = 8;

}  // namespace

std::size_t LineAt(const char* text, const char*& next) {
  const char* end = std::strchr(text, '\n');
  if (end == nullptr) {
    next = nullptr;
    return std::strlen(text);
  }
  next = end + 1;
  if (end > text && end[-1] == '\r') --end;
  return static_cast<std::size_t>(end - text);
}

TextExtent MeasureTextBlock(const FontMetrics& metrics, const char* text) {
  TextExtent extent{0, 0};
  for (const char* line = text; line != nullptr; ++extent.lines) {
    const char* start = line;
    std::size_t length = LineAt(start, line);
    extent.width = std::max(extent.width, TextWidth(metrics, start, length));
  }
  return extent;
}

void FitLayoutToText(LayoutEntry* table, int count, int label, const FontMetrics& metrics, const char* text) {
  TextExtent extent = MeasureTextBlock(metrics, text);
  const LayoutEntry& box = table[label];
  int dw = extent.width + kExtraWidth - box.width;
  int dh = extent.lines * metrics.line_height + kExtraHeight - box.height;
  for (int i = 1; i < count; ++i) {
    if (table[i].kind == kButtonKind) dw = std::max(dw, 2 * (kButtonMargin - table[i].x));
  }
  GrowAroundText(table, count, label, dw, dh);
}

void GrowAroundText(LayoutEntry* table, int count, int label, int dw, int dh) {
  LayoutEntry& box = table[label];
  int label_bottom = box.y + box.height;
  for (int i = 1; i < count; ++i) {
    LayoutEntry& entry = table[i];
    if (entry.kind == kButtonKind) entry.x = static_cast<std::int16_t>(entry.x + dw / 2);
    if (entry.kind == kTitleBarKind) entry.width = static_cast<std::int16_t>(entry.width + dw);
    if (i != label && entry.y >= label_bottom) entry.y = static_cast<std::int16_t>(entry.y + dh);
  }
  box.width = static_cast<std::int16_t>(box.width + dw);
  box.height = static_cast<std::int16_t>(box.height + dh);
  table[0].width = static_cast<std::int16_t>(table[0].width + dw);
  table[0].height = static_cast<std::int16_t>(table[0].height + dh);
}
