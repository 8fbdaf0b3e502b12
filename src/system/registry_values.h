// The registry value operations beside RegistryKey's bounded texts: numbers,
// texts of any length and type, and deletions. Their changes go through
// the machine's table of calls (fs/machine_calls.h), where a test can
// refuse them: Wine runs every program as administrator, so a refused write
// cannot be produced there for real.
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
