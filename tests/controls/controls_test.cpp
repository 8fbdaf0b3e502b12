// The controls in a window without a screen, driven as a user would through
// the window's routing: a button fires only on release over it or of Space
// (or on Enter),
// check boxes cycle and tell their state, a radio button clears only its
// own group, the edit field takes typing and hands Enter on, the log view
// keeps its newest lines, follows them and asks for one repaint for a
// burst of them, and a click on a tree node's
// expander selects and toggles it at once.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "capture_logger.h"
#include "fake_window.h"
#include "graphics/graphics_resources.h"
#include "named_tree_item.h"
#include "ui/core/key_codes.h"
#include "ui/core/keyboard_state.h"
#include "ui/core/native_window.h"
#include "ui/core/window_classes.h"
#include "ui/widgets/check_box.h"
#include "ui/widgets/log_view.h"
#include "ui/widgets/menu_items.h"
#include "ui/widgets/push_button.h"
#include "ui/widgets/radio_button.h"
#include "ui/widgets/text_edit.h"
#include "ui/widgets/tree_view.h"
#include "ui/widgets/widget_state.h"

namespace {

class Controls : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(Graphics().Create()); }

  Controls() { window_.RouteActivate(true); }
  ~Controls() override { Keyboard() = KeyboardFlags{}; }

  template <typename Class>
  Class& Add(std::uint16_t id, std::uint8_t kind, int x, int y, int width, int height, const char* text = "") {
    auto widget = std::make_unique<Class>(Entry(id, kind, x, y, width, height, 0, text), &root_);
    return static_cast<Class&>(*root_.Add(std::move(widget)));
  }

  void Click(int x, int y) {
    window_.RouteLeftDown(x, y);
    window_.RouteLeftUp(x, y);
    window_.RouteCaptureLost();
  }
  void Key(unsigned key) {
    window_.RouteKeyDown(key, Keyboard().shift);
    window_.RouteKeyUp(key);
  }

  CaptureLogger logger_;
  RecordingRoot root_{400, 400};
  FakeWindow window_{root_};
};

TEST_F(Controls, PushButtonFiresOnReleaseOverItOrOfSpace) {
  Add<PushButton>(7, kButtonKind, 10, 10, 80, 24, "OK");
  Click(20, 20);
  EXPECT_EQ(root_.log, (std::vector<std::string>{"notify7:0"}));

  root_.log.clear();
  window_.RouteLeftDown(20, 20);
  window_.RoutePointerMove(200, 20);  // dragged off: raised, release sends nothing
  window_.RouteLeftUp(200, 20);
  window_.RouteCaptureLost();
  Key(key::kSpace);
  Key(key::kEnter);
  Key(key::kEscape);
  EXPECT_EQ(root_.log, (std::vector<std::string>{"notify7:0", "notify7:0", "notify27:7"}));
}

// What one key does to the focused control, as the window hears it: a push
// button is pressed by Space and Enter (so Enter on a focused "No" is no
// "Yes"); a check box or radio button toggles on Space and hands Enter to
// the window as its default; Escape always goes to the window.
TEST_F(Controls, KeysOnTheFocusedControl) {
  struct Case {
    const char* what;
    std::uint8_t kind;
    unsigned key;
    std::vector<std::string> heard;
    int value;
  } cases[] = {
      {"Space presses a button", kButtonKind, key::kSpace, {"notify5:0"}, 0},
      {"Enter presses a button", kButtonKind, key::kEnter, {"notify5:0"}, 0},
      {"Escape leaves a button to the window", kButtonKind, key::kEscape, {"notify27:5"}, 0},
      {"Space checks a box", kCheckBoxKind, key::kSpace, {"notify5:1"}, 1},
      {"Enter leaves a box alone", kCheckBoxKind, key::kEnter, {"notify13:5"}, 0},
      {"Space selects a radio button", kRadioButtonKind, key::kSpace, {"notify5:0"}, 1},
      {"Enter leaves a radio button alone", kRadioButtonKind, key::kEnter, {"notify13:5"}, 0},
  };
  for (const Case& c : cases) {
    RecordingRoot holder{400, 400};
    FakeWindow host{holder};
    std::unique_ptr<Widget> made;
    LayoutEntry entry = Entry(5, c.kind, 10, 10, 80, 24, 0, "Caption");
    if (c.kind == kCheckBoxKind)
      made = std::make_unique<CheckBox>(entry, &holder);
    else if (c.kind == kRadioButtonKind)
      made = std::make_unique<RadioButton>(entry, &holder);
    else
      made = std::make_unique<PushButton>(entry, &holder);
    Widget& control = *holder.Add(std::move(made));
    host.RouteActivate(true);
    ASSERT_EQ(FocusedWidget(), &control) << c.what;
    host.RouteKeyDown(c.key, false);
    host.RouteKeyUp(c.key);
    EXPECT_EQ(holder.log, c.heard) << c.what;
    EXPECT_EQ(control.GetValue(), c.value) << c.what;
  }
}

TEST_F(Controls, ButtonPressedBySpaceThenLeftSendsNothing) {
  PushButton& button = Add<PushButton>(7, kButtonKind, 10, 10, 80, 24, "OK");
  Add<PushButton>(8, kButtonKind, 10, 50, 80, 24, "Other");
  Click(20, 20);
  root_.log.clear();
  window_.RouteKeyDown(key::kSpace, false);
  EXPECT_TRUE(button.Pressed());
  window_.RouteKeyDown(key::kTab, false);  // the focus moves on
  EXPECT_FALSE(button.Pressed());
  window_.RouteKeyUp(key::kSpace);
  window_.RouteLeftUp(20, 20);
  EXPECT_EQ(root_.log, (std::vector<std::string>{}));
}

TEST_F(Controls, CheckBoxCyclesAndTellsItsState) {
  CheckBox& box = Add<CheckBox>(30, kCheckBoxKind, 10, 10, 120, 40, "Desktop shortcut");
  EXPECT_EQ(box.Height(), 15);
  Click(20, 15);
  Click(20, 15);
  Key(key::kSpace);
  EXPECT_EQ(root_.log, (std::vector<std::string>{"notify30:1", "notify30:0", "notify30:1"}));
  EXPECT_EQ(box.GetValue(), 1);

  // Right clicks: the third state only on an unchecked three-state box.
  auto right_click = [&] {
    window_.RouteRightDown(20, 15);
    window_.RouteRightUp(20, 15);
  };
  right_click();
  EXPECT_EQ(box.GetValue(), 0);
  right_click();
  EXPECT_EQ(box.GetValue(), 0);
  box.SetThreeState(true);
  right_click();
  EXPECT_EQ(box.GetValue(), 2);
  right_click();
  EXPECT_EQ(box.GetValue(), 0);
  box.SetChecked(2);
  root_.log.clear();
  Click(20, 15);
  EXPECT_EQ(root_.log, (std::vector<std::string>{"notify30:0"})) << "from the third state a click clears";
}

TEST_F(Controls, RadioButtonClearsOnlyItsOwnGroup) {
  RadioButton& a = Add<RadioButton>(41, kRadioButtonKind, 10, 10, 100, 20, "A");
  RadioButton& b = Add<RadioButton>(42, kRadioButtonKind, 10, 30, 100, 20, "B");
  Add<PushButton>(43, kButtonKind, 10, 50, 100, 20, "split");
  RadioButton& c = Add<RadioButton>(44, kRadioButtonKind, 10, 80, 100, 20, "C");
  EXPECT_EQ(a.Height(), 13);
  a.SetChecked(1);
  c.SetChecked(1);
  Click(20, 35);
  EXPECT_EQ(a.GetValue(), 0);
  EXPECT_EQ(b.GetValue(), 1);
  EXPECT_EQ(c.GetValue(), 1) << "beyond the push button";
  Click(20, 35);  // checked already: nothing
  EXPECT_EQ(root_.log, (std::vector<std::string>{"notify42:0"}));
}

TEST_F(Controls, EditFieldTakesTypingAndHandsEnterOn) {
  TextEdit& field = Add<TextEdit>(50, kEditFieldKind, 10, 10, 200, 20, "C:\\");
  Click(100, 15);
  for (char c : std::string("Tools")) window_.RouteChar(static_cast<unsigned char>(c));
  EXPECT_STREQ(field.GetText(), "C:\\Tools");
  Keyboard().shift = true;
  Key(key::kEnter);  // one line only: Shift+Enter goes to the parent
  Keyboard().shift = false;
  EXPECT_STREQ(field.GetText(), "C:\\Tools");
  EXPECT_EQ(root_.log, (std::vector<std::string>{"notify13:50"}));

  Widget& as_widget = field;
  as_widget.Enable(false);  // as a window greys its controls: the field turns read-only
  EXPECT_TRUE(field.IsEnabled());
  EXPECT_TRUE(field.ReadOnly());
  window_.RouteChar('x');
  EXPECT_STREQ(field.GetText(), "C:\\Tools");
}

TEST_F(Controls, EditFieldRefusesTextBeyondItsLimit) {
  TextEdit& field = Add<TextEdit>(50, kEditFieldKind, 10, 10, 200, 40);
  std::string most(65435, 'a');
  field.SetText(most.c_str());
  field.RequestFocus();
  EXPECT_EQ(FocusedWidget(), &field);
  EXPECT_EQ(field.Model().SelectedText().size(), most.size()) << "the focus request selects all";
  Key(key::kEnd);
  for (int i = 0; i < 100; ++i) window_.RouteChar('b');
  EXPECT_EQ(std::string(field.GetText()).size(), 65534u);
  EXPECT_EQ(logger_.messages, (std::vector<std::string>{"Text is too long"}));
  field.SetText(std::string(70000, 'c').c_str());
  EXPECT_EQ(std::string(field.GetText()).size(), 65534u);
  EXPECT_EQ(logger_.messages.size(), 2u);
}

TEST_F(Controls, LogViewKeepsTheNewestLinesAndFollowsThem) {
  auto owned = std::make_unique<LogView>(Entry(5405, kTextViewKind, 10, 10, 300, 104), &root_);
  LogView& log = static_cast<LogView&>(*root_.Add(std::move(owned)));
  window_.invalidated.clear();
  for (int i = 1; i <= 1200; ++i) log.TrimAndAppend(("line " + std::to_string(i)).c_str());
  // Until the window paints, the view asks once to be painted whole; the
  // lines after that ask nothing of the window.
  EXPECT_LT(window_.invalidated.size(), 12u);
  // One empty line to start with; the 999th line made 1000, the 1000th
  // found them and kept the newest 500.
  const LineStore& lines = log.Model().Lines();
  EXPECT_EQ(lines.Count(), 701);
  EXPECT_EQ(lines.Text(1), "line 500");
  EXPECT_EQ(lines.Text(701), "line 1200");
  EXPECT_EQ(log.ScrollY(), log.ContentHeight() - log.ViewArea().Height());
  EXPECT_TRUE(log.VerticalBar().IsVisible());
}

TEST_F(Controls, ClickOnAnExpanderSelectsAndTogglesTheNode) {
  auto owned = std::make_unique<TreeView>(Entry(2035, kTextViewKind, 10, 10, 200, 170), &root_);
  TreeView& tree = static_cast<TreeView&>(*root_.Add(std::move(owned)));
  tree.Append(1, 1, NodeState::kExpanded, std::make_unique<NamedTreeItem>("C:\\"));
  tree.Append(2, 6, NodeState::kCollapsed, std::make_unique<NamedTreeItem>("Programs"));
  tree.Append(3, 6, NodeState::kLeaf, std::make_unique<NamedTreeItem>("Tarnell"));
  tree.Append(1, 4, NodeState::kUnread, std::make_unique<NamedTreeItem>("D:\\"));
  EXPECT_EQ(tree.ContentHeight(), 3 * 17);

  Click(10 + 15 + 7, 10 + 17 + 8);  // Programs' expander (level 2: x 15 to 29)
  EXPECT_EQ(tree.Model().Selected(), 2);
  EXPECT_EQ(tree.Model().Node(2).state, NodeState::kExpanded);
  EXPECT_EQ(tree.ContentHeight(), 4 * 17);
  Click(10 + 60, 10 + 17 + 8);  // on the text: selected already, no toggle
  EXPECT_EQ(tree.Model().Node(2).state, NodeState::kExpanded);
  EXPECT_EQ(root_.log, (std::vector<std::string>{"notify845:2035"}));

  Key(key::kEnd);  // D:\, never read: Right reads it and finds nothing
  Key(key::kRight);
  EXPECT_EQ(tree.Model().Node(4).state, NodeState::kLeaf);
  Key(key::kHome);
  Key(key::kLeft);  // collapses the drive
  EXPECT_EQ(tree.ContentHeight(), 2 * 17);
  Click(10 + 60, 10 + 17 * 5);  // below the rows: nothing
  EXPECT_EQ(tree.Model().Selected(), 1);
}

}  // namespace

// From the keyboard (Shift+F10, or the menu key, which arrives as it) a
// view's menu opens where the user is: below the caret line, below the
// selected row; never at the view's corner whatever is focused in it.
TEST_F(Controls, KeyboardMenusOpenBelowTheCaretAndTheSelectedRow) {
  static const MenuItem kMenu[] = {
      {kMenuItem, "Copy", 1735, 0, 0, "copybmp"},
      {kMenuEnd, nullptr, 0, 0, 0, nullptr},
  };
  ASSERT_TRUE(RegisterWindowClasses());
  auto menu_at = [&](Widget& view) {
    SetFocusedWidget(&view);
    Keyboard().shift = true;
    window_.RouteKeyDown(key::kF10, true);
    Keyboard().shift = false;
    NativeWindow* menu = OpenPopup();
    return menu != nullptr ? Point{menu->X(), menu->Y()} : Point{-1, -1};
  };

  auto owned_log = std::make_unique<LogView>(Entry(5405, kTextViewKind, 10, 10, 300, 104), &root_);
  LogView& log = static_cast<LogView&>(*root_.Add(std::move(owned_log)));
  log.SetContextMenu(kMenu);
  for (const char* line : {"one", "two", "three"}) log.TrimAndAppend(line);
  SetFocusedWidget(&log);
  Keyboard().control = true;
  Key(key::kHome);  // the first line
  Keyboard().control = false;
  Point first = menu_at(log);
  Key(key::kDown);
  Key(key::kDown);
  Point third = menu_at(log);
  EXPECT_EQ(third.y - first.y, 2 * log.Model().Lines().LineHeight());
  EXPECT_EQ(third.x, first.x);
  EXPECT_GT(first.y, window_.position.y + 10) << "below the view's top";

  auto owned_tree = std::make_unique<TreeView>(Entry(2035, kTextViewKind, 10, 130, 200, 170), &root_);
  TreeView& tree = static_cast<TreeView&>(*root_.Add(std::move(owned_tree)));
  tree.SetContextMenu(kMenu);
  tree.Append(1, 1, NodeState::kExpanded, std::make_unique<NamedTreeItem>("C:\\"));
  tree.Append(2, 6, NodeState::kLeaf, std::make_unique<NamedTreeItem>("Programs"));
  tree.Append(2, 6, NodeState::kLeaf, std::make_unique<NamedTreeItem>("Tarnell"));
  tree.SelectNode(1);
  Point top = menu_at(tree);
  tree.SelectNode(3);
  Point lowest = menu_at(tree);
  EXPECT_EQ(lowest.y - top.y, 2 * TreeModel::kRowHeight);
  EXPECT_EQ(top.y, window_.position.y + 130 + TreeModel::kRowHeight + tree.ViewArea().top - tree.Y());
}
