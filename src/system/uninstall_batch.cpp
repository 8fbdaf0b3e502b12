#include "system/uninstall_batch.h"

#include <windows.h>

#include <sddl.h>

#include <string>

#include "fs/machine_calls.h"
#include "handles/owned_handle.h"
#include "system/uninstall_batch_text.h"
#include "text/fixed_text.h"
#include "text/path.h"

namespace {

// RtlGenRandom, exported by advapi32 under this name.
extern "C" BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG length);

// Full access for administrators and the system alone, nothing inherited.
constexpr char kPrivateFolderAccess[] = "D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

// Makes "<parent>\tarnell-<24 random hex digits>".
bool MakePrivateFolder(const char* parent_folder, Text& folder) {
  LocalMemory descriptor;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kPrivateFolderAccess, SDDL_REVISION_1, descriptor.Receive(),
                                                            nullptr)) {
    return false;
  }
  SECURITY_ATTRIBUTES security{sizeof security, descriptor.Get(), FALSE};
  bool made = false;
  FixedText<40> name;
  for (int attempt = 0; attempt < 8 && !made; ++attempt) {
    unsigned char random[12];
    if (!SystemFunction036(random, sizeof random)) break;
    const char kHex[] = "0123456789abcdef";
    name.Assign("tarnell-");
    for (unsigned char byte : random) {
      const char digits[] = {kHex[byte >> 4], kHex[byte & 15], '\0'};
      name.Append(digits);
    }
    // CreateDirectory never opens an existing folder: a name someone else
    // took first simply fails and another is drawn.
    made = PathJoin(folder, parent_folder, name.c_str()) && Machine().create_directory(folder.c_str(), &security);
  }
  return made;
}

// The folder that `get` (GetSystemDirectoryA, GetSystemWindowsDirectoryA)
// names, empty when it does not fit.
Text WindowsFolder(UINT(WINAPI* get)(LPSTR, UINT)) {
  Text path;
  UINT length = get(path.data(), static_cast<UINT>(Text::kMaxLength + 1));
  if (length == 0 || length > Text::kMaxLength) path.Clear();
  return path;
}

// Runs `cmd.exe /d /c "<batch>"` in the system folder, without a window.
bool StartBatch(const char* system_folder, const char* command_processor, const char* batch) {
  std::string command = std::string("\"") + command_processor + "\" /d /c \"" + batch + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(command_processor, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      system_folder, &startup, &process)) {
    return false;
  }
  // Nothing waits for the batch: it deletes the setup after the setup ends.
  StartedProcess started(process);
  return true;
}

}  // namespace

bool WriteUninstallBatch(const char* module_path) {
  Text windows = WindowsFolder(GetSystemWindowsDirectoryA);
  Text parent;
  return !windows.empty() && PathJoin(parent, windows.c_str(), "Temp") &&
         WriteUninstallBatch(module_path, parent.c_str());
}

bool WriteUninstallBatch(const char* module_path, const char* parent_folder) {
  Text system_folder = WindowsFolder(GetSystemDirectoryA);
  Text command_processor;
  if (system_folder.empty() || !PathJoin(command_processor, system_folder.c_str(), "cmd.exe")) return false;
  Text folder;
  if (!MakePrivateFolder(parent_folder, folder)) return false;
  Text batch;
  if (!PathJoin(batch, folder.c_str(), "_uninst.bat")) return false;

  KernelHandle file(Machine().create_file(batch.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    Machine().remove_directory(folder.c_str());
    return false;
  }
  const std::string text = UninstallBatchText(module_path, folder.c_str(), command_processor.c_str());
  DWORD written = 0;
  bool complete = Machine().write_file(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size();
  file.Reset();
  if (!complete) {
    Machine().delete_file(batch.c_str());
    Machine().remove_directory(folder.c_str());
    return false;
  }
  return StartBatch(system_folder.c_str(), command_processor.c_str(), batch.c_str());
}
