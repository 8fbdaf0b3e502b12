#include "ui/widgets/frame_window.h"

#include "graphics/graphics_resources.h"
#include "ui/core/hint_window.h"
#include "ui/core/keyboard_state.h"
#include "ui/core/mouse_tracker.h"
#include "ui/core/repeat_timer.h"
#include "ui/widgets/accessible_tree.h"
#include "ui/widgets/layout_table.h"
#include "ui/widgets/widget_state.h"

FrameWindow::FrameWindow(Container& root, const LayoutEntry* table, int count, WindowKind kind)
    : NativeWindow(kind, ResizeModeForAnchor(table[0].flags & 0x0F), table[0].x, table[0].y, table[0].width,
                   table[0].height),
      WidgetWindow(root) {
  BuildWidgets(root, table, count);
}

FrameWindow::~FrameWindow() {
  // The widgets may still hold the hint or the repeat.
  HideToolkitHint();
  if (Exists()) DestroyNative();
}

void FrameWindow::SetCursor(CursorShape shape) { ShowCursorShape(shape); }

Point FrameWindow::ClientToScreen(Point client) const {
  return Point{client.x + X() + Border(), client.y + Y() + Border()};
}

Point FrameWindow::PointerPosition() const {
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  return Point{cursor.x - X() - Border(), cursor.y - Y() - Border()};
}

void FrameWindow::ShowHint(const char* text, Point screen) { ShowToolkitHint(text, screen); }
void FrameWindow::HideHint() { HideToolkitHint(); }
void FrameWindow::StartRepeat(RepeatTarget& target) { StartToolkitRepeat(target); }
void FrameWindow::StopRepeat(RepeatTarget& target) { StopToolkitRepeat(target); }

void FrameWindow::Draw(Canvas& canvas) {
  int width = ClientWidth();
  int height = ClientHeight();
  int border = Border();
  if (border > 0) {
    // A raised frame, one light and one dark line on each side.
    canvas.Bevel(-border, -border, width + border, height + border);
  }
  canvas.SetBackColour(FaceColour);
  canvas.FillRect(0, 0, width, height);
  Root().Paint(canvas);
}

void FrameWindow::Activate(bool active) {
  NativeWindow::Activate(active);
  RouteActivate(active);
}

void FrameWindow::DdeMessage(UINT message, WPARAM w_param, LPARAM l_param) {
  Root().DdeRequest(message, w_param, l_param);
}

void FrameWindow::KeyDown(unsigned key) { RouteKeyDown(key, Keyboard().shift); }

void FrameWindow::Resized(int dw, int dh, bool left_unchanged, bool top_unchanged) {
  RouteResize(dw, dh, left_unchanged, top_unchanged);
}

void FrameWindow::AccessibleChange(const Widget& widget, AccessibleEvent event) {
  if (!Exists()) return;
  int child = AccessibleIdOf(Root(), widget);
  if (child > 0) NotifyAccessible(*this, event, child);
}

int FrameWindow::AccessibleCount() { return AccessibleWidgetCount(Root()); }

AccessibleItem FrameWindow::DescribeAccessible(int child) {
  if (child > 0) return DescribePlace(AccessiblePlaceOf(Root(), child));
  // The window is named by its title bar.
  AccessibleItem item;
  item.role = Kind() == WindowKind::kDialog ? AccessibleRole::kDialog : AccessibleRole::kClient;
  Widget* first = AccessiblePlaceOf(Root(), 1).widget;
  const char* title = first != nullptr && first->Role() == AccessibleRole::kTitleBar ? first->GetText() : nullptr;
  if (title != nullptr) item.name = title;
  item.states = IsActiveWindow() ? kAccessibleFocusable | kAccessibleFocused : kAccessibleFocusable;
  item.bounds = Rect{0, 0, ClientWidth(), ClientHeight()};
  return item;
}

int FrameWindow::AccessibleFocus() {
  Widget* focused = FocusedWidget();
  int child = focused != nullptr && Root().Holds(focused) ? AccessibleIdOf(Root(), *focused) : 0;
  if (child > 0) return child;
  return IsActiveWindow() ? 0 : -1;
}

int FrameWindow::AccessibleAt(Point client) { return AccessibleIdAt(Root(), client); }

LRESULT FrameWindow::AccessibleRequest(WPARAM flags, LPARAM object_id) {
  return AnswerAccessibleRequest(accessible_, *this, *this, flags, object_id);
}

void FrameWindow::AccessibleAction(int child) { DoAccessibleAction(AccessiblePlaceOf(Root(), child)); }
