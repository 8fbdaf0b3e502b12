// What the test programs that read windows as a screen reader share: the
// GUID of the interface and a child id as readers pass it.
#pragma once

#include <windows.h>

#include <oleacc.h>

// The GUID itself: MinGW's import library gives IID_IAccessible as a thunk,
// which oleacc does not recognise.
inline constexpr GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

inline VARIANT Child(LONG id) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}
