// LogView: the text view that shows the run's log lines. The logger hands
// it every line (LineView); it keeps at most 1000 lines by dropping the
// oldest down to the newest 500, and follows the newest line. It has no
// search and no font choice, so Ctrl+F and Ctrl+N do nothing here.
#pragma once

#include "log/line_view.h"
#include "ui/widgets/text_view.h"

class LogView : public TextView, public LineView {
 public:
  // Once this many lines are held, only the newest kKeptLines stay.
  static constexpr int kKeptLines = 500;

  using TextView::TextView;

  // Readers hear of every new line: the newest is the view's value.
  void TrimAndAppend(const char* line) override;
  void Describe(int part, AccessibleItem& item) const override;
  void KeyCommand(unsigned key) override;
};
