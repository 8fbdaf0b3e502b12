// The keyboard state the window core reads before it hands a key on: the 256
// key states of GetKeyboardState and the shift and control flags that the
// widgets consult (a selection extends with Shift, Ctrl+A selects all).
#pragma once

#include "ui/core/key_translation.h"

// Reads the state of the keys at the time of the message being handled.
void ReadKeyboardState();
// The flags as last read; a key translation may set them (Alt+Backspace
// counts as control, the context-menu key as shift).
KeyboardFlags& Keyboard();
