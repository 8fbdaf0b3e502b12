#include "ansi_text.h"

#include <iconv.h>

#include <algorithm>
#include <cstring>
#include <locale>

#include "text/case_fold.h"

namespace {

// One conversion with iconv; nothing when the input does not convert.
std::optional<std::string> Convert(const char* to, const char* from, const std::string& text) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string in = text;
  std::string out(text.size() * 4 + 4, '\0');
  char* in_next = in.data();
  std::size_t in_left = in.size();
  char* out_next = out.data();
  std::size_t out_left = out.size();
  std::size_t result = iconv(converter, &in_next, &in_left, &out_next, &out_left);
  iconv_close(converter);
  if (result == static_cast<std::size_t>(-1) || result != 0) return std::nullopt;  // failed or approximated
  out.resize(out.size() - out_left);
  return out;
}

std::wstring Widen(const std::string& ansi) {
  std::string utf32 = Convert("WCHAR_T", "WINDOWS-1252", ansi).value_or(std::string());
  return std::wstring(reinterpret_cast<const wchar_t*>(utf32.data()), utf32.size() / sizeof(wchar_t));
}

const std::ctype<wchar_t>& UnicodeCase() {
  static const std::locale locale = [] {
    try {
      return std::locale("C.UTF-8");
    } catch (const std::runtime_error&) {
      return std::locale::classic();
    }
  }();
  return std::use_facet<std::ctype<wchar_t>>(locale);
}

bool IsDeviceName(const std::string& name) {
  // Windows maps these names to devices whatever extension follows.
  std::string stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  std::transform(stem.begin(), stem.end(), stem.begin(), [](char c) { return c >= 'a' && c <= 'z' ? c - 32 : c; });
  if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL") return true;
  return stem.size() == 4 && (stem.compare(0, 3, "COM") == 0 || stem.compare(0, 3, "LPT") == 0) &&
         stem[3] >= '1' && stem[3] <= '9';
}

}  // namespace

std::optional<std::string> Utf8ToAnsi(const std::string& utf8) { return Convert("WINDOWS-1252", "UTF-8", utf8); }

std::string AnsiToUtf8(const std::string& ansi) {
  std::string utf8;
  for (char c : ansi) {
    utf8 += Convert("UTF-8", "WINDOWS-1252", std::string(1, c)).value_or("\xEF\xBF\xBD");
  }
  return utf8;
}

std::optional<std::string> WindowsFileNameFault(const std::string& name) {
  if (name.empty()) return "is empty";
  if (name.find_first_of("\\/") != std::string::npos) return "holds a path separator";
  if (name.find(':') != std::string::npos) return "holds a drive colon";
  if (name.find_first_not_of('.') == std::string::npos) return "is a folder reference, not a file name";
  for (char c : name) {
    auto byte = static_cast<unsigned char>(c);
    if (byte < 32) return "holds a control character";
    if (std::strchr("<>\"|?*", c) != nullptr) return std::string("holds the character ") + c + ", which Windows refuses";
  }
  if (name.back() == '.' || name.back() == ' ') return "ends with a dot or blank, which Windows drops";
  if (name.size() > 255) return "is longer than 255 characters";
  if (IsDeviceName(name)) return "is a device name on Windows";
  return std::nullopt;
}

bool SameWindowsFileName(const std::string& ansi_a, const std::string& ansi_b) {
  if (EqualIgnoringCase(ansi_a.c_str(), ansi_b.c_str())) return true;
  std::wstring a = Widen(ansi_a);
  std::wstring b = Widen(ansi_b);
  const auto& unicode = UnicodeCase();
  unicode.toupper(a.data(), a.data() + a.size());
  unicode.toupper(b.data(), b.data() + b.size());
  return a == b;
}
