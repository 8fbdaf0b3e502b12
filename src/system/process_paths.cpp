#include "system/process_paths.h"

#include <windows.h>

#include <cstring>

#include "fs/machine_calls.h"
#include "handles/owned_handle.h"
#include "text/path.h"
#include "text/text.h"

namespace {

ProcessPaths paths;

constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

void SplitModulePath() {
  char module[MAX_PATH + 1] = "";
  DWORD length = GetModuleFileNameA(nullptr, module, sizeof module);
  if (length == 0 || length >= sizeof module) module[0] = '\0';
  paths.module_path.Assign(module);

  // The folder ends before the last "\" or ":"; the base name runs from
  // there to the last ".".
  const char* end = module + std::strlen(module);
  const char* cut = end;
  while (cut > module && cut[-1] != '\\' && cut[-1] != ':') --cut;
  std::size_t folder_length = cut > module ? static_cast<std::size_t>(cut - module - 1) : 0;
  SystemPath folder;
  std::memcpy(folder.data(), module, folder_length);
  folder.data()[folder_length] = '\0';
  paths.module_folder = folder;

  const char* dot = std::strrchr(cut, '.');
  std::size_t base_length = static_cast<std::size_t>((dot ? dot : end) - cut);
  SystemPath base;
  std::memcpy(base.data(), cut, base_length);
  base.data()[base_length] = '\0';
  paths.module_base_name = base;
}

void ReadTempDirectory() {
  char temp[MAX_PATH + 1] = "";
  DWORD length = GetTempPathA(sizeof temp, temp);
  if (length == 0 || length >= sizeof temp) temp[0] = '\0';
  std::size_t used = std::strlen(temp);
  if (used > 0 && temp[used - 1] == '\\') temp[used - 1] = '\0';
  paths.temp_directory.Assign(temp);
}

// The data folder that an earlier install registered for this product.
void ReadRegisteredDataPath() {
  Text key_path(kUninstallKey);
  key_path.Append(paths.module_base_name.c_str());
  RegistryHandle key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key_path.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) {
    key.Release();  // a failed open hands back nothing to close
    return;
  }
  char value[MAX_PATH + 1] = "";
  DWORD size = sizeof value - 1;
  DWORD type = 0;
  if (RegQueryValueExA(key.Get(), "DataPath", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    value[size < sizeof value ? size : sizeof value - 1] = '\0';
    paths.data_directory.Assign(value);
  }
}

}  // namespace

const ProcessPaths& Process() { return paths; }

void SetDataDirectory(const char* folder) { paths.data_directory.Assign(folder); }

void InitProcessDirectories() {
  SplitModulePath();
  ReadTempDirectory();
  paths.data_directory.Clear();
  ReadRegisteredDataPath();
  if (paths.data_directory.empty()) {
    paths.data_directory = paths.temp_directory.empty() ? paths.module_folder : paths.temp_directory;
  }
  if (paths.temp_directory.empty()) {
    SystemPath temp;
    PathJoin(temp, paths.data_directory.c_str(), "Temp");
    if (Machine().create_directory(temp.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) {
      paths.temp_directory = temp;
    } else {
      paths.temp_directory = paths.module_folder;
    }
  }
}
