// The registry value operations beside RegistryKey's bounded texts: numbers,
// texts of any length and type, and deletions.
//
// Every change made here passes through one hook that tests can set to make
// the N-th change fail: Wine runs every program as administrator, so a
// refused write cannot be produced there for real.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "system/registry_key.h"

bool ReadDwordValue(const RegistryKey& key, const char* name, std::uint32_t& out);
// The whole text value, however long, without its terminating NULs; `type`
// receives REG_SZ or REG_EXPAND_SZ. False when it is missing or not a text.
bool ReadWholeTextValue(const RegistryKey& key, const char* name, std::string& out, DWORD& type);

// The results are the system's error codes (ERROR_SUCCESS on success).
// Texts are written with their terminating NUL.
LONG WriteTextValue(const RegistryKey& key, const char* name, const char* text, DWORD type);
LONG WriteDwordValue(const RegistryKey& key, const char* name, std::uint32_t value);
LONG DeleteValue(const RegistryKey& key, const char* name);

// Test seam: when set, the hook runs before every change above, and a result
// other than ERROR_SUCCESS is returned instead of making the change.
using RegistryChangeHook = LONG (*)();
void SetRegistryChangeHook(RegistryChangeHook hook);
