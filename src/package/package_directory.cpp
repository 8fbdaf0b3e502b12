#include "package/package_directory.h"

#include "text/case_fold.h"

std::uint16_t PackageCheckWord(const VersionRecord& version) {
  unsigned sum = version.language + version.reserved + version.patch + version.major + version.minor;
  return static_cast<std::uint16_t>((sum & 0xFFFFu) ^ 0x4931u);
}

std::size_t FindFileRecord(const PackageDirectory& package, const char* name) {
  for (std::size_t number = 2; number <= package.FileCount(); ++number) {
    if (EqualIgnoringCase(package.Record(number).name, name)) return number;
  }
  return 0;
}

const AssociationEntry* FindAssociation(const PackageDirectory& package, const char* extension) {
  for (std::size_t i = 0; i < package.association_count && i < kMaxAssociations; ++i) {
    if (EqualIgnoringCase(package.associations[i].extension.c_str(), extension)) return &package.associations[i];
  }
  return nullptr;
}

AssociationEntry* FindAssociation(PackageDirectory& package, const char* extension) {
  return const_cast<AssociationEntry*>(FindAssociation(static_cast<const PackageDirectory&>(package), extension));
}
