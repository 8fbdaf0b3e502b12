#include "ui/widgets/log_view.h"

#include "ui/core/keyboard_state.h"

void LogView::TrimAndAppend(const char* line) {
  Trim(kKeptLines);
  AppendLine(line != nullptr ? line : "");
  RaiseAccessibleEvent(AccessibleEvent::kValueChange);
}

void LogView::Describe(int part, AccessibleItem& item) const {
  TextView::Describe(part, item);
  const LineStore& lines = Model().Lines();
  if (lines.Count() > 0) item.value = lines.Text(lines.Count());
}

void LogView::KeyCommand(unsigned key) {
  if ((key == 'F' || key == 'N') && Keyboard().control) return;
  TextView::KeyCommand(key);
}
