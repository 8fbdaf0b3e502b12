// The window core with real windows under Wine: the dispatch table (Alt+F4
// arrives as the close command and the system does not close the window),
// a mouse move without movement is dropped, keys become special keys or
// characters, one popup at a time, a dialog disables its owner until it is
// hidden, the size limits, painting only the update region, exceptions from
// a window procedure, and the wait table's timers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/graphics_resources.h"
#include "handles/owned_handle.h"
#include "log/abort_error.h"
#include "ui/core/key_codes.h"
#include "ui/core/native_window.h"
#include "ui/core/wait_table.h"
#include "ui/core/window_classes.h"
#include "ui/core/window_errors.h"
#include "ui/widgets/toolkit.h"

namespace {

class ToolkitEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(Graphics().Create());
    ASSERT_TRUE(StartToolkit());
  }
  void TearDown() override {
    CloseToolkit();
    Graphics().Release();
  }
};
const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ToolkitEnvironment);

// A window that writes down what its operations were told.
class ProbeWindow : public NativeWindow {
 public:
  explicit ProbeWindow(WindowKind kind = WindowKind::kApplication, ResizeMode mode = ResizeMode::kFixed)
      : NativeWindow(kind, mode, 100, 100, 200, 100) {}
  ProbeWindow(WindowKind kind, int x, int y) : NativeWindow(kind, x, y, 50, 40) {}

  void KeyDown(unsigned key) override {
    if (key == key::kF1 && throw_on_f1) throw AbortError{};
    calls.push_back("key " + std::to_string(key));
  }
  void Char(unsigned char character) override { calls.push_back(std::string("char ") + static_cast<char>(character)); }
  void MouseMove(int x, int y) override { calls.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }
  void LeftDown(int x, int y) override { calls.push_back("down " + std::to_string(x) + "," + std::to_string(y)); }
  void Draw(Canvas& canvas) override {
    const Rect& clip = canvas.Clip();
    calls.push_back("draw " + std::to_string(clip.left) + "," + std::to_string(clip.top) + "," +
                    std::to_string(clip.right) + "," + std::to_string(clip.bottom));
  }

  std::vector<std::string> calls;
  bool throw_on_f1 = false;
};

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST(NativeWindow, AltF4IsTheCloseCommandAndTheSystemClosesNothing) {
  ProbeWindow window;
  ASSERT_TRUE(window.CreateNative("probe"));
  SendMessageA(window.Handle(), WM_SYSKEYDOWN, VK_F4, 0);
  SendMessageA(window.Handle(), WM_CLOSE, 0, 0);
  SendMessageA(window.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(IsWindow(window.Handle()));
  EXPECT_EQ(window.calls, (std::vector<std::string>{"key 61536"}));
}

TEST(NativeWindow, MouseMoveWithoutMovementIsDroppedAndPositionsAreClientCoordinates) {
  ProbeWindow window;
  ASSERT_TRUE(window.CreateNative("probe"));
  SendMessageA(window.Handle(), WM_MOUSEMOVE, 0, At(20, 30));
  SendMessageA(window.Handle(), WM_MOUSEMOVE, 0, At(20, 30));
  SendMessageA(window.Handle(), WM_MOUSEMOVE, 0, At(21, 30));
  SendMessageA(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(21, 30));
  SendMessageA(window.Handle(), WM_LBUTTONUP, 0, At(21, 30));
  EXPECT_EQ(window.calls, (std::vector<std::string>{"move 18,28", "move 19,28", "down 19,28"}));
}

TEST(NativeWindow, KeysBecomeSpecialKeysOrCharacters) {
  ProbeWindow window;
  ASSERT_TRUE(window.CreateNative("probe"));
  UINT scan_a = MapVirtualKeyA('A', MAPVK_VK_TO_VSC);
  SendMessageA(window.Handle(), WM_KEYDOWN, VK_DOWN, 0);
  SendMessageA(window.Handle(), WM_KEYDOWN, 'A', static_cast<LPARAM>(scan_a << 16 | 1));
  SendMessageA(window.Handle(), WM_KEYDOWN, VK_APPS, 0);
  EXPECT_EQ(window.calls, (std::vector<std::string>{"key 40", "char a", "key 121"}));
}

// An exception in a callback is parked until the window procedure has
// returned. A window that goes while one is parked, as while it unwinds the
// run, must not raise it from its destructor (that would end the process):
// it stays for the loop to raise.
TEST(NativeWindow, ExceptionsWaitUntilTheWindowProcedureHasReturned) {
  auto park = [](ProbeWindow& window) {
    ASSERT_TRUE(window.CreateNative("probe"));
    window.throw_on_f1 = true;
    SendMessageA(window.Handle(), WM_KEYDOWN, VK_F1, 0);
  };
  ProbeWindow window;
  park(window);
  EXPECT_THROW(RaiseParkedWindowError(), AbortError);
  EXPECT_NO_THROW(RaiseParkedWindowError());
  {
    ProbeWindow doomed;
    park(doomed);
  }
  EXPECT_THROW(RaiseParkedWindowError(), AbortError);
}

TEST(NativeWindow, SecondPopupClosesTheFirst) {
  ProbeWindow first(WindowKind::kPopup, 10, 10);
  ProbeWindow second(WindowKind::kPopup, 80, 10);
  first.Show();
  EXPECT_EQ(OpenPopup(), &first);
  second.Show();
  EXPECT_EQ(OpenPopup(), &second);
  EXPECT_FALSE(first.Exists());
  second.Hide();
  EXPECT_EQ(OpenPopup(), nullptr);
}

TEST(NativeWindow, DialogIsCentredOnItsOwnerAndDisablesItUntilHidden) {
  ProbeWindow owner;
  owner.ShowMain("owner");
  NativeWindow dialog(WindowKind::kDialog, ResizeMode::kFixed, 0, 0, 100, 50);
  dialog.Show();
  EXPECT_EQ(CurrentTopWindow(), &dialog);
  EXPECT_EQ(dialog.Owner(), &owner);
  EXPECT_FALSE(IsWindowEnabled(owner.Handle()));
  EXPECT_EQ(dialog.X(), 100 + (204 - 104) / 2);
  EXPECT_EQ(dialog.Y(), 100 + (104 - 54) / 2);
  dialog.Hide();
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_EQ(CurrentTopWindow(), &owner);
  // A passive popup shown and hidden leaves the owner as it was.
  ProbeWindow hint(WindowKind::kPassivePopup, 0, 0);
  dialog.Show();
  hint.Show();
  hint.Hide();
  EXPECT_FALSE(IsWindowEnabled(owner.Handle()));
  dialog.Destroy();
  EXPECT_TRUE(IsWindowEnabled(owner.Handle())) << "a destroyed dialog gives its owner back";
}

// A dialog over a dialog, made before it is shown (as the dialogs take
// their title only then): its system owner is the dialog below, so Windows
// keeps it above that one.
TEST(NativeWindow, ADialogMadeOverADialogIsOwnedByIt) {
  ProbeWindow main;
  main.ShowMain("main");
  NativeWindow browser(WindowKind::kDialog, ResizeMode::kFixed, 0, 0, 100, 50);
  browser.Show();
  NativeWindow question(WindowKind::kDialog, ResizeMode::kFixed, 0, 0, 80, 40);
  ASSERT_TRUE(question.CreateNative("question"));
  question.Show();
  EXPECT_EQ(GetWindow(question.Handle(), GW_OWNER), browser.Handle());
  EXPECT_EQ(question.Owner(), &browser);
  question.Destroy();
  browser.Destroy();
}

// A main window the system refuses is reported, so the run can end instead
// of waiting for a window that is not there.
TEST(NativeWindow, AMainWindowThatCannotBeMadeIsReported) {
  UnregisterWindowClasses();
  ProbeWindow main;
  bool shown = main.ShowMain("main");
  ASSERT_TRUE(RegisterWindowClasses());
  EXPECT_FALSE(shown);
  EXPECT_FALSE(main.Exists());
}

TEST(NativeWindow, SizeLimitsFollowTheResizeMode) {
  struct Case {
    ResizeMode mode;
    bool wide, tall;
  } cases[] = {{ResizeMode::kBoth, true, true},
               {ResizeMode::kHorizontal, true, false},
               {ResizeMode::kVertical, false, true},
               {ResizeMode::kFixed, false, false}};
  for (const Case& c : cases) {
    ProbeWindow window(WindowKind::kApplication, c.mode);
    ASSERT_TRUE(window.CreateNative("probe"));
    MINMAXINFO info{};
    SendMessageA(window.Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 204);
    EXPECT_EQ(info.ptMinTrackSize.y, 104);
    EXPECT_EQ(info.ptMaxTrackSize.x, c.wide ? Graphics().ScreenWidth() : 204) << int(c.mode);
    EXPECT_EQ(info.ptMaxTrackSize.y, c.tall ? Graphics().ScreenHeight() : 104) << int(c.mode);
    EXPECT_EQ(info.ptMaxSize.x, Graphics().ScreenWidth() + 4) << "maximised, the border lies off the screen";
    EXPECT_EQ(info.ptMaxPosition.x, -2);
    // Keys and drags cannot pass the limits either.
    window.MoveResize(0, 0, -50, 5000);
    RECT placed;
    GetWindowRect(window.Handle(), &placed);
    EXPECT_EQ(placed.right - placed.left, 204);
    EXPECT_EQ(placed.bottom - placed.top, c.tall ? Graphics().ScreenHeight() : 104) << int(c.mode);
  }
}

TEST(NativeWindow, PaintsOnlyTheUpdateRegionInClientCoordinates) {
  ProbeWindow window;
  ASSERT_TRUE(window.CreateNative("probe"));
  ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
  UpdateWindow(window.Handle());
  window.calls.clear();
  window.Invalidate(Rect{10, 20, 30, 25});
  UpdateWindow(window.Handle());
  EXPECT_EQ(window.calls, (std::vector<std::string>{"draw 10,20,30,25"}));
  window.calls.clear();
  UpdateWindow(window.Handle());
  EXPECT_TRUE(window.calls.empty()) << "the whole window was validated";
}

TEST(WaitTable, TimersRunTheirCallbacksInTheLoop) {
  int ticks = 0;
  KernelHandle timer(CreateTimer([&ticks] { ++ticks; }));
  ASSERT_TRUE(timer);
  StartTimer(timer.Get(), 10);
  DWORD start = GetTickCount();
  while (ticks < 3 && GetTickCount() - start < 5000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    RunPending();
  }
  StopTimer(timer.Get());
  RemoveWaitHandle(timer.Get());
  timer.Reset();
  EXPECT_GE(ticks, 3);

  PostQuitMessage(0);
  RunLoop();  // returns at WM_QUIT
}

}  // namespace
