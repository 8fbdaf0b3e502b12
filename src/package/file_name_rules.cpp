#include "package/file_name_rules.h"

#include <cstring>

#include "text/case_fold.h"

// Windows-1252 upper case, as the file system compares names: the ASCII
// letters, the accented letters from 0xE0 (but the division sign 0xF7),
// and the four whose capitals lie below 0xC0.
unsigned char WindowsUpperCase(char c) {
  auto byte = static_cast<unsigned char>(c);
  if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)) return byte - 0x20;
  switch (byte) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return byte;
  }
}

namespace {

bool EqualInWindowsCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    if (WindowsUpperCase(*a) != WindowsUpperCase(*b)) return false;
    if (*a == '\0') return true;
  }
}

// Windows opens these as devices whatever extension follows the name; the
// digit may be 0 or a superscript 1, 2 or 3 as well.
bool IsDeviceName(const char* name) {
  std::size_t stem = std::strcspn(name, ".");
  while (stem > 0 && name[stem - 1] == ' ') --stem;
  auto is = [&](const char* device) { return std::strlen(device) == stem && StartsWithIgnoringCase(name, device); };
  if (is("CON") || is("PRN") || is("AUX") || is("NUL") || is("CONIN$") || is("CONOUT$")) return true;
  if (stem != 4 || !(StartsWithIgnoringCase(name, "COM") || StartsWithIgnoringCase(name, "LPT"))) return false;
  auto digit = static_cast<unsigned char>(name[3]);
  return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

// A file name up to its first dot, cut to the longest name Windows keeps.
struct ServiceStem {
  explicit ServiceStem(const char* file_name) : chars() {
    std::size_t length = std::strcspn(file_name, ".");
    std::memcpy(chars, file_name, length < kMaxWindowsNameLength ? length : kMaxWindowsNameLength);
  }
  char chars[kMaxWindowsNameLength + 1];
};

// Long-name characters that 8.3 names lack become '_' there.
char ShortNameChar(char c) { return c != '\0' && std::strchr("+,;=[]", c) != nullptr ? '_' : c; }

// Whether Windows may give `long_name` the short name `alias` (NTFS's 8.3
// names: "Long Name.txt" may be "LONGNA~1.TXT"). A name that fits 8.3
// itself gets none. Short names of the hashed kind, made from the fifth
// clash on, are not foreseen.
bool MayBeShortNameOf(const char* alias, const char* long_name) {
  const char* alias_dot = std::strrchr(alias, '.');
  std::size_t alias_base = alias_dot != nullptr ? static_cast<std::size_t>(alias_dot - alias) : std::strlen(alias);
  const char* tilde = std::strchr(alias, '~');
  if (tilde == nullptr || tilde == alias || alias_base > 8) return false;
  std::size_t digits = std::strspn(tilde + 1, "0123456789");
  if (digits == 0 || tilde + 1 + digits != alias + alias_base) return false;
  std::size_t length = std::strlen(long_name);
  const char* dot = std::strrchr(long_name, '.');
  std::size_t base = dot != nullptr ? static_cast<std::size_t>(dot - long_name) : length;
  bool fits_8_3 = base > 0 && base <= 8 && length - base <= 4 && std::strchr(long_name, '.') == dot &&
                  std::strpbrk(long_name, " +,;=[]") == nullptr;
  if (fits_8_3) return false;
  // The stem without blanks and dots.
  const char* at = long_name;
  for (const char* c = alias; c < tilde; ++c, ++at) {
    while (at < long_name + base && (*at == ' ' || *at == '.')) ++at;
    if (at == long_name + base || WindowsUpperCase(ShortNameChar(*at)) != WindowsUpperCase(*c)) return false;
  }
  // The extension: the first three characters after the last dot.
  char extension[4] = {};
  if (dot != nullptr) {
    for (std::size_t i = 0, from = 1; i < 3 && dot[from] != '\0'; ++from) {
      if (dot[from] != ' ') extension[i++] = ShortNameChar(dot[from]);
    }
  }
  return EqualInWindowsCase(alias_dot != nullptr ? alias_dot + 1 : "", extension);
}

}  // namespace

const char* FileNameFault(const char* name) {
  std::size_t length = std::strlen(name);
  if (length == 0) return "is empty";
  if (std::strpbrk(name, "\\/") != nullptr) return "holds a path separator";
  if (std::strchr(name, ':') != nullptr) return "holds a drive colon";
  if (std::strspn(name, ".") == length) return "is a folder reference, not a file name";
  for (const char* c = name; *c != '\0'; ++c) {
    if (static_cast<unsigned char>(*c) < 0x20) return "holds a control character";
    if (std::strchr("<>\"|?*", *c) != nullptr) return "holds one of <>\"|?* (Windows refuses them)";
  }
  if (name[length - 1] == '.' || name[length - 1] == ' ') return "ends with a dot or blank (Windows drops them)";
  if (length > kMaxWindowsNameLength) return "is longer than 255 characters";
  if (IsDeviceName(name)) return "is a device name on Windows";
  return nullptr;
}

bool SameWindowsName(const char* a, const char* b) {
  return EqualIgnoringCase(a, b) || EqualInWindowsCase(a, b) || MayBeShortNameOf(a, b) || MayBeShortNameOf(b, a);
}

bool SameServiceName(const char* file_a, const char* file_b) {
  ServiceStem a(file_a);
  ServiceStem b(file_b);
  return EqualIgnoringCase(a.chars, b.chars) || EqualInWindowsCase(a.chars, b.chars);
}

const char* RelativePathFault(const char* path) {
  if (path[0] == '\0') return "is empty";
  for (const char* part = path;;) {
    std::size_t length = std::strcspn(part, "\\");
    if (length == 0) return "holds an empty folder name";
    if (length > kMaxWindowsNameLength) return "holds a part longer than 255 characters";
    char name[kMaxWindowsNameLength + 1];
    std::memcpy(name, part, length);
    name[length] = '\0';
    if (const char* fault = FileNameFault(name)) return fault;
    if (part[length] == '\0') return nullptr;
    part += length + 1;
  }
}
