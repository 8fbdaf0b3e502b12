// The setup keeps its texts in the system's ANSI code page; tools that hand
// them to others in JSON need them in UTF-8.
//
// https://learn.microsoft.com/windows/win32/api/stringapiset/nf-stringapiset-multibytetowidechar
#pragma once

#include <string>

// `text` read in the ANSI code page, written as UTF-8.
std::string AnsiToUtf8(const char* text);
