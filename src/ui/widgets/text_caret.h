// The one text caret of the program: a thin bar, one line high, that
// blinks every 500 ms in the focused edit field or text view (and stays
// steady where the system is set to carets that do not blink). The widget
// that holds it paints it (it asks whether the caret shows and where); the
// caret only decides when it shows and asks for the repaints.
#pragma once

#include "graphics/rect.h"

class Widget;

// Puts the caret at `place` (window coordinates) in `owner`, shown at once;
// the blinking starts over. Another owner loses it.
void ShowTextCaret(Widget& owner, const Rect& place);
// Takes the caret away if `owner` holds it.
void HideTextCaret(const Widget& owner);
// True while the caret is in its shown phase in `owner`; `place` is where.
bool TextCaretShows(const Widget& owner, Rect& place);
