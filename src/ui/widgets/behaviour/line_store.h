// The lines of a text view: each line's text and its pixel width, measured
// once when the line arrives, and the bookkeeping that keeps appending cheap:
// the range of lines to repaint at the next update, and the content size of
// the view, re-measured over all lines only when the widest line may have
// gone. Lines are numbered from 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/font_metrics.h"

// A range of line numbers; empty when first > last.
struct LineRange {
  int first = 1;
  int last = 0;

  bool Empty() const { return first > last; }
  void Add(int from, int to);
};

class LineStore {
 public:
  // A line keeps at most this many bytes (its length is a 16-bit count).
  static constexpr std::size_t kMaxLineLength = 65535;
  // Margins of the text area, counted into the content size.
  static constexpr int kMargin = 3;
  static constexpr int kMinContentWidth = 100;

  // `metrics` must outlive the store. The store starts without lines.
  explicit LineStore(const FontMetrics& metrics);

  int Count() const { return static_cast<int>(lines_.size()); }
  std::string_view Text(int line) const { return At(line).text; }
  int Length(int line) const { return static_cast<int>(At(line).text.size()); }
  int Width(int line) const { return At(line).width; }
  int LineHeight() const { return metrics_->line_height; }
  const FontMetrics& Metrics() const { return *metrics_; }

  // Adds a line at the end (cut at kMaxLineLength bytes).
  void Append(std::string_view text);
  // When the store holds 2 × limit lines or more, drops the oldest so that
  // `limit` remain; returns how many were dropped.
  int Trim(int limit);
  // Drops every line and adds one empty line.
  void Clear();
  // Measures every line in a new font.
  void SetMetrics(const FontMetrics& metrics);

  // What the next repaint must cover, and whether the content size changed;
  // brings the content size up to date and starts a new round of changes.
  struct Update {
    LineRange lines;
    bool size_changed = false;
  };
  Update TakeUpdate();

  int ContentWidth() const { return content_width_; }
  int ContentHeight() const { return content_height_; }

 private:
  struct Line {
    std::string text;
    int width;
  };

  const Line& At(int line) const { return lines_[static_cast<std::size_t>(line - 1)]; }
  int Widest() const;

  const FontMetrics* metrics_;
  std::vector<Line> lines_;
  LineRange changed_;
  // A sure upper bound of what was dropped: forces re-measuring.
  int widest_removed_ = 0;
  int widest_new_ = 0;
  bool count_changed_ = false;
  int content_width_ = kMinContentWidth;
  int content_height_ = 2 * kMargin;
};
