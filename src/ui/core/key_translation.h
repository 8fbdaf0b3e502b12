// The keyboard translation of the window core. The program has no
// TranslateMessage: every key press is sorted here into a special key for the
// widgets' KeyCommand (navigation, editing, function keys and control
// combinations) or a character to be made with ToAscii; Alt combinations
// become window actions.
#pragma once

#include <cstdint>

// Shift and control as the widgets see them. Control does not count while
// the right Alt key is down, so AltGr characters are typed, not commands.
struct KeyboardFlags {
  bool shift = false;
  bool control = false;
};

// From the 256 key states of GetKeyboardState (high bit: key down).
KeyboardFlags FlagsFromKeyStates(const std::uint8_t (&states)[256]);

struct TranslatedKey {
  bool special;     // true: KeyCommand(key); false: a character through ToAscii
  unsigned key;     // the key to deliver (may differ from the key pressed)
  bool sets_shift;  // the key stands for a shifted one (context-menu key)
};

// A key press without Alt (WM_KEYDOWN).
TranslatedKey TranslateKeyDown(unsigned virtual_key, KeyboardFlags flags);

enum class SystemKeyAction : std::uint8_t {
  kIgnore,
  kUndo,               // Alt+Backspace acts as Ctrl+Z
  kMinimise,           // Alt+F2
  kMaximiseOrRestore,  // Alt+F3
  kClose,              // Alt+F4: the close command as a key
  kMenuKey,            // Alt+F10: F10 as a key
  kMoveResize,         // Alt+F5 to F8, F11, F12: the frame by 8 pixels
};

struct SystemKey {
  SystemKeyAction action;
  // For kMoveResize: the change of position and size.
  int dx, dy, dw, dh;
};

// A key press with Alt (WM_SYSKEYDOWN). With Shift the size keys grow or
// shrink at the left or top edge, and the move keys go the other way.
SystemKey TranslateSystemKey(unsigned virtual_key, bool shift);
