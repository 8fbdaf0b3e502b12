#include "ui/core/key_translation.h"

#include "ui/core/key_codes.h"

KeyboardFlags FlagsFromKeyStates(const std::uint8_t (&states)[256]) {
  KeyboardFlags flags;
  flags.shift = (states[key::kShift] & 0x80) != 0;
  flags.control = (states[key::kControl] & 0x80) != 0 && (states[key::kRightAlt] & 0x80) == 0;
  return flags;
}

namespace {

bool IsAlwaysSpecial(unsigned k) {
  switch (k) {
    case key::kBackspace:
    case key::kTab:
    case key::kEnter:
    case key::kEscape:
    case key::kSpace:
    case key::kPageUp:
    case key::kPageDown:
    case key::kEnd:
    case key::kHome:
    case key::kLeft:
    case key::kUp:
    case key::kRight:
    case key::kDown:
    case key::kDelete: return true;
    default: return k >= key::kF1 && k <= key::kF12;
  }
}

bool IsDigitOrLetter(unsigned k) { return (k >= '0' && k <= '9') || (k >= 'A' && k <= 'Z'); }

}  // namespace

TranslatedKey TranslateKeyDown(unsigned virtual_key, KeyboardFlags flags) {
  if (IsAlwaysSpecial(virtual_key)) return {true, virtual_key, false};
  // Shift+Insert pastes, as Ctrl+V does.
  if (virtual_key == key::kInsert) return {true, flags.shift ? unsigned{'V'} : virtual_key, false};
  // The context-menu key is Shift+F10.
  if (virtual_key == key::kApplications) return {true, key::kF10, true};
  if (flags.control && IsDigitOrLetter(virtual_key)) return {true, virtual_key, false};
  return {false, virtual_key, false};
}

SystemKey TranslateSystemKey(unsigned virtual_key, bool shift) {
  constexpr int kStep = 8;
  int side = shift ? -kStep : 0;  // with Shift the left or top edge moves
  switch (virtual_key) {
    case key::kBackspace: return {SystemKeyAction::kUndo, 0, 0, 0, 0};
    case key::kF1 + 1: return {SystemKeyAction::kMinimise, 0, 0, 0, 0};
    case key::kF1 + 2: return {SystemKeyAction::kMaximiseOrRestore, 0, 0, 0, 0};
    case key::kF1 + 3: return {SystemKeyAction::kClose, 0, 0, 0, 0};
    case key::kF1 + 4: return {SystemKeyAction::kMoveResize, side, 0, kStep, 0};
    case key::kF1 + 5: return {SystemKeyAction::kMoveResize, -side, 0, -kStep, 0};
    case key::kF1 + 6: return {SystemKeyAction::kMoveResize, 0, side, 0, kStep};
    case key::kF1 + 7: return {SystemKeyAction::kMoveResize, 0, -side, 0, -kStep};
    case key::kF10: return {SystemKeyAction::kMenuKey, 0, 0, 0, 0};
    case key::kF1 + 10: return {SystemKeyAction::kMoveResize, shift ? kStep : -kStep, 0, 0, 0};
    case key::kF12: return {SystemKeyAction::kMoveResize, 0, shift ? kStep : -kStep, 0, 0};
    default: return {SystemKeyAction::kIgnore, 0, 0, 0, 0};
  }
}
