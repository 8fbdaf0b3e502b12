#include "fs/own_image.h"

#include "handles/owned_handle.h"
#include "text/case_fold.h"
#include "text/fixed_text.h"

namespace {

SystemPath held_path;
// Not an owner object: the handle lives as long as the process, and the
// setup carries no destructor at exit for it.
HANDLE held = INVALID_HANDLE_VALUE;

// ntdll's check that two views map one file, the loader's own test.
using SameMappedFile = LONG(NTAPI*)(PVOID image_view, PVOID file_view);

bool MapsTheRunningImage(HANDLE file) {
  auto same = reinterpret_cast<SameMappedFile>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtAreMappedFilesTheSame")));
  if (same == nullptr) return false;
  KernelHandle mapping(CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping) return false;
  MappedView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
  return view && same(GetModuleHandleA(nullptr), view.Get()) == 0;
}

}  // namespace

bool HoldOwnImage(const char* module_path) {
  held_path.Assign(module_path);
  // No FILE_SHARE_DELETE: nobody renames or deletes the file while it is held.
  KernelHandle previous(held);
  KernelHandle file(
      CreateFileA(module_path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file && !MapsTheRunningImage(file.Get())) file.Reset();
  held = file ? file.Release() : INVALID_HANDLE_VALUE;
  return held != INVALID_HANDLE_VALUE;
}

bool IsOwnImage(const char* path) { return !held_path.empty() && EqualIgnoringCase(path, held_path.c_str()); }

HANDLE ReopenOwnImage() {
  if (held == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;
  return ReOpenFile(held, GENERIC_READ, FILE_SHARE_READ, 0);
}
