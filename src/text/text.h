// Plain text routines on NUL-terminated ANSI texts. Every routine that writes
// takes a bounded TextBuffer: a result that does not fit is cut at the buffer's
// end (still NUL-terminated) and the routine reports false.
#pragma once

#include <cstddef>

#include "text/fixed_text.h"

// Copies `source`; false when it was cut.
bool CopyText(TextBuffer out, const char* source);
// Appends `source` behind what `out` holds; false when it was cut.
bool AppendText(TextBuffer out, const char* source);
// Appends as much of `source` as keeps the text within 512 characters (and
// within the buffer); returns the new length. Used for the log line end.
std::size_t AppendLimited(TextBuffer out, const char* source);
// out := a followed by b; `out` may be the buffer of `a`.
bool ConcatenateText(TextBuffer out, const char* a, const char* b);

bool EqualText(const char* a, const char* b);
bool StartsWith(const char* text, const char* prefix);

// In place: A-Z and the German umlauts Ä, Ö, Ü become small letters.
void ToLowerGerman(char* text);
// out := a double quote, the text, a double quote.
bool QuoteText(TextBuffer out, const char* text);
