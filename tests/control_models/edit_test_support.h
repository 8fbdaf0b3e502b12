// Helpers of the edit and view tests: a font whose widths are easy to count
// and a small language for key presses.
#pragma once

#include <cstring>
#include <string>

#include "graphics/font_metrics.h"
#include "ui/core/key_codes.h"
#include "ui/core/key_translation.h"

// Every character 7 pixels wide except 'i' (3), lines 13 pixels high.
inline FontMetrics TestFont() {
  FontMetrics metrics;
  std::memset(metrics.widths, 7, sizeof metrics.widths);
  metrics.widths[static_cast<unsigned char>('i')] = 3;
  metrics.average_width = 7;
  metrics.line_height = 13;
  return metrics;
}

struct KeyPress {
  unsigned key;
  KeyboardFlags flags;
};

// "Left", "S-Left" (Shift), "C-Left" (Ctrl), "CS-Left"; letters as "C-A".
inline KeyPress ParseKey(const std::string& name) {
  KeyPress press{0, KeyboardFlags{}};
  std::string rest = name;
  std::size_t dash = name.find('-');
  if (dash != std::string::npos && dash > 0 && dash < name.size() - 1) {
    std::string modifiers = name.substr(0, dash);
    press.flags.shift = modifiers.find('S') != std::string::npos;
    press.flags.control = modifiers.find('C') != std::string::npos;
    rest = name.substr(dash + 1);
  }
  struct Named {
    const char* name;
    unsigned key;
  } static const keys[] = {
      {"Left", key::kLeft},      {"Right", key::kRight}, {"Up", key::kUp},       {"Down", key::kDown},
      {"Home", key::kHome},      {"End", key::kEnd},     {"PgUp", key::kPageUp}, {"PgDn", key::kPageDown},
      {"Back", key::kBackspace}, {"Del", key::kDelete},  {"Enter", key::kEnter}, {"Space", key::kSpace},
      {"Ins", key::kInsert},     {"Esc", key::kEscape},
  };
  for (const Named& k : keys) {
    if (rest == k.name) press.key = k.key;
  }
  if (press.key == 0 && rest.size() == 1) press.key = static_cast<unsigned char>(rest[0]);
  return press;
}
