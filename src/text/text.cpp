#include "text/text.h"

#include <cstring>

bool CopyText(TextBuffer out, const char* source) {
  out.chars[0] = '\0';
  return AppendText(out, source);
}

bool AppendText(TextBuffer out, const char* source) {
  std::size_t used = std::strlen(out.chars);
  std::size_t add = std::strlen(source);
  bool fits = add <= out.MaxLength() - used;
  if (!fits) add = out.MaxLength() - used;
  std::memmove(out.chars + used, source, add);
  out.chars[used + add] = '\0';
  return fits;
}

std::size_t AppendLimited(TextBuffer out, const char* source) {
  constexpr std::size_t kLineLimit = 512;
  std::size_t limit = out.MaxLength() < kLineLimit ? out.MaxLength() : kLineLimit;
  std::size_t used = std::strlen(out.chars);
  if (used >= limit) return used;
  std::size_t add = std::strlen(source);
  if (add > limit - used) add = limit - used;
  std::memmove(out.chars + used, source, add);
  out.chars[used + add] = '\0';
  return used + add;
}

bool ConcatenateText(TextBuffer out, const char* a, const char* b) {
  if (out.chars != a && !CopyText(out, a)) return false;
  return AppendText(out, b);
}

bool EqualText(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

void ToLowerGerman(char* text) {
  for (; *text != '\0'; ++text) {
    unsigned char c = static_cast<unsigned char>(*text);
    if ((c >= 'A' && c <= 'Z') || c == 0xC4 || c == 0xD6 || c == 0xDC) *text = static_cast<char>(c + 0x20);
  }
}

bool QuoteText(TextBuffer out, const char* text) {
  bool fits = CopyText(out, "\"");
  fits = AppendText(out, text) && fits;
  return AppendText(out, "\"") && fits;
}
