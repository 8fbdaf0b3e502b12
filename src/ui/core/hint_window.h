// The hint window: a borderless passive popup with one line of text near
// the pointer, as the tool bar shows a button's tip. One for the program.
#pragma once

#include "ui/core/geometry.h"

// Shows `text` 20 pixels right of and below the screen point, kept on the
// screen; an empty text, or one of 64 characters or more, hides the hint.
void ShowToolkitHint(const char* text, Point screen);
void HideToolkitHint();
// Destroys the hint's window (module closing, before the classes go).
void DestroyToolkitHint();
