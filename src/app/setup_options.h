// The user's choices in the setup window, read back into the package record
// before an install, and the swap of a default data folder when the
// all-users option changes.
#pragma once

#include "package/package_directory.h"
#include "package/product_record.h"
#include "text/fixed_text.h"

struct SetupChoices {
  bool all_users = false;             // "For all user on this machine"
  bool start_menu_shortcuts = false;  // "Allow start menu shortcuts"
  bool desktop_shortcut = false;      // "Allow desktop shortcut"
  bool add_to_path = false;           // "Add program directory to PATH"
  bool keep_data = false;             // "Do not remove/overwrite data"
  bool associations[kMaxAssociations] = {};
  const char* program_folder = "";
  const char* data_folder = "";
};

// Copies the choices into the package record; the data folder only when the
// package has one. A folder text longer than 512 characters is refused: the
// record keeps its folder and the result is false.
bool ReadOptions(const SetupChoices& choices, ProductRecord& package);

// When the data folder field holds one scope's default data folder and the
// all-users option now names the other scope, the field takes that scope's
// default. Any other text stays. True when the field changed.
bool SwapDefaultDataFolder(bool all_users_now, Text& data_folder);
