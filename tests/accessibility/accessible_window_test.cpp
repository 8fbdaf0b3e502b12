// A toolkit window's accessible object in the window's own process, through
// the calls readers make: the children with their roles, names (a field
// named by the label before it), values and states; ids and arguments a
// reader gets wrong; a default action that runs from the message loop and
// does what a click does; the events readers follow; and a window destroyed
// while a reader still holds its object.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "fake_window.h"
#include "graphics/graphics_resources.h"
#include "handles/com_ptr.h"
#include "reader.h"
#include "ui/widgets/frame_window.h"
#include "ui/widgets/toolkit.h"
#include "ui/widgets/widget_state.h"

namespace {

constexpr std::uint16_t kField = 11;
constexpr std::uint16_t kBox = 12;
constexpr std::uint16_t kGo = 13;
constexpr std::uint16_t kOff = 14;

const LayoutEntry kTable[] = {
    {1000, kWindowKind, 0x00, 40, 50, 300, 120, ""},     {0, kTitleBarKind, 0x04, 0, 0, 300, 20, "Readers"},
    {0, kLabelKind, 0x00, 8, 24, 200, 17, "Folder"},     {kField, kEditFieldKind, 0x00, 8, 44, 200, 17, ""},
    {kBox, kCheckBoxKind, 0x00, 8, 66, 200, 15, "Keep"}, {kGo, kButtonKind, 0x00, 8, 88, 80, 24, "Go"},
    {kOff, kButtonKind, 0x00, 100, 88, 80, 24, "Off"},
};

std::wstring Take(BSTR text) {
  ComText owned(text);
  return text != nullptr ? text : L"";
}

// The events raised for the window, as "event:child".
std::vector<std::string>* events = nullptr;
HWND watched = nullptr;

void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (events == nullptr || window != watched || object != OBJID_CLIENT) return;
  const char* name = event == EVENT_OBJECT_FOCUS         ? "focus"
                     : event == EVENT_OBJECT_STATECHANGE ? "state"
                     : event == EVENT_OBJECT_VALUECHANGE ? "value"
                                                         : "other";
  events->push_back(std::string(name) + ":" + std::to_string(child));
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

class AccessibleWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ASSERT_TRUE(Graphics().Create());
    ASSERT_TRUE(StartToolkit());
  }

  AccessibleWindow() {
    frame_ =
        std::make_unique<FrameWindow>(root_, kTable, static_cast<int>(std::size(kTable)), WindowKind::kApplication);
    root_.FindById(kOff)->SetEnabled(false);
    root_.FindById(kField)->SetText("C:\\Data");
    frame_->ShowMain("Readers");
    object_ = ObjectOf(frame_->Handle());
  }
  ~AccessibleWindow() override {
    if (object_ != nullptr) object_->Release();
    frame_.reset();
    SetFocusedWidget(nullptr);
  }

  static IAccessible* ObjectOf(HWND window) {
    IAccessible* found = nullptr;
    AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), kIidAccessible,
                               reinterpret_cast<void**>(&found));
    return found;
  }
  std::wstring Name(LONG id) {
    BSTR text = nullptr;
    object_->get_accName(Child(id), &text);
    return Take(text);
  }
  LONG Role(LONG id) {
    VARIANT role;
    VariantInit(&role);
    object_->get_accRole(Child(id), &role);
    return role.lVal;
  }
  LONG State(LONG id) {
    VARIANT state;
    VariantInit(&state);
    object_->get_accState(Child(id), &state);
    return state.lVal;
  }

  RecordingRoot root_{300, 120};
  std::unique_ptr<FrameWindow> frame_;
  IAccessible* object_ = nullptr;
};

TEST_F(AccessibleWindow, ChildrenCarryRoleNameValueAndStateInLayoutOrder) {
  ASSERT_NE(object_, nullptr);
  long count = 0;
  ASSERT_EQ(object_->get_accChildCount(&count), S_OK);
  ASSERT_EQ(count, 6);
  struct Expected {
    LONG role;
    const wchar_t* name;
    LONG states;  // of unavailable, checked and read-only
  };
  const Expected expected[] = {
      {ROLE_SYSTEM_TITLEBAR, L"Readers", 0}, {ROLE_SYSTEM_STATICTEXT, L"Folder", STATE_SYSTEM_READONLY},
      {ROLE_SYSTEM_TEXT, L"Folder", 0},      {ROLE_SYSTEM_CHECKBUTTON, L"Keep", 0},
      {ROLE_SYSTEM_PUSHBUTTON, L"Go", 0},    {ROLE_SYSTEM_PUSHBUTTON, L"Off", STATE_SYSTEM_UNAVAILABLE},
  };
  const LONG watched_states = STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_CHECKED | STATE_SYSTEM_READONLY;
  for (LONG id = 1; id <= count; ++id) {
    SCOPED_TRACE(id);
    EXPECT_EQ(Role(id), expected[id - 1].role);
    EXPECT_EQ(Name(id), expected[id - 1].name);
    EXPECT_EQ(State(id) & watched_states, expected[id - 1].states);
  }
  EXPECT_EQ(Role(CHILDID_SELF), ROLE_SYSTEM_CLIENT);
  EXPECT_EQ(Name(CHILDID_SELF), L"Readers");
  BSTR value = nullptr;
  EXPECT_EQ(object_->get_accValue(Child(3), &value), S_OK);
  EXPECT_EQ(Take(value), L"C:\\Data");

  // The place is on the screen: the window's position, its border, the box.
  long left = 0, top = 0, width = 0, height = 0;
  ASSERT_EQ(object_->accLocation(&left, &top, &width, &height, Child(5)), S_OK);
  EXPECT_EQ(left, frame_->X() + frame_->Border() + 8);
  EXPECT_EQ(top, frame_->Y() + frame_->Border() + 88);
  EXPECT_EQ(width, 80);
  EXPECT_EQ(height, 24);
  VARIANT hit;
  VariantInit(&hit);
  ASSERT_EQ(object_->accHitTest(left + 5, top + 5, &hit), S_OK);
  EXPECT_EQ(hit.lVal, 5);
}

TEST_F(AccessibleWindow, IdsAndArgumentsAReaderGetsWrongAreRefused) {
  ASSERT_NE(object_, nullptr);
  BSTR text = nullptr;
  EXPECT_EQ(object_->get_accName(Child(7), &text), E_INVALIDARG);
  EXPECT_EQ(object_->get_accName(Child(-1), &text), E_INVALIDARG);
  VARIANT wrong_type;
  VariantInit(&wrong_type);
  wrong_type.vt = VT_BSTR;
  wrong_type.bstrVal = nullptr;
  EXPECT_EQ(object_->get_accName(wrong_type, &text), E_INVALIDARG);
  EXPECT_EQ(text, nullptr);
  // Neither a disabled button nor a label does anything.
  EXPECT_EQ(object_->accDoDefaultAction(Child(6)), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(object_->accDoDefaultAction(Child(2)), DISP_E_MEMBERNOTFOUND);
  PumpMessages();
  EXPECT_TRUE(root_.log.empty());
}

TEST_F(AccessibleWindow, DefaultActionRunsFromTheLoopAsAClickDoes) {
  ASSERT_NE(object_, nullptr);
  BSTR action = nullptr;
  ASSERT_EQ(object_->get_accDefaultAction(Child(4), &action), S_OK);
  EXPECT_EQ(Take(action), L"Check");
  ASSERT_EQ(object_->accDoDefaultAction(Child(4)), S_OK);
  // The reader's call has returned before the box changes.
  EXPECT_EQ(root_.FindById(kBox)->GetValue(), 0);
  PumpMessages();
  EXPECT_EQ(root_.FindById(kBox)->GetValue(), 1);
  EXPECT_NE(State(4) & STATE_SYSTEM_CHECKED, 0);
  ASSERT_EQ(object_->get_accDefaultAction(Child(4), &action), S_OK);
  EXPECT_EQ(Take(action), L"Uncheck");
  ASSERT_EQ(object_->accDoDefaultAction(Child(5)), S_OK);
  PumpMessages();
  EXPECT_EQ(root_.log, (std::vector<std::string>{"notify12:1", "notify13:0"}));
}

TEST_F(AccessibleWindow, FocusCheckAndValueChangesRaiseEvents) {
  ASSERT_NE(object_, nullptr);
  std::vector<std::string> seen;
  events = &seen;
  watched = frame_->Handle();
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, RecordEvent,
                                       GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  PumpMessages();
  seen.clear();
  SetFocusedWidget(root_.FindById(kGo));
  root_.FindById(kBox)->SetChecked(1);
  root_.FindById(kField)->SetText("D:\\");
  PumpMessages();
  UnhookWinEvent(hook);
  events = nullptr;
  EXPECT_EQ(seen, (std::vector<std::string>{"focus:5", "state:4", "value:3"}));
  VARIANT focus;
  VariantInit(&focus);
  ASSERT_EQ(object_->get_accFocus(&focus), S_OK);
  EXPECT_EQ(focus.lVal, 5);
}

TEST_F(AccessibleWindow, AReaderHoldingTheObjectOfADestroyedWindowIsRefused) {
  ASSERT_NE(object_, nullptr);
  HWND handle = frame_->Handle();
  ASSERT_EQ(object_->accDoDefaultAction(Child(5)), S_OK);
  frame_.reset();
  PumpMessages();
  EXPECT_FALSE(IsWindow(handle));
  long count = 0;
  EXPECT_EQ(object_->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);
  BSTR text = nullptr;
  EXPECT_EQ(object_->get_accName(Child(1), &text), CO_E_OBJNOTCONNECTED);
  EXPECT_EQ(object_->accDoDefaultAction(Child(5)), CO_E_OBJNOTCONNECTED);
  long left = 0, top = 0, width = 0, height = 0;
  EXPECT_EQ(object_->accLocation(&left, &top, &width, &height, Child(CHILDID_SELF)), CO_E_OBJNOTCONNECTED);
  // The action posted before the window went does not run.
  EXPECT_TRUE(root_.log.empty());
}

}  // namespace
