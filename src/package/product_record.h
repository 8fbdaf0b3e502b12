// ProductRecord: one product, as the package describes it or as an earlier
// run installed it. The setup state holds two of them, and every step of an
// install or uninstall keeps the installed one true to the machine.
#pragma once

#include <cstddef>
#include <cstdint>

#include "package/package_directory.h"
#include "text/fixed_text.h"

struct ProductRecord {
  std::uint32_t header_offset = 0;
  bool all_users = false;             // all-users folders and HKEY_LOCAL_MACHINE shell folders
  bool start_menu_shortcuts = false;  // shortcuts in the product's start-menu folder
  bool desktop_shortcut = false;
  bool add_to_path = false;      // the program folder is on the "Path" of the chosen scope
  bool has_data_folder = false;  // a package file goes to the data folder
  bool without_streams = false;  // package record: a setup copy, which cannot install
  VersionRecord version;
  FileList files;  // record 1 (the skin archive) first, never installed
  std::uint8_t association_count = 0;
  AssociationEntry associations[kMaxAssociations];
  Text program_folder;
  Text data_folder;
  Text start_menu_folder;
  Text desktop_folder;
  Text display_icon;  // "file,index" relative to the program folder
  // Package record: the setup copy that runs is to be deleted, by the
  // uninstall batch once the process has ended.
  bool uninstall_batch_pending = false;
  // Installed record: this run has made the start-menu folder already.
  bool start_menu_folder_made = false;
  bool keep_data = false;  // package record: "Do not remove/overwrite data"

  std::size_t FileCount() const { return files.Count(); }
  // `number` from 1 to FileCount().
  FileRecord& Record(std::size_t number) { return files.Record(number); }
  const FileRecord& Record(std::size_t number) const { return files.Record(number); }
  const FileRecord& SkinRecord() const { return files.Skin(); }

  // Clears the options, the files, the associations, the version and the
  // program and data folders.
  void Reset();
  // Lets go of the file records and association entries.
  void Free();
  // Takes what a package directory says about the product: header offset,
  // version, files, display icon, associations and whether a file goes to
  // the data folder. Folders and options stay as they are. The file list is
  // moved: a directory of many files is not held twice.
  void TakePackage(PackageDirectory&& package);
  // Takes the package contents of another record: header offset, version,
  // files and associations.
  void CopyPackageContents(const ProductRecord& other);
};
