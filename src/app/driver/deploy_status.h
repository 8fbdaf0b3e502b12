// What `tarnell-deploy status` reports: the package, the installation the
// registration describes, and the mode the setup window would offer. A
// distribution tool uses it as a detection rule, so the facts come as
// "key: value" lines or as one JSON object with the same keys.
#pragma once

#include <string>
#include <vector>

#include "app/setup_mode.h"
#include "app/setup_state.h"

struct StatusFact {
  std::string key;
  std::string value;  // ANSI text, or "yes"/"no" for a flag
  bool flag;
};

// The facts after StartSetup; folders and options only when the product is
// installed, the installed version only when its setup copy could be read.
std::vector<StatusFact> StatusFacts(const SetupState& state, const SetupView& view);

// "key: value", one a line.
std::string StatusLines(const std::vector<StatusFact>& facts);
// One JSON object on one line, texts in UTF-8.
std::string StatusJson(const std::vector<StatusFact>& facts);
