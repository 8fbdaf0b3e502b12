// Reading and writing registry values from a test, in the view of the test
// program (that of a setup of the same kind). Keys are opened and closed
// through the handle family.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// A value as stored: a text's bytes include its NUL, a number is its four
// bytes. The name is filled in where values are listed.
struct RegistryValue {
  DWORD type = REG_NONE;
  std::string bytes;
  std::string name;
};

// A REG_SZ or REG_EXPAND_SZ value as stored (not expanded); nullptr names
// the key's default value. Nothing when the key or the value is missing.
std::optional<std::string> RegistryText(HKEY root, const std::string& key, const char* value);
std::optional<DWORD> RegistryNumber(HKEY root, const std::string& key, const char* value);
// A value of any type; nothing when the key or the value is missing.
std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& key, const char* value);
// Every value of the key (Wine lists them by name, not in the order written);
// empty when the key is missing.
std::vector<RegistryValue> RegistryValuesIn(HKEY root, const std::string& key);
bool RegistryKeyExists(HKEY root, const std::string& key);

// The writers make the key where needed; a failure fails the test.
void SetRegistryText(HKEY root, const std::string& key, const char* value, const std::string& text);
void SetRegistryNumber(HKEY root, const std::string& key, const char* value, DWORD number);
// Puts a value back as read: written as it was, or deleted when there was none.
void RestoreRegistryValue(HKEY root, const std::string& key, const char* value,
                          const std::optional<RegistryValue>& stored);
