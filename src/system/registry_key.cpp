#include "system/registry_key.h"

#include <cstring>

#include "fs/machine_calls.h"

bool RegistryKey::Open(HKEY root, const char* path, REGSAM access) {
  Close();
  if (RegOpenKeyExA(root, path, 0, access, key_.Receive()) == ERROR_SUCCESS) return true;
  key_.Release();
  return false;
}

bool RegistryKey::Create(HKEY root, const char* path) {
  Close();
  if (Machine().create_key(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, key_.Receive(),
                           nullptr) == ERROR_SUCCESS) {
    return true;
  }
  key_.Release();
  return false;
}

void RegistryKey::Close() { key_.Reset(); }

bool RegistryKey::HasValue(const char* name) const {
  return RegQueryValueExA(key_.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RegistryKey::ReadText(const char* name, TextBuffer out) const {
  out.chars[0] = '\0';
  DWORD type = 0;
  // One byte is kept back for a NUL that the stored value may lack.
  DWORD size = static_cast<DWORD>(out.MaxLength());
  if (RegQueryValueExA(key_.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(out.chars), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    out.chars[0] = '\0';
    return false;
  }
  out.chars[size] = '\0';
  return true;
}

bool RegistryKey::WriteText(const char* name, const char* text) const {
  DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
  return Machine().set_value(key_.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) == ERROR_SUCCESS;
}

bool RegistryKeyMissing(HKEY root, const char* path) {
  RegistryHandle key;
  LONG result = RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE, key.Receive());
  // A failed open hands back nothing to close.
  if (result != ERROR_SUCCESS) key.Release();
  return result == ERROR_FILE_NOT_FOUND;
}

bool DeleteRegistryKey(HKEY root, const char* path) {
  LONG result = Machine().delete_key(root, path);
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}
