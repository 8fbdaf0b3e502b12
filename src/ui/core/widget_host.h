// What a widget may ask of the window it lives in. The frame window
// (ui/widgets) implements it over a real window; tests implement it with a
// recording fake, so widgets are checked without a screen.
#pragma once

#include <cstdint>

#include "ui/core/accessible_item.h"
#include "ui/core/geometry.h"
#include "ui/core/placement.h"
#include "ui/core/window_kind.h"

class Widget;

// The mouse cursors of the toolkit (made from skin pictures).
enum class CursorShape : std::uint8_t {
  kArrow,
  kTextBeam,
  kResizeNwse,  // top-left and bottom-right corners
  kResizeNesw,  // top-right and bottom-left corners
  kResizeNs,    // top and bottom edges
  kResizeWe,    // left and right edges
};

// Receives the ticks of the press-and-hold repeat: the first after 500 ms,
// then one every 50 ms until the repeat is stopped.
class RepeatTarget {
 public:
  virtual void RepeatTick() = 0;

 protected:
  ~RepeatTarget() = default;
};

class WidgetHost {
 public:
  // False before the native window exists; invalidating is then pointless.
  virtual bool HasSurface() const = 0;
  // Marks a client rectangle for repainting.
  virtual void InvalidateArea(const Rect& area) = 0;
  // Moves what `area` shows by (dx, dy) and marks only the part it leaves
  // uncovered for repainting, as a scrolled view wants. A window that
  // cannot move its pixels repaints the whole area.
  virtual void ScrollArea(const Rect& area, int, int) { InvalidateArea(area); }
  virtual void SetCursor(CursorShape shape) = 0;
  // The operating system's handle of the window, for the calls that want an
  // owner window (the clipboard); null while there is none.
  virtual void* SystemHandle() const { return nullptr; }

  virtual WindowKind KindOfWindow() const = 0;
  // Minimised, maximised, normal, or a change under way between them.
  virtual PlacementState CurrentPlacement() const = 0;
  virtual bool IsActive() const = 0;
  // Window position on the screen (border included).
  virtual Point WindowPosition() const = 0;
  virtual void MoveWindowTo(Point screen) = 0;
  // One of the system commands of ui/core/placement.h (minimise, maximise,
  // restore).
  virtual void SystemCommand(unsigned command) = 0;
  virtual Point ClientToScreen(Point client) const = 0;
  // The mouse pointer in client coordinates.
  virtual Point PointerPosition() const = 0;

  // The widget that received the last left-button press and still holds it.
  virtual Widget* PressedWidget() const = 0;
  // The widget that gets the focus back when the window is activated again.
  virtual void RememberFocus(Widget* widget) = 0;

  // The one hint window of the program: a line of text near a screen point.
  virtual void ShowHint(const char* text, Point screen) = 0;
  virtual void HideHint() = 0;

  // The one press-and-hold repeat timer of the program; starting it for a
  // new target takes it from the previous one.
  virtual void StartRepeat(RepeatTarget& target) = 0;
  // Stops the repeat if `target` holds it.
  virtual void StopRepeat(RepeatTarget& target) = 0;

  // Tells screen readers that something changed about `widget`.
  virtual void AccessibleChange(const Widget&, AccessibleEvent) {}

 protected:
  ~WidgetHost() = default;
};
