#include "ui/widgets/widget.h"

#include "text/number.h"
#include "ui/core/widget_host.h"
#include "ui/widgets/container.h"
#include "ui/widgets/widget_state.h"

Widget::Widget(const LayoutEntry& entry, Container* parent)
    : kind_(entry.kind),
      layout_flags_(entry.flags),
      parent_(parent),
      id_(entry.id),
      x_(entry.kind == kWindowKind ? 0 : entry.x),
      y_(entry.kind == kWindowKind ? 0 : entry.y),
      width_(entry.width),
      height_(entry.height) {}

Widget::~Widget() { ForgetWidget(this); }

Container* Widget::Root() {
  Widget* widget = this;
  while (widget->parent_ != nullptr) widget = widget->parent_;
  return widget->AsContainer();
}

Container* Widget::AsContainer() { return nullptr; }

WidgetHost* Widget::Host() {
  Container* root = Root();
  return root != nullptr ? root->OwnHost() : nullptr;
}

void Widget::Describe(int part, AccessibleItem& item) const {
  const char* text = GetText();
  if (part == 0 && text != nullptr) item.name = text;
}

void Widget::RaiseAccessibleEvent(AccessibleEvent event) {
  WidgetHost* host = Host();
  if (host != nullptr) host->AccessibleChange(*this, event);
}

bool Widget::Holds(const Widget* widget) const {
  for (; widget != nullptr; widget = widget->parent_) {
    if (widget == this) return true;
  }
  return false;
}

void Widget::Shift(int dx, int dy) {
  x_ += dx;
  y_ += dy;
}

void Widget::MoveBy(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  InvalidateSelf();
  Shift(dx, dy);
  InvalidateSelf();
}

void Widget::ResizeBy(int dw, int dh, bool downward, bool rightward) {
  if (dw == 0 && dh == 0) return;
  Rect before = Bounds();
  if (!rightward) x_ -= dw;
  width_ += dw;
  if (!downward) y_ -= dh;
  height_ += dh;
  if (visible_) InvalidateChange(before, Bounds());
}

int Widget::BottomRepaintExtent(int) const { return 0; }
int Widget::RightRepaintExtent(int) const { return 0; }

namespace {

// How one axis follows its container: along the axis the widget either
// stretches, or keeps its distance to the far edge (anchored there), or to
// the near edge. `far_moved` tells whether the container's far edge moved
// (right or bottom) or its near one (left or top).
struct AxisFollow {
  int move;
  int resize;
};

AxisFollow FollowAxis(bool stretches, bool anchored_far, int delta, bool far_moved) {
  if (stretches) return {0, delta};
  if (anchored_far) return {far_moved ? delta : 0, 0};
  return {far_moved ? 0 : -delta, 0};
}

bool IsAdjustingAnchor(std::uint8_t code) {
  switch (code) {
    case kAnchorTopLeft:
    case kAnchorTopRight:
    case kAnchorBottomLeft:
    case kAnchorBottomRight:
    case kAnchorTopEdge:
    case kAnchorBottomEdge:
    case kAnchorLeftEdge:
    case kAnchorRightEdge:
    case kAnchorFill: return true;
    default: return false;
  }
}

}  // namespace

void Widget::AdjustForResize(int dx, int dy, bool downward, bool rightward) {
  std::uint8_t code = AnchorCode();
  if (!IsAdjustingAnchor(code)) return;
  AxisFollow across = FollowAxis((code & 4) != 0, (code & 1) != 0, dx, rightward);
  AxisFollow down = FollowAxis((code & 8) != 0, (code & 2) != 0, dy, downward);
  MoveBy(across.move, down.move);
  ResizeBy(across.resize, down.resize, downward, rightward);
}

void Widget::Paint(Canvas&) {}

void Widget::Invalidate(const Rect& area) {
  if (!visible_) return;
  WidgetHost* host = Host();
  if (host != nullptr && host->HasSurface()) host->InvalidateArea(area);
}

void Widget::InvalidateChange(const Rect& before, const Rect& after) {
  if (before.left != after.left || before.top != after.top) {
    Invalidate(before);
    Invalidate(after);
    return;
  }
  int left = after.left;
  int top = after.top;
  int right = before.right > after.right ? before.right : after.right;
  // The rows below this one belong to the bottom stripe.
  int stripe_top = after.bottom < before.bottom ? after.bottom : before.bottom;
  if (after.bottom > before.bottom) {
    stripe_top = before.bottom - BottomRepaintExtent(before.Height());
    Invalidate(Rect{left, stripe_top, right, after.bottom});
  } else if (after.bottom < before.bottom) {
    stripe_top = after.bottom - BottomRepaintExtent(after.Height());
    Invalidate(Rect{left, stripe_top, right, before.bottom});
  }
  if (after.right > before.right) {
    Invalidate(Rect{before.right - RightRepaintExtent(before.Width()), top, after.right, stripe_top});
  } else if (after.right < before.right) {
    Invalidate(Rect{after.right - RightRepaintExtent(after.Width()), top, before.right, stripe_top});
  }
}

void Widget::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  if (!enabled) {
    if (HotWidget() == this) SetHotWidget(nullptr);
    if (FocusedWidget() == this) {
      Container* root = Root();
      if (root != nullptr) {
        MoveFocus(*root, true);
      } else {
        SetFocusedWidget(nullptr);
      }
    }
  }
  InvalidateSelf();
  RaiseAccessibleEvent(AccessibleEvent::kStateChange);
}

void Widget::SetVisible(bool visible) {
  if (visible_ == visible) return;
  if (visible) {
    visible_ = true;
    InvalidateSelf();
    RaiseAccessibleEvent(AccessibleEvent::kStateChange);
    return;
  }
  if (Holds(HotWidget())) SetHotWidget(nullptr);
  InvalidateSelf();
  visible_ = false;
  // Moved on only now: while still visible, the widget (or a widget inside
  // it) would be a candidate for the focus it is giving up.
  if (Holds(FocusedWidget())) {
    Container* root = Root();
    if (root != nullptr && root != this) {
      MoveFocus(*root, true);
    } else {
      SetFocusedWidget(nullptr);
    }
  }
  RaiseAccessibleEvent(AccessibleEvent::kStateChange);
}

void Widget::ShowRange(std::uint16_t first_id, std::uint16_t last_id, bool visible) {
  if (first_id <= id_ && id_ <= last_id) SetVisible(visible);
}

void Widget::SetChecked(int) {}
int Widget::GetValue() const { return 0; }
const char* Widget::GetText() const { return nullptr; }
void Widget::SetText(const char*) {}

void Widget::SetTextUnsigned(std::uint32_t number) {
  FixedText<15> text;
  UnsignedToText(text, number, false);
  SetText(text.c_str());
}

void Widget::SetTextNumber(std::int32_t number) {
  FixedText<15> text;
  IntegerToText(text, number, false);
  SetText(text.c_str());
}

Widget* Widget::HitTest(int x, int y) {
  bool inside = x > x_ && x < x_ + width_ && y > y_ && y < y_ + height_;
  return inside && visible_ && enabled_ ? this : nullptr;
}

Widget* Widget::FindById(std::uint16_t id) { return id == id_ ? this : nullptr; }

void Widget::GainFocus() {}
void Widget::LoseFocus() {}
void Widget::FocusClickedAway() {}
void Widget::RequestFocus() {}

void Widget::TabStep(bool, TabState& state) {
  if (state == TabState::kTakeNext && CanTakeFocus()) {
    SetFocusedWidget(this);
    state = TabState::kTaken;
  } else if (state == TabState::kSeekFocused && FocusedWidget() == this) {
    state = TabState::kTakeNext;
  }
}

void Widget::WindowActivated(bool) {}

void Widget::KeyChar(unsigned char character) {
  Container* root = Root();
  if (root != nullptr && root != this) root->KeyChar(character);
}

void Widget::KeyCommand(unsigned key) {
  if (parent_ != nullptr) parent_->Notify(key, id_);
}

void Widget::KeyUp(unsigned) {}
void Widget::LeftDown(int, int) {}
void Widget::LeftUp(int, int) {}
void Widget::LeftDoubleClick(int x, int y) { LeftDown(x, y); }

void Widget::MouseMove(int, int) {
  WidgetHost* host = Host();
  if (host != nullptr) host->SetCursor(CursorShape::kArrow);
}

void Widget::MouseWheel(bool, int, int) {}
void Widget::RightDown(int, int) {}
void Widget::RightUp(int, int) {}
void Widget::MouseLeave() {}

void Widget::Notify(unsigned code, std::uint16_t id) {
  if (parent_ != nullptr) parent_->Notify(code, id);
}
