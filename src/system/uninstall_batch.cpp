#include "system/uninstall_batch.h"

#include <windows.h>

#include <sddl.h>
#include <shellapi.h>

#include <string>

#include "fs/machine_calls.h"
#include "system/uninstall_batch_text.h"
#include "text/fixed_text.h"
#include "text/path.h"

namespace {

// RtlGenRandom, exported by advapi32 under this name.
extern "C" BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG length);

// Full access for administrators and the system alone, nothing inherited.
constexpr char kPrivateFolderAccess[] = "D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)";

// Makes "<temp>\tarnell-<24 random hex digits>"; `name` receives the last part.
bool MakePrivateFolder(const char* temp_directory, Text& folder, FixedText<40>& name) {
  SECURITY_ATTRIBUTES security{sizeof security, nullptr, FALSE};
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kPrivateFolderAccess, SDDL_REVISION_1,
                                                            &security.lpSecurityDescriptor, nullptr)) {
    return false;
  }
  bool made = false;
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
    made = PathJoin(folder, temp_directory, name.c_str()) && Machine().createDirectory(folder.c_str(), &security);
  }
  LocalFree(security.lpSecurityDescriptor);
  return made;
}

}  // namespace

bool WriteUninstallBatch(const char* module_path, const char* temp_directory) {
  Text folder;
  FixedText<40> folder_name;
  if (!MakePrivateFolder(temp_directory, folder, folder_name)) return false;
  Text batch;
  if (!PathJoin(batch, folder.c_str(), "_uninst.bat")) return false;

  HANDLE file = Machine().createFile(batch.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    Machine().removeDirectory(folder.c_str());
    return false;
  }
  const std::string text = UninstallBatchText(module_path, folder_name.c_str());
  DWORD written = 0;
  bool complete = Machine().writeFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                  written == text.size();
  CloseHandle(file);
  if (!complete) {
    Machine().deleteFile(batch.c_str());
    Machine().removeDirectory(folder.c_str());
    return false;
  }
  HINSTANCE started = ShellExecuteA(nullptr, "open", batch.c_str(), nullptr, temp_directory, SW_HIDE);
  return reinterpret_cast<INT_PTR>(started) > 32;
}
