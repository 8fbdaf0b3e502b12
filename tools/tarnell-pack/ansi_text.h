// Texts as the setup stores them: 8-bit ANSI (Windows-1252), while manifests
// and terminals speak UTF-8. Also the rules Windows sets for a file name.
#pragma once

#include <optional>
#include <string>

// The Windows-1252 form of a UTF-8 text; nothing when a character has none.
std::optional<std::string> Utf8ToAnsi(const std::string& utf8);
// The UTF-8 form of a Windows-1252 text (bytes 1252 leaves undefined pass as U+FFFD).
std::string AnsiToUtf8(const std::string& ansi);

// Why Windows would not take `name` (ANSI) as the name of a file in a folder,
// or nothing when it would: the rule the setup's package reader applies.
std::optional<std::string> WindowsFileNameFault(const std::string& name);

// Equal as Windows file names: without regard to case, through the setup's own
// table and through Windows-1252 letter case.
bool SameWindowsFileName(const std::string& ansi_a, const std::string& ansi_b);
