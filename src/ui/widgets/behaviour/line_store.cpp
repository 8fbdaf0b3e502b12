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
  widest_new_ = std::max(widest_new_, width);
  changed_.Add(Count(), Count());
  count_changed_ = true;
}

int LineStore::Trim(int limit) {
  if (limit < 0 || Count() < 2 * limit) return 0;
  int dropped = Count() - limit;
  lines_.erase(lines_.begin(), lines_.begin() + dropped);
  // Every line has a new number, so every line is repainted.
  changed_ = LineRange{};
  changed_.Add(1, Count());
  widest_removed_ = kUnknownWidest;
  count_changed_ = true;
  return dropped;
}

void LineStore::Clear() {
  lines_.clear();
  lines_.push_back(Line{std::string(), 0});
  changed_ = LineRange{};
  changed_.Add(1, 1);
  widest_removed_ = kUnknownWidest;
  count_changed_ = true;
}

void LineStore::SetMetrics(const FontMetrics& metrics) {
  metrics_ = &metrics;
  for (Line& line : lines_) line.width = TextWidth(metrics, line.text.data(), line.text.size());
  changed_.Add(1, Count());
  widest_removed_ = kUnknownWidest;
  count_changed_ = true;
}

int LineStore::Widest() const {
  int widest = 0;
  for (const Line& line : lines_) widest = std::max(widest, line.width);
  return widest;
}

LineStore::Update LineStore::TakeUpdate() {
  Update update;
  update.lines = changed_;
  int width = content_width_;
  if (width < widest_new_ + 2 * kMargin) {
    width = std::max(kMinContentWidth, widest_new_ + 2 * kMargin);
  } else if (widest_removed_ + 2 * kMargin >= width) {
    width = std::max(kMinContentWidth, Widest() + 2 * kMargin);
  }
  int height = count_changed_ ? Count() * LineHeight() + 2 * kMargin : content_height_;
  update.size_changed = width != content_width_ || height != content_height_;
  content_width_ = width;
  content_height_ = height;
  changed_ = LineRange{};
  widest_removed_ = 0;
  widest_new_ = 0;
  count_changed_ = false;
  return update;
}
