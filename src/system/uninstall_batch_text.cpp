#include "system/uninstall_batch_text.h"

#include <cstring>

namespace {

// A path that cmd would split or expand is quoted; "%" expands even inside
// quotes in a batch file, so it is doubled.
std::string CommandWord(const std::string& path) {
  std::string word;
  bool quote = false;
  for (char c : path) {
    if (std::strchr(" \t&()[]{}^=;!'+,`~", c) != nullptr) quote = true;
    word += c;
    if (c == '%') word += '%';
  }
  return quote ? "\"" + word + "\"" : word;
}

}  // namespace

std::string UninstallBatchText(const char* module_path, const char* batch_folder, const char* command_processor) {
  const std::string module = module_path;
  const std::string folder =
      module.substr(0, module.find_last_of('\\') == std::string::npos ? 0 : module.find_last_of('\\'));
  std::string text = ":Repeat\r\nDel " + CommandWord(module) + " \r\nif exist " + CommandWord(module) +
                     " goto Repeat\r\nrmdir " + CommandWord(folder);
  // Each parent, nearest first; the backslash after "C:" never names the root.
  for (std::size_t p = folder.size(); p-- > 3;) {
    if (folder[p] == '\\') text += "\r\nrmdir " + CommandWord(folder.substr(0, p));
  }
  text += "\r\ndel %0";
  // The batch's own folder can only go once cmd has let go of the batch, so
  // a second cmd, started on the same line (no further line is read once the
  // batch is gone), retries until it can.
  if (batch_folder != nullptr && batch_folder[0] != '\0') {
    const std::string folder_word = CommandWord(batch_folder);
    text += " & start \"\" /b " + CommandWord(command_processor) + " /d /c \"for /l %%i in (1,1,500) do @if exist " +
            folder_word + " rmdir " + folder_word + " 2>nul\"";
  }
  return text;
}
