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

// The short-name form of the `length` characters at `from` that are not one
// of `skipped`, as many as `size` bytes hold with the NUL.
void ShortNameUpper(const char* from, std::size_t length, const char* skipped, char* out, std::size_t size) {
  std::size_t used = 0;
  for (std::size_t i = 0; i < length && used < size - 1; ++i) {
    if (std::strchr(skipped, from[i]) == nullptr) {
      out[used++] = static_cast<char>(WindowsUpperCase(ShortNameChar(from[i])));
    }
  }
  out[used] = '\0';
}

// The key of a long name, or of a short name of the numbered kind; false
// when `name` is not of that kind. A name that fits 8.3 gets no short name,
// and a short name holds nothing that an 8.3 name may not.
bool KeyOf(const char* name, std::size_t length, bool numbered, ShortNameKey& out) {
  std::size_t dot = length;  // the extension's: the last
  for (std::size_t i = 0; i < length; ++i) {
    if (name[i] == '.') dot = i;
  }
  bool fits = std::strcspn(name, " +,;=[]\\") == length && std::strcspn(name, ".\\") == dot && dot > 0 && dot <= 8 &&
              length - dot <= 4;
  std::size_t stem = dot;
  if (numbered) {
    const char* tilde = static_cast<const char*>(std::memchr(name, '~', dot));
    stem = tilde != nullptr ? static_cast<std::size_t>(tilde - name) : 0;
    std::size_t digit = stem + 1;
    while (digit < dot && name[digit] >= '0' && name[digit] <= '9') ++digit;
    if (!fits || stem == 0 || digit == stem + 1 || digit != dot) return false;
  } else if (fits) {
    return false;
  }
  // Windows leaves out blanks, and the dots of the stem.
  ShortNameUpper(name, stem, " .", out.stem, sizeof out.stem);
  std::size_t extension = dot < length ? dot + 1 : length;
  ShortNameUpper(name + extension, length - extension, " ", out.extension, sizeof out.extension);
  return true;
}

// Whether Windows may give `long_name` the short name `alias`.
bool MayBeShortNameOf(const char* alias, const char* long_name) {
  ShortNameKey short_key;
  ShortNameKey long_key;
  return KeyOfShortName(alias, std::strlen(alias), short_key) &&
         KeyOfLongName(long_name, std::strlen(long_name), long_key) && MayStandFor(short_key, long_key);
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

bool KeyOfLongName(const char* name, std::size_t length, ShortNameKey& out) { return KeyOf(name, length, false, out); }

bool KeyOfShortName(const char* name, std::size_t length, ShortNameKey& out) { return KeyOf(name, length, true, out); }

bool MayStandFor(const ShortNameKey& short_name, const ShortNameKey& long_name) {
  return std::strcmp(short_name.extension, long_name.extension) == 0 &&
         std::strncmp(long_name.stem, short_name.stem, std::strlen(short_name.stem)) == 0;
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
