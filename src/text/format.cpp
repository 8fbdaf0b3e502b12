#include "text/format.h"

#include <cstring>

bool FormatOne(TextBuffer out, const char* pattern, const char* text) { return FormatMany(out, pattern, &text, 1); }

bool FormatMany(TextBuffer out, const char* pattern, const char* const* texts, std::size_t count) {
  std::size_t used = 0;
  std::size_t capacity = out.MaxLength();
  bool fits = true;
  auto put = [&](const char* bytes, std::size_t length) {
    if (length > capacity - used) {
      length = capacity - used;
      fits = false;
    }
    std::memcpy(out.chars + used, bytes, length);
    used += length;
  };
  std::size_t next = 0;
  for (const char* p = pattern; *p != '\0'; ++p) {
    if (p[0] == '%' && p[1] == 's' && next < count) {
      put(texts[next], std::strlen(texts[next]));
      ++next;
      ++p;
    } else {
      put(p, 1);
    }
  }
  out.chars[used] = '\0';
  return fits;
}
