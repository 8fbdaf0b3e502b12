// The one way the setup owns an operating-system handle: an OwnedHandle frees
// it exactly once, when its owner ends, on every path, and can hand it over
// by moving. Each kind of handle has its alias below with the call that frees
// it. A handle that holds nothing is null, or for kernel handles also
// INVALID_HANDLE_VALUE, which CreateFile and FindFirstFile return on failure.
//
// https://learn.microsoft.com/windows/win32/sysinfo/handles-and-objects
#pragma once

#include <windows.h>

#include <type_traits>
#include <utility>

template <typename Handle, auto Free>
class OwnedHandle {
 public:
  OwnedHandle() = default;
  explicit OwnedHandle(Handle handle) : handle_(handle) {}
  ~OwnedHandle() { Reset(); }
  OwnedHandle(OwnedHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  OwnedHandle& operator=(OwnedHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;

  void Reset(Handle handle = nullptr) {
    if (Holds(handle_)) Free(handle_);
    handle_ = handle;
  }
  // Gives the handle up to a call that takes it over (SetClipboardData).
  Handle Release() { return std::exchange(handle_, nullptr); }
  // The out parameter of a call that opens a handle (RegOpenKeyExA).
  Handle* Receive() {
    Reset();
    return &handle_;
  }
  Handle Get() const { return handle_; }
  explicit operator bool() const { return Holds(handle_); }

 private:
  static bool Holds(Handle handle) {
    if constexpr (std::is_same_v<Handle, HANDLE>) return handle != nullptr && handle != INVALID_HANDLE_VALUE;
    return handle != nullptr;
  }

  Handle handle_ = nullptr;
};

// Kernel objects: files, waitable timers, threads, processes.
using KernelHandle = OwnedHandle<HANDLE, &::CloseHandle>;
// A directory search of FindFirstFileA.
using FindHandle = OwnedHandle<HANDLE, &::FindClose>;
using RegistryHandle = OwnedHandle<HKEY, &::RegCloseKey>;
// The service control manager and the services it opens.
using ServiceHandle = OwnedHandle<SC_HANDLE, &::CloseServiceHandle>;
using GlobalMemory = OwnedHandle<HGLOBAL, &::GlobalFree>;
// Memory the system allocated for the caller: security descriptors, SIDs.
using LocalMemory = OwnedHandle<HLOCAL, &::LocalFree>;
// A SID of AllocateAndInitializeSid.
using SidMemory = OwnedHandle<PSID, &::FreeSid>;
// A view of a file mapping (MapViewOfFile).
using MappedView = OwnedHandle<void*, &::UnmapViewOfFile>;
// A library loaded by LoadLibraryExA, also as a data file for its resources.
using ModuleHandle = OwnedHandle<HMODULE, &::FreeLibrary>;

inline void FreeProcessHeapBlock(void* block) { HeapFree(GetProcessHeap(), 0, block); }
// A block a call allocated on the process heap for the caller.
using ProcessHeapBlock = OwnedHandle<void*, &FreeProcessHeapBlock>;

// The process and first thread that CreateProcess hands over, both to close.
struct StartedProcess {
  explicit StartedProcess(const PROCESS_INFORMATION& started) : process(started.hProcess), thread(started.hThread) {}
  KernelHandle process;
  KernelHandle thread;
};

// GDI and user32 objects.
using PenObject = OwnedHandle<HPEN, &::DeleteObject>;
using FontObject = OwnedHandle<HFONT, &::DeleteObject>;
using BitmapObject = OwnedHandle<HBITMAP, &::DeleteObject>;
using RegionObject = OwnedHandle<HRGN, &::DeleteObject>;
// A device context the program created (CreateDCA, CreateCompatibleDC), as
// opposed to one it borrowed from a window.
using OwnedDc = OwnedHandle<HDC, &::DeleteDC>;
// An icon, or a cursor made from a picture: CreateIconIndirect and
// LoadImageA's icons both ask for DestroyIcon.
using IconHandle = OwnedHandle<HICON, &::DestroyIcon>;
using CursorHandle = IconHandle;
// A window the program made for itself alone, such as a message-only one.
using WindowHandle = OwnedHandle<HWND, &::DestroyWindow>;
