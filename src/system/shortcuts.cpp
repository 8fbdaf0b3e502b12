#include "system/shortcuts.h"

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include <cstring>

#include "fs/file_operations.h"
#include "fs/machine_calls.h"
#include "handles/com_ptr.h"
#include "log/logger.h"
#include "system/locations.h"
#include "system/service_presence.h"
#include "system/services.h"
#include "text/case_fold.h"
#include "text/format.h"
#include "text/path.h"
#include "text/text.h"

namespace {

// The ü is the ANSI byte 0xFC; the literal is split so that the escape
// does not swallow the following letter.
constexpr char kStartMenuFolderNotCreated[] =
    "Start Men\xFC"
    " directory %s not created";
constexpr char kStartMenuLinkNotCreated[] = "Start menu shortcut %s not created";
constexpr char kDesktopLinkNotCreated[] = "Desktop shortcut %s not created";

bool HasStartMenuShortcut(const FileRecord& file) {
  return file.shortcut_kind == static_cast<std::uint16_t>(ShortcutKind::kStartMenu) ||
         file.shortcut_kind == static_cast<std::uint16_t>(ShortcutKind::kStartMenuAndDesktop);
}

bool HasDesktopShortcut(const FileRecord& file) {
  return file.shortcut_kind == static_cast<std::uint16_t>(ShortcutKind::kStartMenuAndDesktop);
}

// folder\name; empty when the folder is unknown or the path would not fit,
// so that no link is ever made or deleted relative to the current folder.
Text LinkPath(const char* folder, const char* name) {
  Text path;
  if (folder[0] == '\0' || !PathJoin(path, folder, name)) path.Clear();
  return path;
}

// The file's base name (up to its first ".") followed by ".lnk".
Text FileLinkName(const FileRecord& file) {
  Text name;
  NameWithoutExtension(name, file.name);
  name.Append(".lnk");
  return name;
}

Text ServiceLinkName(const char* pattern, const char* service_name) {
  Text name;
  FormatOne(name, pattern, service_name);
  return name;
}

Text SetupLinkName(const char* product_name) {
  Text name(product_name);
  name.Append("_Setup.lnk");
  return name;
}

void MakeLink(const char* folder, const char* link_name, const char* target, const char* icon_file,
              const char* arguments, int icon_index, const char* failure) {
  Text link = LinkPath(folder, link_name);
  if (link.empty() || !CreateShellLink(target, link.c_str(), icon_file, arguments, icon_index)) {
    LogErrorWith(failure, link.empty() ? link_name : link.c_str());
  }
}

// A link that is not there counts as deleted; any other failure has been
// logged by DeleteFileLogged and ends the sequence.
void DeleteLink(const char* folder, const char* link_name) {
  if (folder[0] == '\0') return;
  if (!DeleteFileLogged(folder, link_name, DeleteReport::kFailure)) throw AbortError{};
}

// Programs show their own icon; documents and scripts show the product's,
// from the package's first product file.
Text FileShortcutIcon(const ProductRecord& package, const FileRecord& file) {
  Text icon;
  const char* dot = std::strrchr(file.name, '.');
  if (dot == nullptr || !EqualIgnoringCase(dot + 1, "exe")) {
    PathJoin(icon, package.program_folder.c_str(), package.Record(2).name);
  }
  return icon;
}

// The three interface identifiers the link writer needs, defined here: the
// import library that carries them holds every identifier of the SDK in one
// object, 41 KB of the setup.
constexpr CLSID kShellLinkClass = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kShellLinkInterface = {0x000214EE, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID kPersistFileInterface = {0x0000010B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

}  // namespace

bool CreateShellLink(const char* target, const char* link_path, const char* icon_file, const char* arguments,
                     int icon_index) {
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(kShellLinkClass, nullptr, CLSCTX_INPROC_SERVER, kShellLinkInterface, link.Receive()))) {
    return false;
  }
  Text folder;
  FolderPart(folder, target);
  if (FAILED(link->SetPath(target)) || FAILED(link->SetWorkingDirectory(folder.c_str()))) return false;
  if (arguments != nullptr && arguments[0] != '\0' && FAILED(link->SetArguments(arguments))) return false;
  if (icon_file != nullptr && icon_file[0] != '\0') {
    // The short form keeps the icon location within the link's MAX_PATH field.
    Text short_icon;
    DWORD length = GetShortPathNameA(icon_file, short_icon.data(), Text::kMaxLength + 1);
    if (length == 0 || length > Text::kMaxLength) return false;
    if (FAILED(link->SetIconLocation(short_icon.c_str(), icon_index))) return false;
  }
  wchar_t wide_path[Text::kMaxLength + 1];
  if (MultiByteToWideChar(CP_ACP, 0, link_path, -1, wide_path, Text::kMaxLength + 1) <= 0) return false;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(kPersistFileInterface, file.Receive()))) return false;
  return Machine().save_link(file.Get(), wide_path) == S_OK;
}

void EnsureStartMenuFolder(const ShortcutRun& run) {
  if (run.installed.start_menu_folder_made || !run.package.start_menu_shortcuts) return;
  const char* folder = run.package.start_menu_folder.c_str();
  if (folder[0] == '\0' || !CreateFolderChain(folder, false)) LogErrorWith(kStartMenuFolderNotCreated, folder);
  run.installed.start_menu_folder_made = true;
}

void MakeFileShortcuts(const ShortcutRun& run, const FileRecord& file, const char* installed_path) {
  if (file.destination == static_cast<std::uint8_t>(Destination::kDataFolderUntouched)) return;
  const ProductRecord& package = run.package;
  const char* start_menu = package.start_menu_folder.c_str();

  if (file.service != 0 && package.start_menu_shortcuts) {
    Text service_name;
    NameWithoutExtension(service_name, file.name);
    EnsureStartMenuFolder(run);
    MakeLink(start_menu, ServiceLinkName("Start %s Service.lnk", service_name.c_str()).c_str(), installed_path,
             installed_path, "start", 1, kStartMenuLinkNotCreated);
    MakeLink(start_menu, ServiceLinkName("Stop %s Service.lnk", service_name.c_str()).c_str(), installed_path,
             installed_path, "stop", 2, kStartMenuLinkNotCreated);
  }

  if (!HasStartMenuShortcut(file)) return;
  Text icon = FileShortcutIcon(package, file);
  Text link_name = FileLinkName(file);
  if (package.start_menu_shortcuts) {
    EnsureStartMenuFolder(run);
    MakeLink(start_menu, link_name.c_str(), installed_path, icon.c_str(), nullptr, file.icon_index,
             kStartMenuLinkNotCreated);
  }
  if (HasDesktopShortcut(file) && package.desktop_shortcut) {
    MakeLink(package.desktop_folder.c_str(), link_name.c_str(), installed_path, icon.c_str(), nullptr, file.icon_index,
             kDesktopLinkNotCreated);
  }
}

bool PlanSetupCopy(const ShortcutRun& run, Text& setup_copy) {
  if (!SetupCopyPath(run.package, run.product_name, setup_copy)) {
    LogErrorWith("Error opening file: %s", setup_copy.c_str());
  }
  return !SameFile(setup_copy.c_str(), run.package_path);
}

void InstallSetupShortcut(const ShortcutRun& run, const char* setup_copy) {
  const ProductRecord& package = run.package;
  const ProductRecord& installed = run.installed;
  Text link_name = SetupLinkName(run.product_name);
  if (package.start_menu_shortcuts) {
    EnsureStartMenuFolder(run);
    MakeLink(package.start_menu_folder.c_str(), link_name.c_str(), setup_copy, nullptr, nullptr, 0,
             kStartMenuLinkNotCreated);
  }

  // A first install has no old copy; its empty folder must not turn the old
  // copy's path into a name relative to the current folder.
  Text old_copy;
  if (!installed.program_folder.empty() &&
      !EqualIgnoringCase(package.program_folder.c_str(), installed.program_folder.c_str()) &&
      SetupCopyPath(installed, run.product_name, old_copy)) {
    if (SameFile(old_copy.c_str(), run.package_path)) {
      // The running program cannot delete itself: the batch does it at the end.
      run.package.uninstall_batch_pending = true;
    } else if (!DeleteFileLogged(old_copy.c_str(), DeleteReport::kFailure)) {
      throw AbortError{};
    }
  }

  bool same_link = package.start_menu_shortcuts && package.all_users == installed.all_users;
  if (installed.start_menu_shortcuts && !same_link) DeleteLink(installed.start_menu_folder.c_str(), link_name.c_str());
}

void ReplaceFileShortcuts(const ShortcutRun& run, const FileRecord& old_file, const FileRecord& new_file) {
  const ProductRecord& before = run.installed;
  const ProductRecord& after = run.package;
  // Shortcuts that the new options make again at the same place are simply
  // overwritten; every other old one goes.
  bool same_folders = before.all_users == after.all_users;
  Text link_name = FileLinkName(old_file);
  if (HasStartMenuShortcut(old_file) && before.start_menu_shortcuts &&
      !(new_file.shortcut_kind != 0 && after.start_menu_shortcuts && same_folders)) {
    DeleteLink(before.start_menu_folder.c_str(), link_name.c_str());
  }
  if (HasDesktopShortcut(old_file) && before.desktop_shortcut &&
      !(HasDesktopShortcut(new_file) && after.desktop_shortcut && same_folders)) {
    DeleteLink(before.desktop_folder.c_str(), link_name.c_str());
  }
  if (old_file.service == 0) return;
  Text service_name;
  NameWithoutExtension(service_name, old_file.name);
  // A service whose program moves to another folder goes too: it would run a
  // deleted file, and the install registers the moved program afresh.
  Text old_image = ServiceImagePath(before, old_file);
  bool moved = !EqualIgnoringCase(old_image.c_str(), ServiceImagePath(after, new_file).c_str());
  if (new_file.service == 0 || moved) {
    RemoveProgramService(before, service_name.c_str(), old_image.c_str());
  } else if (!(after.start_menu_shortcuts && same_folders)) {
    RemoveServiceShortcuts(before, service_name.c_str());
  }
}

void RemoveFileShortcuts(const ProductRecord& record, const FileRecord& file) {
  Text link_name = FileLinkName(file);
  if (HasStartMenuShortcut(file) && record.start_menu_shortcuts) {
    DeleteLink(record.start_menu_folder.c_str(), link_name.c_str());
  }
  if (HasDesktopShortcut(file) && record.desktop_shortcut) DeleteLink(record.desktop_folder.c_str(), link_name.c_str());
}

void RemoveServiceShortcuts(const ProductRecord& record, const char* service_name) {
  DeleteLink(record.start_menu_folder.c_str(), ServiceLinkName("Start %s Service.lnk", service_name).c_str());
  DeleteLink(record.start_menu_folder.c_str(), ServiceLinkName("Stop %s Service.lnk", service_name).c_str());
}

void UninstallService(const ProductRecord& record, const char* service_name, const char* image_path) {
  if (RunsOtherProgram(service_name, image_path)) {
    LogLineWith("Service %s runs another program and is left as it is", service_name);
    if (record.start_menu_shortcuts) RemoveServiceShortcuts(record, service_name);
    return;
  }
  StopResult stopped = StopProgramService(service_name);
  if (stopped == StopResult::kNotStopped) LogErrorWith("The service %s has not been stoppt", service_name);
  if (!DeleteProgramService(service_name)) LogErrorWith("Service %s deinstallation failed", service_name);
  // Only a service that is gone loses its shortcuts.
  if (record.start_menu_shortcuts) RemoveServiceShortcuts(record, service_name);
}

void RemoveProgramService(const ProductRecord& record, const char* service_name, const char* image_path) {
  if (ServiceRegistered(service_name)) {
    UninstallService(record, service_name, image_path);
  } else if (record.start_menu_shortcuts) {
    RemoveServiceShortcuts(record, service_name);
  }
}

bool RemoveSetupCopy(const ProductRecord& record, const char* product_name, const char* running_path) {
  bool still_there = false;
  Text copy;
  if (!record.program_folder.empty() && SetupCopyPath(record, product_name, copy)) {
    // Only the running program may be left to the batch: any other copy
    // that stays (held open by another program) would leave the product
    // unregistered with its copy behind, and the batch would delete the
    // program that runs instead.
    // By identity: started as C:\PROGRA~1\... or from a substituted drive,
    // the text differs but the file is the one that runs.
    bool running = SameFile(copy.c_str(), running_path);
    still_there = !DeleteFileLogged(copy.c_str(), running ? DeleteReport::kSilent : DeleteReport::kFailure);
    if (still_there && !running) throw AbortError{};
  }
  if (record.start_menu_shortcuts) DeleteLink(record.start_menu_folder.c_str(), SetupLinkName(product_name).c_str());
  return still_there;
}
