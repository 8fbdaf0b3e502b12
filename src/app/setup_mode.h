// The choice of mode. At start the setup reads its package, reads the
// installed registration back and compares the two: the result is what the
// setup window shows before the user does anything (the install button's
// caption and state, the uninstall button, the check boxes, the folder
// fields). The window applies a SetupView; nothing here needs a window.
#pragma once

#include <cstdint>

#include "app/setup_state.h"
#include "package/package_directory.h"
#include "text/fixed_text.h"

enum class SetupMode : std::uint8_t { kInstall, kUpdate, kRepair, kPatch };

// "Install", "Update", "Repair" or "Patch": the install button's caption.
const char* ModeCaption(SetupMode mode);

enum class DataFolderRow : std::uint8_t {
  kShown,     // the field can be edited
  kReadOnly,  // the field and its "Search" button are disabled
  kRemoved,   // neither the package nor the installation has a data folder
};

struct SetupView {
  SetupMode mode = SetupMode::kInstall;
  bool install_enabled = true;
  bool uninstall_enabled = false;
  bool start_menu_shortcuts = false;
  bool desktop_shortcut = false;
  bool all_users = false;
  bool add_to_path = false;
  bool associations[kMaxAssociations] = {};  // one check box per package association
  Text program_folder;
  Text data_folder;
  DataFolderRow data_folder_row = DataFolderRow::kShown;
};

// Reads the package at `package_path` (the running executable, or another
// setup tarnell-deploy runs as if it were its own) and the registration, and
// decides the mode. A package that cannot be read, or whose file is damaged,
// raises AbortError after its log line; so does a product whose lock another
// run holds (state.lock.Busy() then tells). A run that only looks
// (`looks_only`: a status query, which needs no elevation) takes no lock.
SetupView StartSetup(SetupState& state, const char* package_path, bool looks_only = false);

// The decision alone, once both records are read. `registered` tells whether
// the product is registered, `uninstall_command` is its registered setup copy.
// Sets the package associations' create flags and, when the setup copy is
// read, fills the installed record from it.
SetupView DecideSetupMode(SetupState& state, bool registered, const char* uninstall_command);
