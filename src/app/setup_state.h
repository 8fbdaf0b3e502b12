// SetupState: the record of the run. It knows the product twice: as the
// package inside the setup executable, and as the installation that an
// earlier run registered on the machine. Beside the two records it keeps the
// product name, the uninstall key path and the path of the package.
#pragma once

#include <cstdint>

#include "fs/source_stream.h"
#include "inflate/inflate_state.h"
#include "package/package_directory.h"
#include "package/product_record.h"
#include "system/product_lock.h"
#include "text/fixed_text.h"

struct SetupState {
  ProductRecord package;
  SourceStream package_stream;  // the setup executable, open while an install runs
  InflateState decompressor{&package_stream};
  ProductRecord installed;
  std::uint32_t estimated_size = 0;  // the setup copy's size, for "EstimatedSize"
  Text product_name;
  Text uninstall_key_path;
  Text package_path;  // the running executable: it is the package
  ProductLock lock;   // taken before the registration is read, held to the end

  // Clears both records, the package record's uninstall_batch_pending and
  // keep_data.
  void Reset();
};

// The one state of the process.
SetupState& TheSetupState();

// Reads the package directory of the setup executable at `path` into the
// record (which keeps its folders and options) and `product_name`. False
// after the reader's logged failure.
bool ReadPackageRecord(const char* path, ProductRecord& record, Text& product_name);

// One log line: the prefix, "german, " or "english, ", "Patch, " for a patch,
// and the version number.
void LogVersionLine(const VersionRecord& version, const char* prefix);
