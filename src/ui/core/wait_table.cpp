#include "ui/core/wait_table.h"

#include "handles/owned_handle.h"
#include "ui/core/window_errors.h"

namespace {

struct WaitTable {
  HANDLE handles[MAXIMUM_WAIT_OBJECTS] = {};
  std::function<void()> callbacks[MAXIMUM_WAIT_OBJECTS];
  DWORD count = 0;
};

WaitTable& Table() {
  static WaitTable table;
  return table;
}

// Runs the callback of entry `index`. A copy runs, so that the callback may
// change the table.
void RunCallback(DWORD index) {
  std::function<void()> callback = Table().callbacks[index];
  if (callback) callback();
}

// Takes every pending message; false on WM_QUIT.
bool DispatchPending() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) return false;
    // No TranslateMessage: the window core makes characters itself.
    DispatchMessageA(&message);
    RaiseParkedWindowError();
  }
  return true;
}

}  // namespace

bool AddWaitHandle(HANDLE handle, std::function<void()> callback) {
  WaitTable& table = Table();
  if (handle == nullptr || table.count >= static_cast<DWORD>(kMaxWaitHandles)) return false;
  table.handles[table.count] = handle;
  table.callbacks[table.count] = std::move(callback);
  ++table.count;
  return true;
}

void RemoveWaitHandle(HANDLE handle) {
  WaitTable& table = Table();
  for (DWORD i = 0; i < table.count; ++i) {
    if (table.handles[i] != handle) continue;
    for (DWORD j = i + 1; j < table.count; ++j) {
      table.handles[j - 1] = table.handles[j];
      table.callbacks[j - 1] = std::move(table.callbacks[j]);
    }
    --table.count;
    table.handles[table.count] = nullptr;
    table.callbacks[table.count] = nullptr;
    return;
  }
}

HANDLE CreateTimer(std::function<void()> callback) {
  KernelHandle timer(CreateWaitableTimerA(nullptr, FALSE, nullptr));
  if (!timer || !AddWaitHandle(timer.Get(), std::move(callback))) return nullptr;
  // The timer lives as long as the program, in the table.
  return timer.Release();
}

void StartTimer(HANDLE timer, int period_ms) {
  if (timer == nullptr) return;
  LARGE_INTEGER due;
  due.QuadPart = -static_cast<LONGLONG>(period_ms) * 10000;  // relative, in 100-ns units
  SetWaitableTimer(timer, &due, period_ms, nullptr, nullptr, FALSE);
}

void StopTimer(HANDLE timer) {
  if (timer != nullptr) CancelWaitableTimer(timer);
}

void RunLoop() {
  for (;;) {
    WaitTable& table = Table();
    DWORD result = MsgWaitForMultipleObjects(table.count, table.handles, FALSE, INFINITE, QS_ALLINPUT);
    if (result < WAIT_OBJECT_0 + table.count) {
      RunCallback(result - WAIT_OBJECT_0);
      RaiseParkedWindowError();
    } else if (result == WAIT_OBJECT_0 + table.count) {
      if (!DispatchPending()) return;
    }
  }
}

void RunPending() {
  for (;;) {
    WaitTable& table = Table();
    DWORD result = MsgWaitForMultipleObjects(table.count, table.handles, FALSE, 0, QS_ALLINPUT);
    if (result < WAIT_OBJECT_0 + table.count) {
      RunCallback(result - WAIT_OBJECT_0);
      RaiseParkedWindowError();
    } else if (result == WAIT_OBJECT_0 + table.count) {
      if (!DispatchPending()) return;
    } else {
      return;
    }
  }
}
