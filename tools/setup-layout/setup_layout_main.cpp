// setup-layout: the setup window's widgets and where they lie, one line each:
//
//   NAME X Y WIDTH HEIGHT        (client coordinates of the window)
//
// for the package shape given by the options (the full window by default):
//
//   setup-layout [--associations N] [--no-data-folder]
//
// The first line is "window 0 0 WIDTH HEIGHT", the client size. Scripts click
// a widget by its name instead of by pixel numbers (tests/support/
// setup-window-lib.sh reads the lines).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/setup_window_layout.h"

namespace {

// The names scripts use; entries without an id are named by what they show.
std::string NameOf(const LayoutEntry& entry) {
  using namespace setup_id;
  switch (entry.id) {
    case kWindow: return "window";
    case 1: return "title-bar";
    case kLogView: return "log-view";
    case kProgramFolder: return "program-folder";
    case kDesktopShortcut: return "desktop-shortcut";
    case kStartMenuShortcuts: return "start-menu-shortcuts";
    case kAllUsers: return "all-users";
    case kAssociationLabel: return "association-label";
    case kAddToPath: return "add-to-path";
    case kDataFolder: return "data-folder";
    case kDataFolderLabel: return "data-folder-label";
    case kKeepData: return "keep-data";
    case kInstall: return "install";
    case kProgramFolderSearch: return "program-folder-search";
    case kUninstall: return "uninstall";
    case kDataFolderSearch: return "data-folder-search";
    case kClose: return "close";
    case 0: return entry.kind == kPictureKind ? "header" : "program-folder-label";
    default: break;
  }
  if (entry.id >= kFirstAssociation && entry.id < kFirstAssociation + 4) {
    return "association-" + std::to_string(entry.id - kFirstAssociation + 1);
  }
  return "entry-" + std::to_string(entry.id);
}

int Usage() {
  std::fprintf(stderr, "usage: setup-layout [--associations N] [--no-data-folder]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int associations = 4;
  bool data_folder_row = true;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--associations") == 0 && i + 1 < argc) {
      char* end = nullptr;
      long value = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || value < 0 || value > 4) return Usage();
      associations = static_cast<int>(value);
    } else if (std::strcmp(argv[i], "--no-data-folder") == 0) {
      data_folder_row = false;
    } else {
      return Usage();
    }
  }
  const std::vector<LayoutEntry> table = SetupLayoutFor(associations, data_folder_row);
  std::printf("window 0 0 %d %d\n", table[0].width, table[0].height);
  for (std::size_t i = 1; i < table.size(); ++i) {
    const LayoutEntry& entry = table[i];
    std::printf("%s %d %d %d %d\n", NameOf(entry).c_str(), entry.x, entry.y, entry.width, entry.height);
  }
  return 0;
}
