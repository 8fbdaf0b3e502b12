// The press-and-release protocol the buttons share (the pressed look follows
// the held pointer, release over the control or of Space fires, a lost focus
// releases without firing) and radio groups found by position.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/core/key_codes.h"
#include "ui/widgets/behaviour/button_press.h"
#include "ui/widgets/container.h"
#include "ui/widgets/layout_entry.h"
#include "ui/widgets/radio_group.h"

namespace {

const Rect kButton{10, 10, 60, 30};

// Plays a script of events on a fresh press: D pointer down, U pointer up,
// i and o the held pointer moving in and out, s and S Space down and up,
// k and K another key down and up, f focus lost. Returns how often it fired.
int Play(ButtonPress& press, const std::string& script) {
  int fired = 0;
  for (char event : script) {
    ButtonPress::Step step;
    switch (event) {
      case 'D': step = press.PointerDown(); break;
      case 'U': step = press.PointerUp(); break;
      case 'i': step = press.PointerMove(kButton, 30, 20); break;
      case 'o': step = press.PointerMove(kButton, 80, 20); break;
      case 's': step = press.KeyDown(key::kSpace); break;
      case 'S': step = press.KeyUp(key::kSpace); break;
      case 'k': step = press.KeyDown(key::kEnter); break;
      case 'K': step = press.KeyUp(key::kEnter); break;
      case 'f': step = press.FocusLost(); break;
    }
    fired += step.fires ? 1 : 0;
  }
  return fired;
}

TEST(ButtonPress, FiresOnReleaseOverTheControlOrOfSpace) {
  struct Case {
    const char* script;
    int fired;
    bool pressed_after;
  } cases[] = {
      {"DU", 1, false},   {"DiU", 1, false}, {"DoU", 0, false},  // dragged off and released there
      {"DoiU", 1, false},                                        // dragged back before the release
      {"DioU", 0, false}, {"Do", 0, false},                      // raised while off
      {"Doi", 0, true},                                          // pressed again when back
      {"sS", 1, false},   {"sfS", 0, false},                     // Space press, focus lost: the release sends nothing
      {"sfU", 0, false},                                         // nor does a mouse release over it
      {"DfU", 0, false},  {"S", 0, false},                       // a release without a press
      {"U", 0, false},    {"kK", 0, false},                      // other keys do not press
      {"sSsS", 2, false}, {"DoS", 0, false},                     // Space cannot fire a press that is off the control
      {"DS", 1, false},                                          // Space releases a pointer press over the control
      {"DSU", 1, false},
  };
  for (const Case& c : cases) {
    ButtonPress press;
    EXPECT_EQ(Play(press, c.script), c.fired) << c.script;
    EXPECT_EQ(press.Pressed(), c.pressed_after) << c.script;
  }
}

TEST(ButtonPress, TheControlsEdgesCountAsOnIt) {
  struct Case {
    int x, y;
    bool on;
  } cases[] = {
      {10, 10, true}, {60, 30, true}, {60, 20, true}, {61, 20, false}, {9, 20, false}, {30, 31, false},
  };
  for (const Case& c : cases) {
    ButtonPress press;
    press.PointerDown();
    press.PointerMove(kButton, c.x, c.y);
    EXPECT_EQ(press.Pressed(), c.on) << c.x << "," << c.y;
  }
}

TEST(ButtonPress, AsksForARepaintOnlyWhenTheLookChanges) {
  ButtonPress press;
  EXPECT_TRUE(press.PointerDown().repaint);
  EXPECT_FALSE(press.PointerMove(kButton, 20, 20).repaint);
  EXPECT_TRUE(press.PointerMove(kButton, 90, 20).repaint);
  EXPECT_FALSE(press.PointerMove(kButton, 95, 20).repaint);
  EXPECT_FALSE(press.PointerUp().repaint) << "already raised";
  EXPECT_FALSE(press.FocusLost().repaint);
  press.KeyDown(key::kSpace);
  EXPECT_TRUE(press.FocusLost().repaint);
}

// --- Radio groups ---------------------------------------------------------------

class Checkable : public Widget {
 public:
  Checkable(std::uint8_t kind, Container* parent) : Widget(LayoutEntry{0, kind, 0, 0, 0, 10, 10, ""}, parent) {}
  void SetChecked(int state) override { checked = state != 0; }
  bool checked = true;
};

TEST(RadioGroup, ARunOfRadioButtonsBetweenOtherControls) {
  // kinds of the children and the member checked; 'r' radio, 'b' button
  struct Case {
    const char* kinds;
    int member;
    ChildRun run;
    const char* cleared_after;  // x: cleared, -: untouched
  } cases[] = {
      {"rrr", 1, {0, 2}, "x-x"},     {"brrb", 1, {1, 2}, "--x-"}, {"rrbrr", 0, {0, 1}, "-x---"},
      {"rrbrr", 4, {3, 4}, "---x-"}, {"r", 0, {0, 0}, "-"},       {"bbr", 2, {2, 2}, "---"},
  };
  for (const Case& c : cases) {
    Container parent(LayoutEntry{0, kWindowKind, 0, 0, 0, 200, 200, ""}, nullptr);
    std::vector<Checkable*> children;
    for (const char* k = c.kinds; *k != '\0'; ++k) {
      auto child = std::make_unique<Checkable>(*k == 'r' ? kRadioButtonKind : kButtonKind, &parent);
      children.push_back(child.get());
      parent.Add(std::move(child));
    }
    ChildRun run = RadioGroupOf(*children[static_cast<std::size_t>(c.member)]);
    EXPECT_EQ(run.first, c.run.first) << c.kinds << " " << c.member;
    EXPECT_EQ(run.last, c.run.last) << c.kinds << " " << c.member;
    ClearRestOfRadioGroup(*children[static_cast<std::size_t>(c.member)]);
    std::string cleared;
    for (Checkable* child : children) cleared += child->checked ? '-' : 'x';
    EXPECT_EQ(cleared, c.cleared_after) << c.kinds << " " << c.member;
  }
}

TEST(RadioGroup, ALoneWidgetHasNoGroup) {
  Checkable lone(kRadioButtonKind, nullptr);
  EXPECT_EQ(RadioGroupOf(lone).first, -1);
  ClearRestOfRadioGroup(lone);
  EXPECT_TRUE(lone.checked);
}

}  // namespace
