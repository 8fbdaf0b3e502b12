// The MouseTracker: the toolkit's mouse cursors, made from skin pictures,
// and hover tracking. Windows of this program get no WM_MOUSELEAVE: the
// tracker notes which window the pointer is over and, every 100 ms while it
// is over one, checks whether it has left, telling that window MouseLeave.
#pragma once

#include <windows.h>

#include "ui/core/widget_host.h"

class NativeWindow;

// Creates the hover timer in the wait table (module start-up).
void StartMouseTracker();
// Makes the cursors from the skin; call once the skin archive is open.
void LoadCursors();
void DestroyCursors();
void ShowCursorShape(CursorShape shape);

// A mouse move over `window` at `screen`: false when the pointer has not
// moved since the last one (the message is dropped); otherwise a new hover
// window hears of it and the previous one gets MouseLeave.
bool TrackPointer(NativeWindow& window, POINT screen);
// The window is going away.
void ForgetHoverWindow(const NativeWindow& window);
