#include "ui/core/mouse_tracker.h"

#include "graphics/skin_archive.h"
#include "handles/gdi_handles.h"
#include "ui/core/native_window.h"
#include "ui/core/wait_table.h"

namespace {

struct CursorPicture {
  CursorShape shape;
  const char* name;
  int hot_x;
  int hot_y;
};

constexpr CursorPicture kCursorPictures[] = {
    {CursorShape::kResizeNwse, "NWSEcur", 10, 11}, {CursorShape::kResizeNesw, "NESWcur", 10, 10},
    {CursorShape::kResizeNs, "NScur", 11, 11},     {CursorShape::kResizeWe, "WEcur", 10, 10},
    {CursorShape::kTextBeam, "IBeamcur", 10, 10},  {CursorShape::kArrow, "defcur11", 9, 9},
};
constexpr int kCursorCount = 6;
constexpr int kHoverPeriodMs = 100;

struct MouseTracker {
  CursorHandle cursors[kCursorCount];
  NativeWindow* hover = nullptr;
  HANDLE hover_timer = nullptr;
  POINT last = {-32768, -32768};
};

MouseTracker& Tracker() {
  static MouseTracker tracker;
  return tracker;
}

void LeaveHoverWindow() {
  MouseTracker& tracker = Tracker();
  NativeWindow* left = tracker.hover;
  tracker.hover = nullptr;
  StopTimer(tracker.hover_timer);
  if (left != nullptr) left->MouseLeave();
}

// Is the pointer still over the hover window's client area?
void CheckHover() {
  MouseTracker& tracker = Tracker();
  if (tracker.hover == nullptr || !tracker.hover->Exists()) {
    LeaveHoverWindow();
    return;
  }
  POINT cursor;
  RECT client;
  if (!GetCursorPos(&cursor) || !GetClientRect(tracker.hover->Handle(), &client)) return;
  MapWindowPoints(tracker.hover->Handle(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  if (!PtInRect(&client, cursor) || WindowFromPoint(cursor) != tracker.hover->Handle()) {
    tracker.last = POINT{-32768, -32768};
    LeaveHoverWindow();
  }
}

}  // namespace

void StartMouseTracker() {
  MouseTracker& tracker = Tracker();
  if (tracker.hover_timer == nullptr) tracker.hover_timer = CreateTimer(CheckHover);
}

void LoadCursors() {
  MouseTracker& tracker = Tracker();
  for (int i = 0; i < kCursorCount; ++i) {
    const CursorPicture& picture = kCursorPictures[i];
    tracker.cursors[static_cast<int>(picture.shape)] = Skin().MakeCursor(picture.name, picture.hot_x, picture.hot_y);
  }
}

void DestroyCursors() {
  for (CursorHandle& cursor : Tracker().cursors) cursor.Reset();
}

void ShowCursorShape(CursorShape shape) {
  HCURSOR cursor = Tracker().cursors[static_cast<int>(shape)].Get();
  // Without a skin cursor the system's arrow is better than no pointer.
  SetCursor(cursor != nullptr ? cursor : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
}

bool TrackPointer(NativeWindow& window, POINT screen) {
  MouseTracker& tracker = Tracker();
  // Windows send a move without moving when they appear under the pointer.
  if (screen.x == tracker.last.x && screen.y == tracker.last.y) return false;
  tracker.last = screen;
  if (tracker.hover != &window) {
    NativeWindow* previous = tracker.hover;
    tracker.hover = &window;
    if (previous != nullptr) previous->MouseLeave();
    StartTimer(tracker.hover_timer, kHoverPeriodMs);
  }
  return true;
}

void ForgetHoverWindow(const NativeWindow& window) {
  MouseTracker& tracker = Tracker();
  if (tracker.hover != &window) return;
  tracker.hover = nullptr;
  StopTimer(tracker.hover_timer);
}
