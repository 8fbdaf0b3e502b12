// An open registry key that closes itself, with the few value operations the
// setup needs: texts of bounded length and their presence. A value name of
// nullptr or "" is the key's default value.
#pragma once

#include <windows.h>

#include "handles/owned_handle.h"
#include "text/fixed_text.h"

class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Opens an existing key; false when it is missing or refused.
  bool Open(HKEY root, const char* path, REGSAM access = KEY_ALL_ACCESS);
  // Opens the key, creating it and its missing parents.
  bool Create(HKEY root, const char* path);
  void Close();

  bool IsOpen() const { return static_cast<bool>(key_); }
  HKEY Handle() const { return key_.Get(); }

  bool HasValue(const char* name) const;
  // A REG_SZ or REG_EXPAND_SZ value as stored (not expanded); false when it
  // is missing, of another type or longer than `out` holds.
  bool ReadText(const char* name, TextBuffer out) const;
  // Writes a REG_SZ value with its terminating NUL.
  bool WriteText(const char* name, const char* text) const;

 private:
  RegistryHandle key_;
};

// True when the key is not there (as opposed to there but refused).
bool RegistryKeyMissing(HKEY root, const char* path);
// Deletes a key that has no subkeys; a key that is not there counts as deleted.
bool DeleteRegistryKey(HKEY root, const char* path);
