#include "app/setup_options.h"

#include <cstring>

#include "system/locations.h"
#include "text/case_fold.h"

namespace {

bool TakeFolder(const char* text, Text& folder) {
  if (std::strlen(text) > Text::kMaxLength) return false;
  folder.Assign(text);
  return true;
}

}  // namespace

bool ReadOptions(const SetupChoices& choices, ProductRecord& package) {
  package.all_users = choices.all_users;
  package.start_menu_shortcuts = choices.start_menu_shortcuts;
  package.desktop_shortcut = choices.desktop_shortcut;
  package.add_to_path = choices.add_to_path;
  package.keep_data = choices.keep_data;
  for (std::size_t i = 0; i < package.association_count; ++i) package.associations[i].create = choices.associations[i];
  bool taken = TakeFolder(choices.program_folder, package.program_folder);
  if (package.has_data_folder) taken = TakeFolder(choices.data_folder, package.data_folder) && taken;
  return taken;
}

bool SwapDefaultDataFolder(bool all_users_now, Text& data_folder) {
  Text old_default = DefaultDataFolder(!all_users_now);
  if (old_default.empty() || !EqualIgnoringCase(data_folder.c_str(), old_default.c_str())) return false;
  Text new_default = DefaultDataFolder(all_users_now);
  if (new_default.empty()) return false;
  data_folder = new_default;
  return true;
}
