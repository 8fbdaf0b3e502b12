// The frame window: the native side of every window built from a layout
// table. It joins a NativeWindow to the WidgetWindow of its widget tree: the
// native operations are routed into the tree, and the tree's requests
// (repaint, cursor, moving the window, hints, the repeat timer) go to the
// native window and the toolkit.
//
// The window's behaviour lives in its root container (a Container subclass
// that handles the commands), which the window's owner makes from entry 0
// and keeps alive as long as the frame window.
#pragma once

#include "ui/core/native_window.h"
#include "ui/widgets/accessible_object.h"
#include "ui/widgets/layout_entry.h"
#include "ui/widgets/widget_window.h"

class FrameWindow : public NativeWindow, public WidgetWindow, public AccessibleSource {
 public:
  // Builds entries 1 to count - 1 of `table` into `root`; entry 0 gives the
  // window's screen position, client size and resize mode (its anchor
  // code). The system window is made when it is first shown.
  FrameWindow(Container& root, const LayoutEntry* table, int count, WindowKind kind);
  ~FrameWindow() override;

  // WidgetHost
  bool HasSurface() const override { return Exists(); }
  void InvalidateArea(const Rect& area) override { Invalidate(area); }
  void ScrollArea(const Rect& area, int dx, int dy) override { ScrollPixels(area, dx, dy); }
  void SetCursor(CursorShape shape) override;
  void* SystemHandle() const override { return Handle(); }
  WindowKind KindOfWindow() const override { return Kind(); }
  ::PlacementState CurrentPlacement() const override {
    return static_cast<::PlacementState>(NativeWindow::PlacementState());
  }
  bool IsActive() const override { return IsActiveWindow(); }
  Point WindowPosition() const override { return Point{X(), Y()}; }
  void MoveWindowTo(Point screen) override { MoveTo(screen.x, screen.y); }
  void SystemCommand(unsigned command) override { Placement(command); }
  Point ClientToScreen(Point client) const override;
  Point PointerPosition() const override;
  void ShowHint(const char* text, Point screen) override;
  void HideHint() override;
  void StartRepeat(RepeatTarget& target) override;
  void StopRepeat(RepeatTarget& target) override;
  void AccessibleChange(const Widget& widget, AccessibleEvent event) override;

  // AccessibleSource: the widgets readers see (ui/widgets/accessible_tree.h).
  int AccessibleCount() override;
  AccessibleItem DescribeAccessible(int child) override;
  int AccessibleFocus() override;
  int AccessibleAt(Point client) override;

  // NativeWindow
  void Draw(Canvas& canvas) override;
  void Activate(bool active) override;
  void CaptureLost() override { RouteCaptureLost(); }
  void Char(unsigned char character) override { RouteChar(character); }
  void DdeMessage(UINT message, WPARAM w_param, LPARAM l_param) override;
  void KeyDown(unsigned key) override;
  void KeyUp(unsigned key) override { RouteKeyUp(key); }
  void LeftDown(int x, int y) override { RouteLeftDown(x, y); }
  void LeftUp(int x, int y) override { RouteLeftUp(x, y); }
  void LeftDouble(int x, int y) override { RouteLeftDouble(x, y); }
  void MouseMove(int x, int y) override { RoutePointerMove(x, y); }
  void Wheel(bool up, int x, int y) override { RouteWheel(up, x, y); }
  void RightDown(int x, int y) override { RouteRightDown(x, y); }
  void RightUp(int x, int y) override { RouteRightUp(x, y); }
  void Resized(int dw, int dh, bool left_unchanged, bool top_unchanged) override;
  void MouseLeave() override { RouteMouseLeave(); }
  LRESULT AccessibleRequest(WPARAM flags, LPARAM object_id) override;
  void AccessibleAction(int child) override;

 private:
  // Released (and disconnected from its readers) with the window.
  AccessibleObjectPtr accessible_;
};
