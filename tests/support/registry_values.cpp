#include "registry_values.h"

#include <gtest/gtest.h>

#include "handles/owned_handle.h"

std::optional<std::string> RegistryText(HKEY root, const std::string& key, const char* value) {
  char text[2048];
  DWORD size = sizeof text;
  if (RegGetValueA(root, key.c_str(), value, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, text,
                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::string(text);
}

std::optional<DWORD> RegistryNumber(HKEY root, const std::string& key, const char* value) {
  DWORD number = 0;
  DWORD size = sizeof number;
  if (RegGetValueA(root, key.c_str(), value, RRF_RT_REG_DWORD, nullptr, &number, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return number;
}

bool RegistryKeyExists(HKEY root, const std::string& key) {
  RegistryHandle handle;
  return RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, handle.Receive()) == ERROR_SUCCESS;
}

void SetRegistryText(HKEY root, const std::string& key, const char* value, const std::string& text) {
  RegistryHandle handle;
  ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, handle.Receive(), nullptr),
            ERROR_SUCCESS)
      << key;
  ASSERT_EQ(RegSetValueExA(handle.Get(), value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                           static_cast<DWORD>(text.size() + 1)),
            ERROR_SUCCESS)
      << key;
}
