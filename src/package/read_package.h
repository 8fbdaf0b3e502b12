// Reads the package directory of a setup executable from its file: the
// running setup's own package, or the setup copy an earlier install left.
#pragma once

#include "package/package_directory.h"

// True when the whole directory was read; false after one logged line
// (the file's open, size, seek or read error, the invalid package line, or
// why the package was refused). What was read before a failure stays.
bool ReadPackage(PackageDirectory& package, const char* path);
