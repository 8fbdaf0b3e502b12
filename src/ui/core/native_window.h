// NativeWindow: one bare top-level window of the operating system and the
// device context the toolkit paints it through. The toolkit draws
// everything itself, the frame included; the system provides only the
// window, its messages and its position.
//
// The window procedure (window_procedure.cpp) turns messages into calls of
// the virtual operations below, with every (x, y) in client coordinates:
// the window's own coordinates minus its border. Showing follows the
// window's kind: a popup closes the popup open before it, a dialog is
// centred on its owner and disables it until it is hidden (which makes it
// modal), and dialogs and the application window become the current top
// window, the owner of whatever is shown next.
//
// https://learn.microsoft.com/windows/win32/winmsg/window-procedures
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/canvas.h"
#include "ui/core/frame_geometry.h"
#include "ui/core/placement.h"
#include "ui/core/window_kind.h"

// Posted by a screen reader's default action: WPARAM is the child.
constexpr UINT kAccessibleActionMessage = WM_APP + 19;

class NativeWindow {
 public:
  // A framed window: a 2-pixel border around the client size; the size it
  // is made with is the smallest it can be dragged to.
  NativeWindow(WindowKind kind, ResizeMode mode, int x, int y, int client_width, int client_height);
  // A borderless popup of a fixed size (the hint, a menu).
  NativeWindow(WindowKind kind, int x, int y, int width, int height);
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;
  virtual ~NativeWindow();

  // --- The operations the window procedure calls --------------------------
  // Releases the context and destroys the system window; forgets the
  // window as hover window and open popup. Raises an error that a callback
  // parked meanwhile.
  virtual void Destroy();
  // Paints into the canvas; its clip is the part to repaint.
  virtual void Draw(Canvas& canvas);
  virtual void Activate(bool active);
  virtual void CaptureLost();
  virtual void Char(unsigned char character);
  virtual void DdeMessage(UINT message, WPARAM w_param, LPARAM l_param);
  // A special key (ui/core/key_translation.h); Alt+F4 arrives as the close
  // command.
  virtual void KeyDown(unsigned key);
  virtual void KeyUp(unsigned key);
  virtual void LeftDown(int x, int y);
  virtual void LeftUp(int x, int y);
  virtual void LeftDouble(int x, int y);
  virtual void MouseMove(int x, int y);
  virtual void Wheel(bool up, int x, int y);
  virtual void Notify(WPARAM w_param, LPARAM l_param);
  virtual void RightDown(int x, int y);
  virtual void RightUp(int x, int y);
  // The client size changed by (dw, dh); the canvas has the new size.
  virtual void Resized(int dw, int dh, bool left_unchanged, bool top_unchanged);
  // The mouse left the window.
  virtual void MouseLeave();
  // Paints the update region through Draw.
  virtual void Paint();
  virtual void PositionChanged(const WINDOWPOS& position);
  // WM_GETOBJECT: the accessible object asked for, as LresultFromObject
  // gives it; 0 lets the system answer.
  virtual LRESULT AccessibleRequest(WPARAM, LPARAM) { return 0; }
  // A reader's default action on child `child`, posted to run once the
  // reader's call has returned (kAccessibleActionMessage).
  virtual void AccessibleAction(int) {}

  // --- Showing and placing ----------------------------------------------------
  // Makes the system window; false when the system refuses.
  bool CreateNative(const char* title);
  // Shows the application window and makes it the main window; false when
  // the system window cannot be made.
  bool ShowMain(const char* title);
  void Show();
  void Hide();
  // Marks a client rectangle for repainting.
  void Invalidate(const Rect& client);
  // Moves the pixels of a client rectangle by (dx, dy), with what is still
  // to be repainted there, and marks the uncovered part for repainting.
  void ScrollPixels(const Rect& client, int dx, int dy);
  // Moves by (dx, dy) and changes the size by (dw, dh) within the limits.
  void MoveResize(int dx, int dy, int dw, int dh);
  void MoveTo(int x, int y);
  // Puts a borderless popup where the program wants it, at any size.
  void Place(int x, int y, int width, int height);
  void CenterOnOwner();
  // Minimise, maximise or restore (the system commands of key_codes.h).
  void Placement(unsigned command);

  HWND Handle() const { return handle_; }
  bool Exists() const { return handle_ != nullptr; }
  Canvas& Surface() { return canvas_; }
  WindowKind Kind() const { return kind_; }
  std::uint8_t PlacementState() const { return placement_; }
  bool IsActiveWindow() const { return active_; }
  NativeWindow* Owner() const { return owner_; }
  int X() const { return x_; }
  int Y() const { return y_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Border() const { return border_; }
  int ClientWidth() const { return width_ - 2 * border_; }
  int ClientHeight() const { return height_ - 2 * border_; }
  SizeLimits Limits() const;

  // The window procedure's view of the object.
  LRESULT HandleMessage(UINT message, WPARAM w_param, LPARAM l_param);
  // The window's system window was destroyed from outside (with its owner).
  void Detach();

 protected:
  // Destroy without raising a parked error: for destructors, which run while
  // that error unwinds the run and must not throw.
  void DestroyNative();
  // Starts a placement at `state` (the window is made maximised, for one).
  void SetPlacementState(std::uint8_t state) { placement_ = state; }

 private:
  void PressButton(bool double_click, int x, int y);
  void MoveMouse(int x, int y);
  void ReleaseButton(int x, int y);
  void KeyPressed(WPARAM key, LPARAM data);
  void SystemKeyPressed(WPARAM key);
  void FillMinMaxInfo(MINMAXINFO& info) const;

  HWND handle_ = nullptr;
  HDC dc_ = nullptr;
  Canvas canvas_;
  int x_;
  int y_;
  int width_;
  int height_;
  int border_;
  int min_width_;
  int min_height_;
  std::uint8_t placement_ = kPlacementNormal;
  WindowKind kind_;
  bool active_ = false;
  NativeWindow* owner_ = nullptr;
  // Screen position of the last press, moved along while a frame part is
  // dragged.
  POINT press_ = {0, 0};
  FramePart held_ = FramePart::kClient;
  ResizeMode mode_;
};

// The window most recently shown as dialog or application window, or the
// owner it returned to.
NativeWindow* CurrentTopWindow();
// The one open popup (kind 0), if any.
NativeWindow* OpenPopup();
HWND MainWindowHandle();

// The work area of the monitor nearest to a screen point: where popups
// must stay.
Rect WorkAreaAt(int x, int y);
