#include "folder_browser/folder_names.h"

#include "fs/file_operations.h"
#include "log/logger.h"
#include "package/file_name_rules.h"
#include "text/path.h"

bool IsPlainFolderName(const char* name) { return FileNameFault(name) == nullptr; }

bool MakeFolderIn(const char* parent, const char* name, Text& path) {
  if (!IsPlainFolderName(name) || !PathJoin(path, parent, name)) {
    LogLineWith("Directory NOT created: %s", name);
    return false;
  }
  return CreateFolderChain(path.c_str(), true);
}
