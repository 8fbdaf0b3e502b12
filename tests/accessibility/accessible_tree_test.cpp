// The widget tree as readers see it, without a screen: ids in layout order
// through nested containers, with a widget's parts after it; names taken
// from the label before a field; the states the tree adds; the hit test;
// and default actions that a disabled widget refuses.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_window.h"
#include "ui/widgets/accessible_tree.h"
#include "ui/widgets/widget_state.h"

namespace {

// A widget of any role, with a name, a default action and parts.
class Described : public Widget {
 public:
  Described(const LayoutEntry& entry, Container* parent, AccessibleRole role, std::vector<std::string>& log)
      : Widget(entry, parent), log_(log) {
    role_ = role;
    enabled_ = true;
  }
  const char* GetText() const override { return text.c_str(); }
  void Describe(int part, AccessibleItem& item) const override {
    Widget::Describe(part, item);
    static const char* const kPartNames[] = {"", "part 1", "part 2", "part 3"};
    if (part > 0) item.name = kPartNames[part];
    item.action = action;
  }
  int AccessiblePartCount() const override { return parts; }
  void DoDefaultAction(int part) override { log_.push_back(std::to_string(Id()) + "." + std::to_string(part)); }

  std::string text;
  AccessibleAction action = AccessibleAction::kNone;
  int parts = 0;
  using Widget::focusable_;

 private:
  std::vector<std::string>& log_;
};

class AccessibleTree : public ::testing::Test {
 protected:
  Described& Add(Container& parent, std::uint16_t id, AccessibleRole role, int x, int y, const char* text = "") {
    auto widget = std::make_unique<Described>(Entry(id, 1, x, y, 40, 20), &parent, role, log_);
    widget->text = text;
    return static_cast<Described&>(*parent.Add(std::move(widget)));
  }
  Container& AddGroup(std::uint16_t id, int x, int y) {
    return static_cast<Container&>(*root_.Add(std::make_unique<Container>(Entry(id, 1, x, y, 100, 50), &root_)));
  }
  ~AccessibleTree() override { SetFocusedWidget(nullptr); }

  std::vector<std::string> log_;
  RecordingRoot root_{300, 200};
  FakeWindow window_{root_};
};

TEST_F(AccessibleTree, IdsFollowTheLayoutThroughGroupsWithPartsAfterTheirWidget) {
  Add(root_, 1, AccessibleRole::kTitleBar, 0, 0, "Title");
  Add(root_, 2, AccessibleRole::kNone, 0, 20);  // a picture readers do not see
  Container& group = AddGroup(3, 0, 40);
  Described& inner = Add(group, 4, AccessibleRole::kPushButton, 10, 50, "Inner");
  Described& bar = Add(root_, 5, AccessibleRole::kToolBar, 200, 0);
  bar.parts = 2;
  Described& last = Add(root_, 6, AccessibleRole::kPushButton, 200, 100, "Last");

  EXPECT_EQ(AccessibleWidgetCount(root_), 6);
  EXPECT_EQ(AccessibleIdOf(root_, inner), 2);
  EXPECT_EQ(AccessibleIdOf(root_, bar), 3);
  EXPECT_EQ(AccessibleIdOf(root_, last), 6);
  EXPECT_EQ(AccessibleIdOf(root_, group), 0);
  struct Case {
    int child;
    const Widget* widget;
    int part;
  };
  for (const Case& c : {Case{2, &inner, 0}, Case{4, &bar, 1}, Case{5, &bar, 2}, Case{6, &last, 0}, Case{0, nullptr, 0},
                        Case{7, nullptr, 0}}) {
    SCOPED_TRACE(c.child);
    AccessiblePlace place = AccessiblePlaceOf(root_, c.child);
    EXPECT_EQ(place.widget, c.widget);
    EXPECT_EQ(place.part, c.part);
  }
  EXPECT_EQ(DescribePlace(AccessiblePlaceOf(root_, 5)).name, "part 2");
}

TEST_F(AccessibleTree, AFieldWithoutANameTakesTheLabelOrTitleJustBeforeIt) {
  Add(root_, 1, AccessibleRole::kTitleBar, 0, 0, "New folder");
  Described& asked = Add(root_, 2, AccessibleRole::kEditableText, 0, 20);
  Add(root_, 3, AccessibleRole::kStaticText, 0, 40, "Folder");
  Described& labelled = Add(root_, 4, AccessibleRole::kEditableText, 0, 60);
  Described& named = Add(root_, 5, AccessibleRole::kCheckBox, 0, 80, "Keep");
  Described& after_box = Add(root_, 6, AccessibleRole::kList, 0, 100);
  Described& first = *static_cast<Described*>(&root_.Child(0));
  EXPECT_EQ(DescribePlace({&asked, 0}).name, "New folder");
  EXPECT_EQ(DescribePlace({&labelled, 0}).name, "Folder");
  EXPECT_EQ(DescribePlace({&named, 0}).name, "Keep");
  // A label two places up names nothing: the box between belongs to it.
  EXPECT_EQ(DescribePlace({&after_box, 0}).name, "");
  EXPECT_EQ(DescribePlace({&first, 0}).name, "New folder");
}

TEST_F(AccessibleTree, TheTreeAddsVisibilityAvailabilityAndFocus) {
  Described& button = Add(root_, 1, AccessibleRole::kPushButton, 0, 0, "Go");
  button.action = AccessibleAction::kPress;
  button.focusable_ = true;
  Described& label = Add(root_, 2, AccessibleRole::kStaticText, 0, 20, "Note");
  Described& bar = Add(root_, 3, AccessibleRole::kToolBar, 0, 40);
  bar.parts = 1;
  bar.action = AccessibleAction::kPress;

  EXPECT_EQ(DescribePlace({&button, 0}).states, kAccessibleFocusable);
  SetFocusedWidget(&button);
  EXPECT_EQ(DescribePlace({&button, 0}).states, kAccessibleFocusable | kAccessibleFocused);
  button.SetEnabled(false);
  EXPECT_EQ(DescribePlace({&button, 0}).states, kAccessibleUnavailable);
  label.SetEnabled(false);
  EXPECT_EQ(DescribePlace({&label, 0}).states, 0u) << "text that only shows something is not greyed";
  bar.SetEnabled(false);
  EXPECT_EQ(DescribePlace({&bar, 1}).states, kAccessibleUnavailable);
  button.SetVisible(false);
  EXPECT_EQ(DescribePlace({&button, 0}).states, kAccessibleUnavailable | kAccessibleInvisible);
  EXPECT_EQ(DescribePlace({&button, 0}).bounds.left, 0);
  EXPECT_EQ(DescribePlace({&label, 0}).bounds.top, 20);
}

TEST_F(AccessibleTree, HitTestNamesTheInnermostChildReadersSee) {
  Container& group = AddGroup(1, 100, 100);
  Add(group, 2, AccessibleRole::kPushButton, 110, 110, "Inside");
  Add(root_, 3, AccessibleRole::kNone, 10, 10);
  EXPECT_EQ(AccessibleIdAt(root_, Point{120, 120}), 1);
  EXPECT_EQ(AccessibleIdAt(root_, Point{180, 140}), 0) << "the group itself is the window's";
  EXPECT_EQ(AccessibleIdAt(root_, Point{20, 20}), 0);
  EXPECT_EQ(AccessibleIdAt(root_, Point{400, 20}), -1);
}

TEST_F(AccessibleTree, ADisabledOrHiddenWidgetRefusesItsDefaultAction) {
  Described& bar = Add(root_, 7, AccessibleRole::kToolBar, 0, 0);
  bar.parts = 3;
  Described& button = Add(root_, 8, AccessibleRole::kPushButton, 0, 40, "Go");
  DoAccessibleAction(AccessiblePlaceOf(root_, 3));
  DoAccessibleAction(AccessiblePlaceOf(root_, 5));
  DoAccessibleAction(AccessiblePlaceOf(root_, 9));
  bar.SetEnabled(false);
  button.SetVisible(false);
  DoAccessibleAction(AccessiblePlaceOf(root_, 1));
  DoAccessibleAction(AccessiblePlaceOf(root_, 5));
  EXPECT_EQ(log_, (std::vector<std::string>{"7.2", "8.0"}));
}

}  // namespace
