// Writes the setup copy that stays in the program folder: the running setup
// byte for byte, except that its version is no longer marked as a patch, so
// that running the copy later repairs or uninstalls rather than patches.
// A signed setup's certificate table is copied along, so the copy's trailer
// is found the same way (the signature of a changed copy no longer matches).
// A package in the extended layout gives a copy without its payload: the
// program, the skin archive and the directory marked kWithoutStreams, with
// neither streams nor certificate table, so a large product does not take
// its disk space twice.
// The copy's PE CheckSum is that of its own bytes, so that the copy passes
// the same check of the whole file as the setup it came from.
#pragma once

#include <cstdint>

#include "fs/source_stream.h"
#include "package/package_directory.h"

// `package_stream` is open on the running setup, `package` its directory
// (its header offset, version and skin record are used); the patch flag is
// cleared in `package` too. Returns the running setup's
// size in bytes. Any failure ends in AbortError after its line.
std::uint64_t WriteSetupCopy(SourceStream& package_stream, PackageDirectory& package, const char* destination);
