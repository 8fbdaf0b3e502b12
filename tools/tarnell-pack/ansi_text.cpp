#include "ansi_text.h"

#include <iconv.h>

#include "package/file_name_rules.h"

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
  if (name.find('\0') != std::string::npos) return "holds a control character";
  if (const char* fault = FileNameFault(name.c_str())) return std::string(fault);
  return std::nullopt;
}

bool SameWindowsFileName(const std::string& ansi_a, const std::string& ansi_b) {
  return SameWindowsName(ansi_a.c_str(), ansi_b.c_str());
}
