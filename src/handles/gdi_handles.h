// Selections of GDI objects into a device context; the objects themselves
// are owned through handles/owned_handle.h, which this header brings along.
//
// https://learn.microsoft.com/windows/win32/api/wingdi/nf-wingdi-selectobject
#pragma once

#include <windows.h>

#include "handles/owned_handle.h"

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
