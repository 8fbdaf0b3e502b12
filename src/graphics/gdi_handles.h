// Owners for the GDI and user32 objects the graphics code makes: each is
// deleted exactly once, when its owner ends, on every path.
//
// https://learn.microsoft.com/windows/win32/api/wingdi/nf-wingdi-deleteobject
#pragma once

#include <windows.h>

#include <utility>

// A pen, font or bitmap.
template <typename Handle>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(Handle handle) : handle_(handle) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;

  void Reset(Handle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }
  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

using PenObject = GdiObject<HPEN>;
using FontObject = GdiObject<HFONT>;
using BitmapObject = GdiObject<HBITMAP>;

// A device context the program created (CreateDCA, CreateCompatibleDC), as
// opposed to one it borrowed from a window.
class OwnedDc {
 public:
  OwnedDc() = default;
  explicit OwnedDc(HDC dc) : dc_(dc) {}
  ~OwnedDc() { Reset(); }
  OwnedDc(OwnedDc&& other) noexcept : dc_(std::exchange(other.dc_, nullptr)) {}
  OwnedDc& operator=(OwnedDc&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.dc_, nullptr));
    return *this;
  }
  OwnedDc(const OwnedDc&) = delete;
  OwnedDc& operator=(const OwnedDc&) = delete;

  void Reset(HDC dc = nullptr) {
    if (dc_) DeleteDC(dc_);
    dc_ = dc;
  }
  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HDC dc_ = nullptr;
};

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

// A cursor made from a picture; destroyed with DestroyIcon, as
// CreateIconIndirect asks.
class CursorHandle {
 public:
  CursorHandle() = default;
  explicit CursorHandle(HCURSOR cursor) : cursor_(cursor) {}
  ~CursorHandle() { Reset(); }
  CursorHandle(CursorHandle&& other) noexcept : cursor_(std::exchange(other.cursor_, nullptr)) {}
  CursorHandle& operator=(CursorHandle&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.cursor_, nullptr));
    return *this;
  }
  CursorHandle(const CursorHandle&) = delete;
  CursorHandle& operator=(const CursorHandle&) = delete;

  void Reset(HCURSOR cursor = nullptr) {
    if (cursor_) DestroyIcon(cursor_);
    cursor_ = cursor;
  }
  HCURSOR Get() const { return cursor_; }
  explicit operator bool() const { return cursor_ != nullptr; }

 private:
  HCURSOR cursor_ = nullptr;
};
