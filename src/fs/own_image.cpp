#include "fs/own_image.h"

#include "handles/owned_handle.h"
#include "text/case_fold.h"
#include "text/fixed_text.h"

namespace {

SystemPath held_path;
KernelHandle held;

// ntdll's check that two views map one file, the loader's own test.
using SameMappedFile = LONG(NTAPI*)(PVOID image_view, PVOID file_view);

bool MapsTheRunningImage(HANDLE file) {
  auto same = reinterpret_cast<SameMappedFile>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtAreMappedFilesTheSame")));
  KernelHandle mapping(CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (same == nullptr || !mapping) return false;
  MappedView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
  return view && same(GetModuleHandleA(nullptr), view.Get()) == 0;
}

}  // namespace

bool HoldSetupFile(const char* path) {
  ReleaseHeldFile();
  held_path.Assign(path);
  // Neither FILE_SHARE_WRITE nor FILE_SHARE_DELETE: nobody changes, renames
  // or deletes the file while it is held.
  held.Reset(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return static_cast<bool>(held);
}

bool HoldOwnImage(const char* module_path) {
  if (HoldSetupFile(module_path) && !MapsTheRunningImage(held.Get())) held.Reset();
  return static_cast<bool>(held);
}

void ReleaseHeldFile() {
  held.Reset();
  held_path.Clear();
}

bool IsOwnImage(const char* path) { return !held_path.empty() && EqualIgnoringCase(path, held_path.c_str()); }

HANDLE ReopenOwnImage() {
  if (!held) return INVALID_HANDLE_VALUE;
  return ReOpenFile(held.Get(), GENERIC_READ, FILE_SHARE_READ, 0);
}
