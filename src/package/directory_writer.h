// Writes a package directory in its stored layout: the package builder makes
// setups with it, and the setup-copy writer stores a changed version with it.
#pragma once

#include <cstdint>
#include <vector>

#include "package/package_directory.h"

// The 8 stored bytes of `version`, its check word as it stands.
void EncodeVersion(const VersionRecord& version, std::uint8_t out[kVersionRecordSize]);

// The directory followed by the trailer (the header offset). Association
// texts are stored back to back; the create flags are not stored.
std::vector<std::uint8_t> SerializePackageDirectory(const PackageDirectory& package);
