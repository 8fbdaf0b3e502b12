#include "package/product_record.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// What a package directory and a product record both hold of the package.
// `files` is the source's list, moved or copied.
template <typename Source>
void TakeContents(ProductRecord& record, const Source& source, FileList&& files) {
  record.header_offset = source.header_offset;
  record.version = source.version;
  record.files = std::move(files);
  record.association_count = source.association_count;
  std::copy(std::begin(source.associations), std::end(source.associations), std::begin(record.associations));
}

}  // namespace

void ProductRecord::Reset() {
  all_users = start_menu_shortcuts = desktop_shortcut = add_to_path = has_data_folder = false;
  files.Clear();
  association_count = 0;
  for (AssociationEntry& entry : associations) entry = AssociationEntry{};
  version = VersionRecord{};
  program_folder.Clear();
  data_folder.Clear();
}

void ProductRecord::Free() {
  files.Clear();
  for (std::size_t i = 0; i < association_count; ++i) associations[i] = AssociationEntry{};
  association_count = 0;
}

void ProductRecord::TakePackage(PackageDirectory&& package) {
  TakeContents(*this, package, std::move(package.files));
  display_icon = package.display_icon;
  has_data_folder = package.has_data_folder;
  without_streams = package.without_streams;
}

void ProductRecord::CopyPackageContents(const ProductRecord& other) {
  TakeContents(*this, other, FileList(other.files));
}
