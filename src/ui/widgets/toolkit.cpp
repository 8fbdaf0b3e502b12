#include "ui/widgets/toolkit.h"

#include "ui/core/hint_window.h"
#include "ui/core/keyboard_state.h"
#include "ui/core/mouse_tracker.h"
#include "ui/core/repeat_timer.h"
#include "ui/core/window_classes.h"
#include "ui/widgets/control_widgets.h"
#include "ui/widgets/static_widgets.h"
#include "ui/widgets/toolkit_widgets.h"

bool StartToolkit() {
  Keyboard() = KeyboardFlags{};
  StartMouseTracker();
  StartRepeatTimer();
  RegisterToolkitWidgets();
  RegisterControlWidgets();
  RegisterStaticWidgets();
  return RegisterWindowClasses();
}

void LoadToolkitSkin() { LoadCursors(); }

void CloseToolkit() {
  DestroyToolkitHint();
  DestroyCursors();
  UnregisterWindowClasses();
}
