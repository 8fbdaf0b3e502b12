#include "registry_values.h"

#include <gtest/gtest.h>

#include <cstring>

#include "handles/owned_handle.h"

namespace {

void WriteValue(HKEY root, const std::string& key, const char* value, DWORD type, const std::string& bytes) {
  RegistryHandle handle;
  ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, handle.Receive(), nullptr),
            ERROR_SUCCESS)
      << key;
  ASSERT_EQ(RegSetValueExA(handle.Get(), value, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS)
      << key;
}

}  // namespace

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

std::optional<RegistryValue> ReadRegistryValue(HKEY root, const std::string& key, const char* value) {
  RegistryHandle handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, handle.Receive()) != ERROR_SUCCESS) return std::nullopt;
  RegistryValue stored;
  DWORD size = 0;
  if (RegQueryValueExA(handle.Get(), value, nullptr, &stored.type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  stored.bytes.resize(size);
  if (RegQueryValueExA(handle.Get(), value, nullptr, &stored.type, reinterpret_cast<BYTE*>(stored.bytes.data()),
                       &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  stored.bytes.resize(size);
  if (value != nullptr) stored.name = value;
  return stored;
}

std::vector<RegistryValue> RegistryValuesIn(HKEY root, const std::string& key) {
  std::vector<RegistryValue> values;
  RegistryHandle handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, handle.Receive()) != ERROR_SUCCESS) return values;
  for (DWORD index = 0;; ++index) {
    char name[256];
    DWORD name_size = sizeof name;
    BYTE data[8192];
    DWORD data_size = sizeof data;
    DWORD type = REG_NONE;
    if (RegEnumValueA(handle.Get(), index, name, &name_size, nullptr, &type, data, &data_size) != ERROR_SUCCESS) {
      break;
    }
    values.push_back({type, std::string(reinterpret_cast<const char*>(data), data_size), name});
  }
  return values;
}

bool RegistryKeyExists(HKEY root, const std::string& key) {
  RegistryHandle handle;
  return RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, handle.Receive()) == ERROR_SUCCESS;
}

void SetRegistryText(HKEY root, const std::string& key, const char* value, const std::string& text) {
  WriteValue(root, key, value, REG_SZ, std::string(text.c_str(), text.size() + 1));
}

void SetRegistryNumber(HKEY root, const std::string& key, const char* value, DWORD number) {
  std::string bytes(sizeof number, '\0');
  std::memcpy(bytes.data(), &number, sizeof number);
  WriteValue(root, key, value, REG_DWORD, bytes);
}

void RestoreRegistryValue(HKEY root, const std::string& key, const char* value,
                          const std::optional<RegistryValue>& stored) {
  if (stored) {
    WriteValue(root, key, value, stored->type, stored->bytes);
  } else {
    RegDeleteKeyValueA(root, key.c_str(), value);
  }
}
