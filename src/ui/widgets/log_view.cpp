#include "ui/widgets/log_view.h"

#include "ui/core/keyboard_state.h"

void LogView::TrimAndAppend(const char* line) {
  Trim(kKeptLines);
  AppendLine(line != nullptr ? line : "");
}

void LogView::KeyCommand(unsigned key) {
  if ((key == 'F' || key == 'N') && Keyboard().control) return;
  TextView::KeyCommand(key);
}
