#include "system/registry_values.h"

#include <cstring>

#include "fs/machine_calls.h"

bool ReadDwordValue(const RegistryKey& key, const char* name, std::uint32_t& out) {
  DWORD value = 0;
  DWORD size = sizeof value;
  DWORD type = 0;
  if (RegQueryValueExA(key.Handle(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value) {
    return false;
  }
  out = value;
  return true;
}

bool ReadWholeTextValue(const RegistryKey& key, const char* name, std::string& out, DWORD& type) {
  // The size is asked first. The value may grow between the two calls; the
  // read then repeats with the size it reports.
  DWORD size = 0;
  LONG result = RegQueryValueExA(key.Handle(), name, nullptr, &type, nullptr, &size);
  while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
    std::string value(size, '\0');
    DWORD got = size;
    result = RegQueryValueExA(key.Handle(), name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &got);
    if (result == ERROR_SUCCESS) {
      if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
      value.resize(got < size ? got : size);
      // A stored text may end in one NUL, several or none, and holds no text after the first.
      value.resize(std::strlen(value.c_str()));
      out = std::move(value);
      return true;
    }
    size = got;
  }
  return false;
}

LONG WriteTextValue(const RegistryKey& key, const char* name, const char* text, DWORD type) {
  return Machine().set_value(key.Handle(), name, 0, type, reinterpret_cast<const BYTE*>(text),
                             static_cast<DWORD>(std::strlen(text) + 1));
}

LONG WriteDwordValue(const RegistryKey& key, const char* name, std::uint32_t value) {
  DWORD stored = value;
  return Machine().set_value(key.Handle(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), sizeof stored);
}

LONG DeleteValue(const RegistryKey& key, const char* name) { return Machine().delete_value(key.Handle(), name); }
