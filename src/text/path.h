// Path routines. The backslash is the only separator; a drive colon is
// handled where said.
#pragma once

#include <cstddef>

#include "text/fixed_text.h"

// out := name when the folder is empty; otherwise the folder, one backslash
// unless the folder ends with one or the name begins with one, and the name.
// `out` may be the buffer of the folder or of the name (joining in place).
// False when the result was cut to the buffer.
bool PathJoin(TextBuffer out, const char* folder, const char* name);
// The path up to, not including, its last backslash; empty without one.
bool FolderPart(TextBuffer out, const char* path);
// What follows the last backslash, a single trailing backslash ignored first;
// the whole path when it holds no backslash.
bool LastComponent(TextBuffer out, const char* path);
// The last component (a single trailing backslash or colon ignored) up to
// its first dot. Returns the length written.
std::size_t NameWithoutExtension(TextBuffer out, const char* path);
