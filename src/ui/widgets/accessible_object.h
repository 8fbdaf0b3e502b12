// AccessibleObject: a window's Active Accessibility interface (IAccessible),
// made on a reader's first WM_GETOBJECT and answered from the window's
// AccessibleSource. Children are simple elements (ids, no objects of their
// own), which is all a flat widget list needs.
//
// A reader may hold the object after the window is gone. The window keeps
// it through AccessibleObjectPtr, whose release disconnects it first: from
// then on every call fails with CO_E_OBJNOTCONNECTED (remote readers get
// RPC_E_DISCONNECTED from COM) instead of reaching a dead window.
//
// https://learn.microsoft.com/windows/win32/api/oleacc/nn-oleacc-iaccessible
#pragma once

#include <windows.h>

#include <memory>

#include "ui/core/accessible_item.h"

class AccessibleObject;
class NativeWindow;

struct AccessibleObjectRelease {
  void operator()(AccessibleObject* object) const;
};
using AccessibleObjectPtr = std::unique_ptr<AccessibleObject, AccessibleObjectRelease>;

// Answers WM_GETOBJECT: for the client area the window's object, made on
// the first request; 0 (the system's answer) for anything else.
LRESULT AnswerAccessibleRequest(AccessibleObjectPtr& object, NativeWindow& window, AccessibleSource& source,
                                WPARAM flags, LPARAM object_id);
// Tells readers that child `child` of the window's client area changed.
void NotifyAccessible(const NativeWindow& window, AccessibleEvent event, int child);
