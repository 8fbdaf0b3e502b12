// The dispatch table: every message a toolkit window handles, turned into a
// call of one of its operations. Once the object is attached the default
// window procedure is never called, so the system neither draws a frame nor
// closes the window on Alt+F4; every message not listed here returns 0.
//
// https://learn.microsoft.com/windows/win32/winmsg/about-messages-and-message-queues
#include "graphics/graphics_resources.h"
#include "ui/core/key_codes.h"
#include "ui/core/keyboard_state.h"
#include "ui/core/mouse_tracker.h"
#include "ui/core/native_window.h"

namespace {

// The DDE messages, WM_DDE_FIRST to WM_DDE_LAST.
constexpr UINT kFirstDdeMessage = 0x03E0;
constexpr UINT kLastDdeMessage = 0x03E8;
// Minimised windows are parked here.
constexpr int kMinimisedPosition = -32000;

// The signed coordinates of a mouse message (GET_X_LPARAM and GET_Y_LPARAM,
// whose header would also bring macros that clash with the canvas).
int XOf(LPARAM l_param) { return static_cast<short>(LOWORD(l_param)); }
int YOf(LPARAM l_param) { return static_cast<short>(HIWORD(l_param)); }

}  // namespace

LRESULT NativeWindow::HandleMessage(UINT message, WPARAM w_param, LPARAM l_param) {
  if (message >= kFirstDdeMessage && message <= kLastDdeMessage) {
    DdeMessage(message, w_param, l_param);
    return 0;
  }
  switch (message) {
    case WM_ACTIVATE:
      // While a popup is open its owner stays the active window for the user.
      if (OpenPopup() == nullptr) Activate((w_param & 0xFF) != 0);
      return 0;
    case WM_PAINT: Paint(); return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      // High contrast may have been switched: text colours are chosen anew.
      InvalidateRect(handle_, nullptr, FALSE);
      return 0;
    case WM_QUERYOPEN:
    case WM_ERASEBKGND:
    case WM_MOUSEACTIVATE:
    case WM_NCCREATE:
    case WM_NCHITTEST:
    case WM_NCACTIVATE: return 1;
    case WM_ACTIVATEAPP:
      // Switching to another application closes the open popup.
      if (w_param == FALSE && OpenPopup() == this) {
        NativeWindow* owner = owner_;
        KeyDown(key::kEscape);
        if (owner != nullptr) owner->Activate(false);
      }
      return 0;
    case WM_SETCURSOR:
      if (static_cast<short>(LOWORD(l_param)) == HTERROR) {
        // A click on a window that a dialog disabled brings the dialog up.
        ShowCursorShape(CursorShape::kArrow);
        UINT mouse = HIWORD(l_param);
        NativeWindow* top = CurrentTopWindow();
        if ((mouse == WM_LBUTTONDOWN || mouse == WM_RBUTTONDOWN) && top != nullptr && top != this && top->Exists()) {
          SetActiveWindow(top->Handle());
        }
      }
      return 1;
    case WM_GETMINMAXINFO: FillMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(l_param)); return 0;
    case WM_WINDOWPOSCHANGED: {
      const auto& position = *reinterpret_cast<const WINDOWPOS*>(l_param);
      if (position.x == kMinimisedPosition && position.y == kMinimisedPosition) {
        placement_ = kPlacementMinimised;
      } else {
        PositionChanged(position);
      }
      return 0;
    }
    case WM_NOTIFY: Notify(w_param, l_param); return 0;
    case WM_GETOBJECT: return AccessibleRequest(w_param, l_param);
    case kAccessibleActionMessage: AccessibleAction(static_cast<int>(w_param)); return 0;
    case WM_KEYDOWN: KeyPressed(w_param, l_param); return 0;
    case WM_KEYUP:
      ReadKeyboardState();
      KeyUp(static_cast<unsigned>(w_param));
      return 0;
    case WM_SYSKEYDOWN: SystemKeyPressed(w_param); return 0;
    case WM_SYSCOMMAND: {
      unsigned command = static_cast<unsigned>(w_param & 0xFFF0);
      if (command == command::kMinimise || command == command::kRestore) Placement(command);
      return 0;
    }
    case WM_MOUSEMOVE: MoveMouse(XOf(l_param), YOf(l_param)); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: PressButton(message == WM_LBUTTONDBLCLK, XOf(l_param), YOf(l_param)); return 0;
    case WM_LBUTTONUP: ReleaseButton(XOf(l_param), YOf(l_param)); return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: RightDown(XOf(l_param) - border_, YOf(l_param) - border_); return 0;
    case WM_RBUTTONUP: RightUp(XOf(l_param) - border_, YOf(l_param) - border_); return 0;
    case WM_MOUSEWHEEL:
      // The position of a wheel message is on the screen.
      Wheel(GET_WHEEL_DELTA_WPARAM(w_param) > 0, XOf(l_param) - border_ - x_, YOf(l_param) - border_ - y_);
      return 0;
    case WM_CAPTURECHANGED: CaptureLost(); return 0;
    default: return 0;
  }
}

void NativeWindow::FillMinMaxInfo(MINMAXINFO& info) const {
  int screen_width = Graphics().ScreenWidth();
  int screen_height = Graphics().ScreenHeight();
  // Maximised, the border lies just outside the screen.
  info.ptMaxSize = POINT{screen_width + 2 * border_, screen_height + 2 * border_};
  info.ptMaxPosition = POINT{-border_, -border_};
  SizeLimits limits = Limits();
  info.ptMinTrackSize = POINT{limits.min_width, limits.min_height};
  info.ptMaxTrackSize = POINT{limits.max_width, limits.max_height};
}

void NativeWindow::PressButton(bool double_click, int x, int y) {
  NativeWindow* popup = OpenPopup();
  // A press anywhere else closes the open popup.
  if (popup != nullptr && popup != this) popup->KeyDown(key::kEscape);
  SetCapture(handle_);
  press_ = POINT{x + x_, y + y_};
  held_ = FramePartAt(mode_, border_, width_, height_, x, y);
  if (held_ != FramePart::kClient) return;
  if (double_click) {
    LeftDouble(x - border_, y - border_);
  } else {
    LeftDown(x - border_, y - border_);
  }
}

void NativeWindow::MoveMouse(int x, int y) {
  POINT screen{x + x_, y + y_};
  if (!TrackPointer(*this, screen)) return;
  if (held_ != FramePart::kClient) {
    // The held edges follow the mouse; the opposite ones stay.
    FrameDrag drag =
        DragFrame(held_, FrameBox{x_, y_, width_, height_}, screen.x - press_.x, screen.y - press_.y, Limits());
    press_.x += drag.applied_dx;
    press_.y += drag.applied_dy;
    if (drag.frame.x != x_ || drag.frame.y != y_ || drag.frame.width != width_ || drag.frame.height != height_) {
      MoveResize(drag.frame.x - x_, drag.frame.y - y_, drag.frame.width - width_, drag.frame.height - height_);
    }
    return;
  }
  if (GetCapture() == handle_) {
    MouseMove(x - border_, y - border_);
    return;
  }
  FramePart part = FramePartAt(mode_, border_, width_, height_, x, y);
  if (part != FramePart::kClient) {
    ShowCursorShape(CursorForPart(part));
    return;
  }
  MouseMove(x - border_, y - border_);
}

void NativeWindow::ReleaseButton(int x, int y) {
  if (held_ != FramePart::kClient) {
    held_ = FramePart::kClient;
    ReleaseCapture();
    return;
  }
  // LeftUp may close and destroy this window: nothing of it is used after.
  LeftUp(x - border_, y - border_);
  ReleaseCapture();
}

void NativeWindow::KeyPressed(WPARAM key, LPARAM data) {
  ReadKeyboardState();
  TranslatedKey translated = TranslateKeyDown(static_cast<unsigned>(key), Keyboard());
  if (translated.special) {
    if (translated.sets_shift) Keyboard().shift = true;
    KeyDown(translated.key);
    return;
  }
  BYTE states[256];
  WORD characters = 0;
  UINT scan_code = (static_cast<UINT>(data) >> 16) & 0xFF;
  int count = GetKeyboardState(states) ? ToAscii(static_cast<UINT>(key), scan_code, states, &characters, 0) : 0;
  Char(count == 1 ? static_cast<unsigned char>(characters & 0xFF) : 0);
}

void NativeWindow::SystemKeyPressed(WPARAM key) {
  ReadKeyboardState();
  SystemKey action = TranslateSystemKey(static_cast<unsigned>(key), Keyboard().shift);
  switch (action.action) {
    case SystemKeyAction::kIgnore: return;
    case SystemKeyAction::kUndo:
      Keyboard().control = true;
      KeyDown('Z');
      return;
    case SystemKeyAction::kMinimise: Placement(command::kMinimise); return;
    case SystemKeyAction::kMaximiseOrRestore:
      Placement(placement_ == kPlacementMaximised ? command::kRestore : command::kMaximise);
      return;
    case SystemKeyAction::kClose: KeyDown(command::kClose); return;
    case SystemKeyAction::kMenuKey: KeyDown(key::kF10); return;
    case SystemKeyAction::kMoveResize: MoveResize(action.dx, action.dy, action.dw, action.dh); return;
  }
}
