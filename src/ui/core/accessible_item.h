// What a screen reader is told about a window and the things in it. A
// window that speaks to readers is an AccessibleSource: it numbers its parts
// from 1 (child 0 is the window itself) and describes each as an
// AccessibleItem; the window does a child's default action once the
// reader's call has returned (NativeWindow::AccessibleAction). The system
// side (ui/widgets/accessible_object.h) turns these into the Active
// Accessibility interface; nothing here needs a screen.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "ui/core/geometry.h"

// The kind of thing a reader announces. kNone: the widget is not shown to
// readers (a plain container), but its children are.
enum class AccessibleRole : std::uint8_t {
  kNone,
  kClient,
  kDialog,
  kTitleBar,
  kPushButton,
  kCheckBox,
  kRadioButton,
  kEditableText,
  kStaticText,
  kGraphic,
  kList,
  kOutline,
  kToolBar,
  kScrollBar,
  kMenuPopup,
  kMenuItem,
  kSeparator,
};

// What the default action does, as the reader offers it.
enum class AccessibleAction : std::uint8_t { kNone, kPress, kCheck, kUncheck, kExpand, kExecute };

// States, ORed together.
enum AccessibleState : std::uint32_t {
  kAccessibleFocused = 1u << 0,
  kAccessibleFocusable = 1u << 1,
  kAccessibleUnavailable = 1u << 2,
  kAccessibleChecked = 1u << 3,
  kAccessibleMixed = 1u << 4,
  kAccessibleReadOnly = 1u << 5,
  kAccessibleInvisible = 1u << 6,
};

// The events a reader follows.
enum class AccessibleEvent : std::uint8_t { kFocus, kStateChange, kValueChange, kNameChange };

struct AccessibleItem {
  AccessibleRole role = AccessibleRole::kNone;
  std::string_view name;  // text of the window's own, valid while it is unchanged
  std::string value;
  std::uint32_t states = 0;
  Rect bounds{0, 0, 0, 0};  // client coordinates of the window
  AccessibleAction action = AccessibleAction::kNone;
};

class AccessibleSource {
 public:
  // How many children the window has.
  virtual int AccessibleCount() = 0;
  // Child `child` (1 to AccessibleCount), or the window itself for 0.
  virtual AccessibleItem DescribeAccessible(int child) = 0;
  // The child with the keyboard focus, 0 when the window itself has it, -1
  // when the focus is elsewhere.
  virtual int AccessibleFocus() = 0;
  // The child under a client point, 0 for the window, -1 outside it.
  virtual int AccessibleAt(Point client) = 0;

 protected:
  ~AccessibleSource() = default;
};
