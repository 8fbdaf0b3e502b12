// Writes a package directory in its stored layout: the package builder makes
// setups with it, and the setup-copy writer stores a changed version with it.
#pragma once

#include <cstdint>
#include <vector>

#include "package/package_directory.h"

// The 8 stored bytes of `version`, its check word as it stands.
void EncodeVersion(const VersionRecord& version, std::uint8_t out[kVersionRecordSize]);

// Whether `package` needs the extended layout: more than 19 product files, a
// file in a subfolder, or no streams. Every other package keeps the first.
bool NeedsExtendedDirectory(const PackageDirectory& package);

// The directory followed by the trailer (the header offset). Association
// texts are stored back to back; the create flags are not stored.
std::vector<std::uint8_t> SerializePackageDirectory(const PackageDirectory& package);
