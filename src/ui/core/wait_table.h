// The message loop and its table of waitable handles. The program has one
// thread: the loop waits with MsgWaitForMultipleObjects on the message queue
// and on every registered handle, and runs a handle's callback when it is
// signalled, between messages. Timers are waitable timers in the table.
//
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-msgwaitformultipleobjects
#pragma once

#include <windows.h>

#include <functional>

// MsgWaitForMultipleObjects waits on at most 63 handles besides the queue.
inline constexpr int kMaxWaitHandles = MAXIMUM_WAIT_OBJECTS - 1;

// Registers `handle`; `callback` runs each time it is signalled. False when
// the table is full.
bool AddWaitHandle(HANDLE handle, std::function<void()> callback);
// Drops `handle` from the table (the caller closes it).
void RemoveWaitHandle(HANDLE handle);

// An auto-reset waitable timer registered with `callback`; null when the
// system refuses it or the table is full.
HANDLE CreateTimer(std::function<void()> callback);
// The timer fires after `period_ms` and then every `period_ms`.
void StartTimer(HANDLE timer, int period_ms);
void StopTimer(HANDLE timer);

// Turns the loop until WM_QUIT. An exception raised by a window procedure or
// a callback ends the loop and travels on from here.
void RunLoop();
// Handles what is pending (messages and signalled handles) without waiting;
// for tests that drive windows step by step.
void RunPending();
