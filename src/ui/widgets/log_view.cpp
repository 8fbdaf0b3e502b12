#include "ui/widgets/log_view.h"

#include "ui/core/keyboard_state.h"

void LogView::TrimAndAppend(const char* line) {
  Trim(kKeptLines);
  AppendLine(line != nullptr ? line : "");
  RaiseAccessibleEvent(AccessibleEvent::kValueChange);
}

std::string LogView::AccessibleValue() const {
  const LineStore& lines = Model().Lines();
  return lines.Count() > 0 ? std::string(lines.Text(lines.Count())) : std::string();
}

void LogView::KeyCommand(unsigned key) {
  if ((key == 'F' || key == 'N') && Keyboard().control) return;
  TextView::KeyCommand(key);
}
