// The widget side of a window: its root container, the widget that holds the
// left mouse button, the focus to give back on reactivation, and the routing
// of the window's input into the widget tree:
//
//   pointer moves    the widget under the pointer becomes the hot widget;
//                    the pressed widget, else the hot one, gets MouseMove
//   left press       the hot widget becomes the pressed widget, takes the
//                    focus if it can (else the focused one hears of the
//                    press elsewhere) and gets LeftDown
//   left release     the pressed widget gets LeftUp; it stays pressed until
//                    the window loses the capture
//   right press      when nothing is pressed: focus and RightDown
//   keys             Tab moves the focus, the close command goes to the
//                    root's Close, other special keys to the focused widget
//   (de)activation   the focus is saved and given back
//
// The frame window (ui/widgets/frame_window.h) implements the rest of WidgetHost
// over a real window; tests do it with a fake.
#pragma once

#include "ui/core/widget_host.h"
#include "ui/widgets/container.h"

class WidgetWindow : public WidgetHost {
 public:
  // Makes `root` the window's root container; the root outlives the window.
  explicit WidgetWindow(Container& root);
  ~WidgetWindow();
  WidgetWindow(const WidgetWindow&) = delete;
  WidgetWindow& operator=(const WidgetWindow&) = delete;

  Container& Root() const { return root_; }

  void RoutePointerMove(int x, int y);
  void RouteLeftDown(int x, int y);
  void RouteLeftUp(int x, int y);
  void RouteLeftDouble(int x, int y);
  void RouteRightDown(int x, int y);
  void RouteRightUp(int x, int y);
  void RouteWheel(bool up, int x, int y);
  void RouteChar(unsigned char character);
  // A special key; `shift` turns Tab backward.
  void RouteKeyDown(unsigned key, bool shift);
  void RouteKeyUp(unsigned key);
  void RouteActivate(bool active);
  void RouteCaptureLost();
  // The pointer left the window.
  void RouteMouseLeave();
  // The client area changed size by (dw, dh); the flags tell whether the
  // left and top edges stayed where they were.
  void RouteResize(int dw, int dh, bool left_unchanged, bool top_unchanged);

  Widget* PressedWidget() const override { return pressed_; }
  void RememberFocus(Widget* widget) override { saved_focus_ = widget; }
  Widget* SavedFocus() const { return saved_focus_; }
  bool IsActive() const override { return active_; }

 private:
  Widget* UpdateHot(int x, int y);
  void RestoreFocus();

  Container& root_;
  Widget* pressed_ = nullptr;
  Widget* saved_focus_ = nullptr;
  bool active_ = false;
};
