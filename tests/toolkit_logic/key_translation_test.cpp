// The keyboard translation: which keys reach the widgets as special keys and
// which become characters, the control flag that AltGr must not set, and the
// Alt combinations that act on the window.
#include <gtest/gtest.h>

#include "ui/core/key_codes.h"
#include "ui/core/key_translation.h"

namespace {

TEST(KeyTranslation, SortsKeysIntoSpecialKeysAndCharacters) {
  struct Case {
    unsigned key;
    bool shift, control;
    bool special;
    unsigned delivered;
    bool sets_shift;
  } cases[] = {
      {key::kBackspace, false, false, true, key::kBackspace, false},
      {key::kTab, true, false, true, key::kTab, false},
      {key::kEnter, false, false, true, key::kEnter, false},
      {key::kEscape, false, false, true, key::kEscape, false},
      {key::kSpace, false, false, true, key::kSpace, false},
      {key::kPageUp, false, false, true, key::kPageUp, false},
      {key::kDown, false, false, true, key::kDown, false},
      {key::kDelete, false, false, true, key::kDelete, false},
      {key::kF1, false, false, true, key::kF1, false},
      {key::kF12, false, false, true, key::kF12, false},
      {key::kInsert, false, false, true, key::kInsert, false},
      {key::kInsert, true, false, true, 'V', false},  // Shift+Insert pastes
      {key::kApplications, false, false, true, key::kF10, true},
      {'A', false, false, false, 'A', false},
      {'A', false, true, true, 'A', false},
      {'7', false, true, true, '7', false},
      {'7', true, false, false, '7', false},
      {0xBA, false, true, false, 0xBA, false},  // punctuation stays a character
      {key::kF12 + 1, false, false, false, key::kF12 + 1, false},
  };
  for (const Case& c : cases) {
    TranslatedKey t = TranslateKeyDown(c.key, KeyboardFlags{c.shift, c.control});
    EXPECT_EQ(t.special, c.special) << std::hex << c.key;
    EXPECT_EQ(t.key, c.delivered) << std::hex << c.key;
    EXPECT_EQ(t.sets_shift, c.sets_shift) << std::hex << c.key;
  }
}

TEST(KeyTranslation, RightAltDoesNotCountAsControl) {
  std::uint8_t states[256] = {};
  states[key::kControl] = 0x80;
  EXPECT_TRUE(FlagsFromKeyStates(states).control);
  states[key::kRightAlt] = 0x81;
  EXPECT_FALSE(FlagsFromKeyStates(states).control);
  states[key::kShift] = 0x80;
  EXPECT_TRUE(FlagsFromKeyStates(states).shift);
}

TEST(KeyTranslation, AltKeysActOnTheWindow) {
  struct Case {
    unsigned key;
    bool shift;
    SystemKeyAction action;
    int dx, dy, dw, dh;
  } cases[] = {
      {key::kBackspace, false, SystemKeyAction::kUndo, 0, 0, 0, 0},
      {key::kF1 + 1, false, SystemKeyAction::kMinimise, 0, 0, 0, 0},
      {key::kF1 + 2, false, SystemKeyAction::kMaximiseOrRestore, 0, 0, 0, 0},
      {key::kF1 + 3, false, SystemKeyAction::kClose, 0, 0, 0, 0},
      {key::kF1 + 4, false, SystemKeyAction::kMoveResize, 0, 0, 8, 0},
      {key::kF1 + 4, true, SystemKeyAction::kMoveResize, -8, 0, 8, 0},  // grows to the left
      {key::kF1 + 5, false, SystemKeyAction::kMoveResize, 0, 0, -8, 0},
      {key::kF1 + 5, true, SystemKeyAction::kMoveResize, 8, 0, -8, 0},
      {key::kF1 + 6, false, SystemKeyAction::kMoveResize, 0, 0, 0, 8},
      {key::kF1 + 6, true, SystemKeyAction::kMoveResize, 0, -8, 0, 8},
      {key::kF1 + 7, false, SystemKeyAction::kMoveResize, 0, 0, 0, -8},
      {key::kF1 + 7, true, SystemKeyAction::kMoveResize, 0, 8, 0, -8},
      {key::kF10, false, SystemKeyAction::kMenuKey, 0, 0, 0, 0},
      {key::kF1 + 10, false, SystemKeyAction::kMoveResize, -8, 0, 0, 0},
      {key::kF1 + 10, true, SystemKeyAction::kMoveResize, 8, 0, 0, 0},
      {key::kF12, false, SystemKeyAction::kMoveResize, 0, -8, 0, 0},
      {key::kF12, true, SystemKeyAction::kMoveResize, 0, 8, 0, 0},
      {key::kF1, false, SystemKeyAction::kIgnore, 0, 0, 0, 0},
      {key::kF1 + 8, false, SystemKeyAction::kIgnore, 0, 0, 0, 0},
      {'A', false, SystemKeyAction::kIgnore, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SystemKey k = TranslateSystemKey(c.key, c.shift);
    EXPECT_EQ(k.action, c.action) << std::hex << c.key << " shift " << c.shift;
    EXPECT_EQ(k.dx, c.dx) << std::hex << c.key << " shift " << c.shift;
    EXPECT_EQ(k.dy, c.dy) << std::hex << c.key << " shift " << c.shift;
    EXPECT_EQ(k.dw, c.dw) << std::hex << c.key << " shift " << c.shift;
    EXPECT_EQ(k.dh, c.dh) << std::hex << c.key << " shift " << c.shift;
  }
}

}  // namespace
