#include "system/uninstall_registration.h"

#include <windows.h>

#include <cstring>

#include "log/logger.h"
#include "system/registry_key.h"
#include "system/registry_values.h"
#include "text/number.h"
#include "text/path.h"
#include "text/text.h"

namespace {

constexpr char kUninstallRoot[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kNotRegistered[] = "Software has not been registered";

// One value of the registration: a text, or a number when `text` is null.
struct RegistrationValue {
  const char* name;
  const char* text;
  std::uint32_t number;
};

// The setup executable and every product file (record 1, the skin archive,
// is part of the executable already), in units of 1000 bytes.
std::uint32_t EstimatedSize(const ProductRecord& package, std::uint32_t setup_size) {
  std::uint64_t bytes = setup_size;
  for (std::size_t number = 2; number <= package.FileCount(); ++number) bytes += package.Record(number).size;
  std::uint64_t units = bytes / 1000;
  return units > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(units);
}

Text InstallDate() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  Text date;  // YYYYMMDD
  AppendPaddedDecimal(date, now.wYear, 4);
  AppendPaddedDecimal(date, now.wMonth, 2);
  AppendPaddedDecimal(date, now.wDay, 2);
  return date;
}

Text UpdateInfoAddress(const char* product_name) {
  Text address(kPublisherHomePage);
  address.Append("/");
  address.Append(product_name);
  address.Append(".php");
  ToLowerGerman(address.data());
  return address;
}

bool WriteValues(const RegistryKey& key, const RegistrationValue* values, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const RegistrationValue& value = values[i];
    LONG result = value.text ? WriteTextValue(key, value.name, value.text, REG_SZ)
                             : WriteDwordValue(key, value.name, value.number);
    if (result != ERROR_SUCCESS) return false;
  }
  return true;
}

}  // namespace

std::uint32_t OptionFlags(const ProductRecord& record) {
  return (record.start_menu_shortcuts ? kFlagStartMenuShortcuts : 0u) |
         (record.desktop_shortcut ? kFlagDesktopShortcut : 0u) | (record.add_to_path ? kFlagAddToPath : 0u) |
         (record.all_users ? kFlagAllUsers : 0u);
}

void ApplyOptionFlags(std::uint32_t flags, ProductRecord& record) {
  record.start_menu_shortcuts = (flags & kFlagStartMenuShortcuts) != 0;
  record.desktop_shortcut = (flags & kFlagDesktopShortcut) != 0;
  record.add_to_path = (flags & kFlagAddToPath) != 0;
  record.all_users = (flags & kFlagAllUsers) != 0;
}

Text UninstallKeyPath(const char* product_name) {
  Text path(kUninstallRoot);
  path.Append(product_name);
  return path;
}

Text VersionNumberText(const VersionRecord& version) {
  Text text;
  AppendDecimal(text, version.major);
  text.Append(".");
  AppendDecimal(text, version.minor);
  return text;
}

void RegisterProduct(const ProductRecord& package, const char* product_name, const char* setup_copy_path,
                     std::uint32_t setup_size) {
  RegistryKey key;
  if (!key.Create(HKEY_LOCAL_MACHINE, UninstallKeyPath(product_name).c_str())) {
    CurrentLogger().LogError(kNotRegistered);
  }
  // Joined here, not in the record, so a second install of the same run
  // does not join the folder twice.
  Text display_icon;
  PathJoin(display_icon, package.program_folder.c_str(), package.display_icon.c_str());
  Text update_info = UpdateInfoAddress(product_name);
  Text install_date = InstallDate();
  Text display_version = VersionNumberText(package.version);
  // Quoted: Windows runs the command, and unquoted a path with blanks would
  // first name a program that a user may have put in a folder above.
  Text uninstall_command;
  if (!QuoteText(uninstall_command, setup_copy_path)) CurrentLogger().LogError(kNotRegistered);

  // What a later run reads back comes first: a registration cut short by a
  // power loss must still say with which options and folders the product's
  // files, links and data were made, or the next run would leave them behind.
  // Until "Flags" is there, the product counts as not registered.
  const RegistrationValue values[] = {
      {"Flags", nullptr, OptionFlags(package)},
      {"UninstallString", uninstall_command.c_str(), 0},
      {"DisplayName", product_name, 0},
      {"HelpLink", kPublisherInstallInfo, 0},
      {"URLUpdateInfo", update_info.c_str(), 0},
      {"URLInfoAbout", kPublisherHomePage, 0},
      {"Publisher", kPublisher, 0},
      {"DisplayIcon", display_icon.c_str(), 0},
      {"EstimatedSize", nullptr, EstimatedSize(package, setup_size)},
      {"InstallLocation", package.program_folder.c_str(), 0},
      {"InstallDate", install_date.c_str(), 0},
      {"VersionMajor", nullptr, package.version.major},
      {"VersionMinor", nullptr, package.version.minor},
      {"DisplayVersion", display_version.c_str(), 0},
  };
  bool written = WriteValues(key, values, 2);
  if (written && !package.data_folder.empty()) {
    written = WriteTextValue(key, "DataPath", package.data_folder.c_str(), REG_SZ) == ERROR_SUCCESS;
  } else if (written) {
    LONG result = DeleteValue(key, "DataPath");
    written = result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }
  written = written && WriteValues(key, values + 2, sizeof values / sizeof values[0] - 2);
  if (!written) CurrentLogger().LogError(kNotRegistered);
}

void RegisterDataFolder(const char* product_name, const char* data_folder) {
  RegistryKey key;
  if (key.Open(HKEY_LOCAL_MACHINE, UninstallKeyPath(product_name).c_str(), KEY_SET_VALUE)) {
    WriteTextValue(key, "DataPath", data_folder, REG_SZ);
  }
}

void UnregisterProduct(const char* product_name) {
  if (!DeleteRegistryKey(HKEY_LOCAL_MACHINE, UninstallKeyPath(product_name).c_str())) {
    LogErrorWith("The registration of %s has not been erased", product_name);
  }
}

bool ReadInstalledRegistration(const char* product_name, ProductRecord& installed, Text& uninstall_command) {
  RegistryKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, UninstallKeyPath(product_name).c_str(), KEY_READ)) return false;
  std::uint32_t flags = 0;
  if (!ReadDwordValue(key, "Flags", flags)) return false;
  ApplyOptionFlags(flags, installed);
  if (key.ReadText("UninstallString", uninstall_command)) {
    // Earlier installs wrote the path without quotes.
    char* path = uninstall_command.data();
    char* end = path[0] == '"' ? std::strchr(path + 1, '"') : nullptr;
    if (end != nullptr) {
      *end = '\0';
      uninstall_command = Text(path + 1);
    }
    FolderPart(installed.program_folder, uninstall_command.c_str());
  }
  key.ReadText("DataPath", installed.data_folder);
  return true;
}
