#include "ui/core/keyboard_state.h"

#include <windows.h>

namespace {

struct KeyboardState {
  BYTE states[256] = {};
  KeyboardFlags flags;
};

KeyboardState& State() {
  static KeyboardState state;
  return state;
}

}  // namespace

void ReadKeyboardState() {
  KeyboardState& state = State();
  if (!GetKeyboardState(state.states)) return;
  state.flags = FlagsFromKeyStates(state.states);
}

KeyboardFlags& Keyboard() { return State().flags; }
