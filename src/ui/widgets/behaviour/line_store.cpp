#include "ui/widgets/behaviour/line_store.h"

#include <algorithm>

namespace {

// Stands for "the widest line may be gone": larger than any line's width.
constexpr int kUnknownWidest = 32767;

}  // namespace

void LineRange::Add(int from, int to) {
  if (from > to) return;
  if (Empty()) {
    first = from;
    last = to;
  } else {
    first = std::min(first, from);
    last = std::max(last, to);
  }
}

LineStore::LineStore(const FontMetrics& metrics) : metrics_(&metrics) {}

void LineStore::Append(std::string_view text) {
  if (text.size() > kMaxLineLength) text = text.substr(0, kMaxLineLength);
  int width = TextWidth(*metrics_, text.data(), text.size());
  lines_.push_back(Line{std::string(text), width});
  widestNew_ = std::max(widestNew_, width);
  changed_.Add(Count(), Count());
  countChanged_ = true;
}

int LineStore::Trim(int limit) {
  if (limit < 0 || Count() < 2 * limit) return 0;
  int dropped = Count() - limit;
  lines_.erase(lines_.begin(), lines_.begin() + dropped);
  // Every line has a new number, so every line is repainted.
  changed_ = LineRange{};
  changed_.Add(1, Count());
  widestRemoved_ = kUnknownWidest;
  countChanged_ = true;
  return dropped;
}

void LineStore::Clear() {
  lines_.clear();
  lines_.push_back(Line{std::string(), 0});
  changed_ = LineRange{};
  changed_.Add(1, 1);
  widestRemoved_ = kUnknownWidest;
  countChanged_ = true;
}

void LineStore::SetMetrics(const FontMetrics& metrics) {
  metrics_ = &metrics;
  for (Line& line : lines_) line.width = TextWidth(metrics, line.text.data(), line.text.size());
  changed_.Add(1, Count());
  widestRemoved_ = kUnknownWidest;
  countChanged_ = true;
}

int LineStore::Widest() const {
  int widest = 0;
  for (const Line& line : lines_) widest = std::max(widest, line.width);
  return widest;
}

LineStore::Update LineStore::TakeUpdate() {
  Update update;
  update.lines = changed_;
  int width = contentWidth_;
  if (width < widestNew_ + 2 * kMargin) {
    width = std::max(kMinContentWidth, widestNew_ + 2 * kMargin);
  } else if (widestRemoved_ + 2 * kMargin >= width) {
    width = std::max(kMinContentWidth, Widest() + 2 * kMargin);
  }
  int height = countChanged_ ? Count() * LineHeight() + 2 * kMargin : contentHeight_;
  update.sizeChanged = width != contentWidth_ || height != contentHeight_;
  contentWidth_ = width;
  contentHeight_ = height;
  changed_ = LineRange{};
  widestRemoved_ = 0;
  widestNew_ = 0;
  countChanged_ = false;
  return update;
}
