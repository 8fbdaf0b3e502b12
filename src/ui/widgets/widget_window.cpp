#include "ui/widgets/widget_window.h"

#include "ui/core/key_codes.h"
#include "ui/widgets/widget_state.h"

WidgetWindow::WidgetWindow(Container& root) : root_(root) { root_.SetHost(this); }

WidgetWindow::~WidgetWindow() {
  // The window part of the host is gone already: widgets that repaint as
  // they lose the focus must find no host.
  root_.SetHost(nullptr);
  if (root_.Holds(FocusedWidget())) SetFocusedWidget(nullptr);
  if (root_.Holds(HotWidget())) SetHotWidget(nullptr);
}

Widget* WidgetWindow::UpdateHot(int x, int y) {
  Widget* hit = root_.HitTest(x, y);
  SetHotWidget(hit);
  return hit;
}

void WidgetWindow::RoutePointerMove(int x, int y) {
  Widget* hot = UpdateHot(x, y);
  Widget* target = pressed_ != nullptr ? pressed_ : hot;
  if (target != nullptr) target->MouseMove(x, y);
  if (target == nullptr || !active_) SetCursor(CursorShape::kArrow);
}

void WidgetWindow::RouteLeftDown(int x, int y) {
  Widget* hot = UpdateHot(x, y);
  pressed_ = hot;
  Widget* focused = FocusedWidget();
  if (hot != nullptr && hot->IsFocusable()) {
    SetFocusedWidget(hot);
  } else if (focused != nullptr && focused != hot) {
    focused->FocusClickedAway();
  }
  if (hot != nullptr) hot->LeftDown(x, y);
}

void WidgetWindow::RouteLeftUp(int x, int y) {
  if (pressed_ != nullptr) pressed_->LeftUp(x, y);
}

void WidgetWindow::RouteLeftDouble(int x, int y) {
  Widget* hot = UpdateHot(x, y);
  pressed_ = hot;
  if (hot != nullptr) hot->LeftDoubleClick(x, y);
}

void WidgetWindow::RouteRightDown(int x, int y) {
  if (pressed_ != nullptr) return;
  Widget* hot = UpdateHot(x, y);
  if (hot == nullptr) return;
  if (hot->IsFocusable()) SetFocusedWidget(hot);
  hot->RightDown(x, y);
}

void WidgetWindow::RouteRightUp(int x, int y) {
  if (pressed_ != nullptr) return;
  Widget* hot = HotWidget();
  if (hot != nullptr && root_.Holds(hot)) hot->RightUp(x, y);
}

void WidgetWindow::RouteWheel(bool up, int x, int y) {
  Widget* hot = HotWidget();
  if (hot != nullptr && root_.Holds(hot)) hot->MouseWheel(up, x, y);
}

void WidgetWindow::RouteChar(unsigned char character) {
  Widget* focused = FocusedWidget();
  if (focused != nullptr && root_.Holds(focused)) {
    focused->KeyChar(character);
  } else {
    root_.KeyChar(character);
  }
}

void WidgetWindow::RouteKeyDown(unsigned key, bool shift) {
  if (key == key::kTab) {
    MoveFocus(root_, !shift);
    return;
  }
  if (key == command::kClose) {
    root_.Close();
    return;
  }
  Widget* focused = FocusedWidget();
  if (focused != nullptr && root_.Holds(focused)) {
    focused->KeyCommand(key);
  } else {
    // No focus: the window itself hears the key, as a command from itself.
    root_.Notify(key, root_.Id());
  }
}

void WidgetWindow::RouteKeyUp(unsigned key) {
  Widget* focused = FocusedWidget();
  if (focused != nullptr && root_.Holds(focused)) {
    focused->KeyUp(key);
  } else {
    root_.KeyUp(key);
  }
}

namespace {

// The widget and every container above it are shown and it takes input.
bool CanStillTakeFocus(const Widget* widget) {
  if (!widget->CanTakeFocus()) return false;
  for (const Widget* up = widget->Parent(); up != nullptr; up = up->Parent()) {
    if (!up->IsVisible()) return false;
  }
  return true;
}

}  // namespace

void WidgetWindow::RestoreFocus() {
  // A focus that never left (a popup menu kept the window active) stays.
  if (root_.Holds(FocusedWidget())) return;
  if (saved_focus_ != nullptr && root_.Holds(saved_focus_) && CanStillTakeFocus(saved_focus_)) {
    SetFocusedWidget(saved_focus_);
    return;
  }
  SetFocusedWidget(nullptr);
  MoveFocus(root_, true);
}

void WidgetWindow::RouteActivate(bool active) {
  active_ = active;
  if (!active) {
    Widget* focused = FocusedWidget();
    if (focused != nullptr && root_.Holds(focused)) {
      saved_focus_ = focused;
      SetFocusedWidget(nullptr);
    }
  } else {
    RestoreFocus();
    if (HasSurface()) {
      Point pointer = PointerPosition();
      RoutePointerMove(pointer.x, pointer.y);
    }
  }
  root_.WindowActivated(active);
}

void WidgetWindow::RouteCaptureLost() { pressed_ = nullptr; }

void WidgetWindow::RouteMouseLeave() {
  if (root_.Holds(HotWidget())) SetHotWidget(nullptr);
}

void WidgetWindow::RouteResize(int dw, int dh, bool left_unchanged, bool top_unchanged) {
  root_.ResizeBy(dw, dh, top_unchanged, left_unchanged);
  // A moved left or top edge left the root off the client origin; the
  // whole tree goes back, keeping the distances the anchors gave.
  root_.Shift(-root_.X(), -root_.Y());
}
