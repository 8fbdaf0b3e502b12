// Reading and writing registry values from a test, in the view of the test
// program (that of a setup of the same kind). Keys are opened and closed
// through the handle family.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

// A REG_SZ or REG_EXPAND_SZ value as stored (not expanded); nullptr names
// the key's default value. Nothing when the key or the value is missing.
std::optional<std::string> RegistryText(HKEY root, const std::string& key, const char* value);
std::optional<DWORD> RegistryNumber(HKEY root, const std::string& key, const char* value);
bool RegistryKeyExists(HKEY root, const std::string& key);
// Makes the key where needed; a failure fails the test.
void SetRegistryText(HKEY root, const std::string& key, const char* value, const std::string& text);
