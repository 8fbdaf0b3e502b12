#include "shell_link_reader.h"

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include "handles/com_ptr.h"

std::optional<ShellLinkInfo> ReadShellLink(const std::string& path) {
  ComPtr<IShellLinkA> link;
  ComPtr<IPersistFile> file;
  wchar_t wide_path[MAX_PATH];
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.Receive())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, file.Receive())) ||
      MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide_path, MAX_PATH) <= 0 ||
      FAILED(file->Load(wide_path, STGM_READ))) {
    return std::nullopt;
  }
  char text[MAX_PATH] = "";
  ShellLinkInfo info;
  WIN32_FIND_DATAA find_data;
  if (link->GetPath(text, MAX_PATH, &find_data, SLGP_RAWPATH) == S_OK) info.target = text;
  if (SUCCEEDED(link->GetArguments(text, MAX_PATH))) info.arguments = text;
  if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) info.working_folder = text;
  if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &info.icon_index))) info.icon_file = text;
  if (SUCCEEDED(link->GetDescription(text, MAX_PATH))) info.description = text;
  return info;
}
