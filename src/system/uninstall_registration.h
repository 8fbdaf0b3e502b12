// The product's registration under the system's "Uninstall" key: the list of
// installed programs shows it and starts the setup copy to remove it, and a
// later run of the setup reads it back to find the installation's folders
// and options. It always lives under HKEY_LOCAL_MACHINE; the all-users option
// is one of the "Flags" bits.
//
// https://learn.microsoft.com/windows/win32/msi/uninstall-registry-key
#pragma once

#include <cstdint>

#include "package/product_record.h"
#include "text/fixed_text.h"

inline constexpr char kPublisher[] = "Tarnell AG";
inline constexpr char kPublisherHomePage[] = "https://www.tarnell.com";
inline constexpr char kPublisherInstallInfo[] = "https://www.tarnell.com/install.php";

// The "Flags" bits: the options an installation was made with.
enum OptionFlag : std::uint32_t {
  kFlagStartMenuShortcuts = 1,
  kFlagDesktopShortcut = 2,
  kFlagAddToPath = 4,
  kFlagAllUsers = 8,
};

std::uint32_t OptionFlags(const ProductRecord& record);
void ApplyOptionFlags(std::uint32_t flags, ProductRecord& record);

// "SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\" and the product
// name. A name too long for the Text gives a path that no key can have (its
// last part exceeds the registry's 255 characters), so it is never cut into
// another product's key.
Text UninstallKeyPath(const char* product_name);
// Major, ".", minor, in decimal: 1.0, 2.13.
Text VersionNumberText(const VersionRecord& version);

// Writes the registration of the package record, with the setup copy as the
// uninstall command. `setup_size` is the size of the setup executable whose
// copy was written in this run (0 when this run is the copy); the product
// files' sizes are added to it for "EstimatedSize". A failure is reported
// ("Software has not been registered") through LogError.
void RegisterProduct(const ProductRecord& package, const char* product_name, const char* setup_copy_path,
                     std::uint32_t setup_size);
// Writes the data folder into an existing registration, as soon as the data
// files have moved there. Nothing is written when the product is not
// registered; a refused write is left to RegisterProduct to report.
void RegisterDataFolder(const char* product_name, const char* data_folder);
// Deletes the registration with all its values; a failure is reported
// through LogError. A product that is not registered counts as removed.
void UnregisterProduct(const char* product_name);

// Reads the registration back into the installed record: its program folder
// (the folder of the uninstall command), data folder and option flags.
// `uninstall_command` receives the registered setup copy's path, from the
// quoted command or the bare path that earlier installs wrote. Returns
// false when the product is not registered, or its registration was cut
// short before its "Flags" were written.
bool ReadInstalledRegistration(const char* product_name, ProductRecord& installed, Text& uninstall_command);
