// The process-wide widget state: the widget with the keyboard focus and the
// widget under the mouse pointer. One of each for the whole program, since
// only one window is active and only one is under the pointer at a time.
#pragma once

class Container;
class Widget;

Widget* FocusedWidget();
Widget* HotWidget();

// Gives the focus to `widget` (null clears it): the previous holder gets
// LoseFocus, the new one GainFocus. Nothing when it holds the focus already.
void SetFocusedWidget(Widget* widget);
// Makes `widget` the hot widget (null clears it); the previous one gets
// MouseLeave.
void SetHotWidget(Widget* widget);
// Drops `widget` from both without calling it: it is being destroyed.
void ForgetWidget(const Widget* widget);

// Tab and Shift+Tab: the focus moves to the next widget of `root` that can
// take it, wrapping around at the end; with none the focus is cleared.
void MoveFocus(Container& root, bool forward);
