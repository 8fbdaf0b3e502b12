#include "ui/widgets/widget_state.h"

#include "ui/widgets/container.h"

namespace {

Widget* focused = nullptr;
Widget* hot = nullptr;

}  // namespace

Widget* FocusedWidget() { return focused; }
Widget* HotWidget() { return hot; }

void SetFocusedWidget(Widget* widget) {
  if (widget == focused) return;
  Widget* previous = focused;
  focused = widget;
  if (previous != nullptr) previous->LoseFocus();
  if (widget != nullptr) {
    widget->GainFocus();
    widget->RaiseAccessibleEvent(AccessibleEvent::kFocus);
  }
}

void SetHotWidget(Widget* widget) {
  if (widget == hot) return;
  Widget* previous = hot;
  hot = widget;
  if (previous != nullptr) previous->MouseLeave();
}

void ForgetWidget(const Widget* widget) {
  if (focused == widget) focused = nullptr;
  if (hot == widget) hot = nullptr;
}

void MoveFocus(Container& root, bool forward) {
  TabState state = focused != nullptr ? TabState::kSeekFocused : TabState::kTakeNext;
  root.TabStep(forward, state);
  // A second pass wraps around from the far end; it also starts afresh when
  // the focused widget was not met (it lies in a hidden container).
  if (state != TabState::kTaken) {
    state = TabState::kTakeNext;
    root.TabStep(forward, state);
  }
  if (state != TabState::kTaken) SetFocusedWidget(nullptr);
}
