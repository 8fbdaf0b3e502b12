// The "%s" formatter: the only conversion the program's messages use.
#pragma once

#include <cstddef>

#include "text/fixed_text.h"

// Copies the pattern, replacing the first "%s" by `text`; the rest of the
// pattern, later "%s" included, is copied unchanged. A "%" followed by
// anything else is copied as it stands. False when the result was cut.
bool FormatOne(TextBuffer out, const char* pattern, const char* text);
// The same, every "%s" taking the next of `texts` in order; placeholders
// beyond the list stay as they are.
bool FormatMany(TextBuffer out, const char* pattern, const char* const* texts, std::size_t count);
