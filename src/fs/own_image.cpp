#include "fs/own_image.h"

#include "text/case_fold.h"
#include "text/fixed_text.h"

namespace {

SystemPath held_path;
HANDLE held = INVALID_HANDLE_VALUE;

// ntdll's check that two views map one file, the loader's own test.
using SameMappedFile = LONG(NTAPI*)(PVOID image_view, PVOID file_view);

bool MapsTheRunningImage(HANDLE file) {
  auto same = reinterpret_cast<SameMappedFile>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtAreMappedFilesTheSame")));
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  if (same == nullptr || mapping == nullptr) {
    if (mapping != nullptr) CloseHandle(mapping);
    return false;
  }
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  bool is_image = view != nullptr && same(GetModuleHandleA(nullptr), view) == 0;
  if (view != nullptr) UnmapViewOfFile(view);
  CloseHandle(mapping);
  return is_image;
}

}  // namespace

bool HoldSetupFile(const char* path) {
  ReleaseHeldFile();
  held_path.Assign(path);
  // Neither FILE_SHARE_WRITE nor FILE_SHARE_DELETE: nobody changes, renames
  // or deletes the file while it is held.
  held = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return held != INVALID_HANDLE_VALUE;
}

bool HoldOwnImage(const char* module_path) {
  if (HoldSetupFile(module_path) && !MapsTheRunningImage(held)) {
    CloseHandle(held);
    held = INVALID_HANDLE_VALUE;
  }
  return held != INVALID_HANDLE_VALUE;
}

void ReleaseHeldFile() {
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  held = INVALID_HANDLE_VALUE;
  held_path.Clear();
}

bool IsOwnImage(const char* path) { return !held_path.empty() && EqualIgnoringCase(path, held_path.c_str()); }

HANDLE ReopenOwnImage() {
  if (held == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;
  return ReOpenFile(held, GENERIC_READ, FILE_SHARE_READ, 0);
}
