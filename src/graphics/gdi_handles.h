// Owners for the GDI and user32 objects the graphics code makes: each is
// deleted exactly once, when its owner ends, on every path.
//
// https://learn.microsoft.com/windows/win32/api/wingdi/nf-wingdi-deleteobject
#pragma once

#include <windows.h>

#include <utility>

// Owns one handle and frees it with `Free` when the owner ends.
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
    if (handle_) Free(handle_);
    handle_ = handle;
  }
  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

using PenObject = OwnedHandle<HPEN, &::DeleteObject>;
using FontObject = OwnedHandle<HFONT, &::DeleteObject>;
using BitmapObject = OwnedHandle<HBITMAP, &::DeleteObject>;
// A device context the program created (CreateDCA, CreateCompatibleDC), as
// opposed to one it borrowed from a window.
using OwnedDc = OwnedHandle<HDC, &::DeleteDC>;
// A cursor made from a picture; CreateIconIndirect asks for DestroyIcon.
using CursorHandle = OwnedHandle<HCURSOR, &::DestroyIcon>;

// Selects an object into a context for the length of a scope and puts the
// previous one back at its end, so the object can be deleted afterwards.
class ScopedSelection {
 public:
  ScopedSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelection() {
    if (previous_) SelectObject(dc_, previous_);
  }
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;

  // False when the selection failed.
  explicit operator bool() const { return previous_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};
