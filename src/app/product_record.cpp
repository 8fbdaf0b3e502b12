#include "app/product_record.h"

void ProductRecord::Reset() {
  all_users = start_menu_shortcuts = desktop_shortcut = add_to_path = has_data_folder = false;
  file_count = 0;
  for (FileRecord& record : files) record = FileRecord{};
  association_count = 0;
  for (AssociationEntry& entry : associations) entry = AssociationEntry{};
  version = VersionRecord{};
  program_folder.Clear();
  data_folder.Clear();
}
