#include "app/setup_state.h"

#include <utility>

#include "log/logger.h"
#include "package/read_package.h"
#include "system/uninstall_registration.h"

void SetupState::Reset() {
  package.Reset();
  installed.Reset();
  package.uninstall_batch_pending = false;
  package.keep_data = false;
}

SetupState& TheSetupState() {
  static SetupState state;
  return state;
}

bool ReadPackageRecord(const char* path, ProductRecord& record, Text& product_name) {
  // Read whole or not at all: a half-read package must not pass for the installed one.
  PackageDirectory directory;
  if (!ReadPackage(directory, path)) return false;
  product_name = directory.product_name;
  record.TakePackage(std::move(directory));
  return true;
}

void LogVersionLine(const VersionRecord& version, const char* prefix) {
  Text line(prefix);
  line.Append(version.language != 0 ? "german, " : "english, ");
  if (version.patch != 0) line.Append("Patch, ");
  line.Append(VersionNumberText(version).c_str());
  CurrentLogger().LogLine(line.c_str());
}
