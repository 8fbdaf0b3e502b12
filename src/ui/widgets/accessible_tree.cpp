#include "ui/widgets/accessible_tree.h"

#include "ui/widgets/container.h"
#include "ui/widgets/widget_state.h"

namespace {

// Walks the children readers see under `container`, counting ids in
// `next`, until it meets `target` or the id `target_id`; the place it
// stopped at, or no widget after the whole tree.
AccessiblePlace Walk(Container& container, int& next, const Widget* target, int target_id) {
  for (int i = 0; i < container.ChildCount(); ++i) {
    Widget& child = container.Child(i);
    if (child.Role() != AccessibleRole::kNone) {
      ++next;
      if (&child == target || next == target_id) return AccessiblePlace{&child, 0};
      int parts = child.AccessiblePartCount();
      if (target_id > next && target_id <= next + parts) return AccessiblePlace{&child, target_id - next};
      next += parts;
    }
    Container* inner = child.AsContainer();
    if (inner != nullptr) {
      AccessiblePlace hit = Walk(*inner, next, target, target_id);
      if (hit.widget != nullptr) return hit;
    }
  }
  return AccessiblePlace{nullptr, 0};
}

// The text of the label that comes just before `widget` among its siblings.
const char* LabelBefore(const Widget& widget) {
  const Container* parent = widget.Parent();
  if (parent == nullptr) return nullptr;
  for (int i = 1; i < parent->ChildCount(); ++i) {
    if (&parent->Child(i) != &widget) continue;
    const Widget& before = parent->Child(i - 1);
    AccessibleRole role = before.Role();
    return role == AccessibleRole::kStaticText || role == AccessibleRole::kTitleBar ? before.GetText() : nullptr;
  }
  return nullptr;
}

}  // namespace

int AccessibleWidgetCount(Container& root) {
  int count = 0;
  Walk(root, count, nullptr, 0);
  return count;
}

AccessiblePlace AccessiblePlaceOf(Container& root, int child) {
  int next = 0;
  return child < 1 ? AccessiblePlace{nullptr, 0} : Walk(root, next, nullptr, child);
}

int AccessibleIdOf(Container& root, const Widget& widget) {
  int next = 0;
  return Walk(root, next, &widget, 0).widget != nullptr ? next : 0;
}

AccessibleItem DescribePlace(const AccessiblePlace& place) {
  AccessibleItem item;
  const Widget* widget = place.widget;
  if (widget == nullptr) return item;
  item.role = place.part == 0 ? widget->Role() : AccessibleRole::kNone;
  item.bounds = widget->Bounds();
  widget->Describe(place.part, item);
  if (place.part == 0 && item.name.empty()) {
    const char* label = LabelBefore(*widget);
    if (label != nullptr) item.name = label;
  }
  if (!widget->IsVisible()) item.states |= kAccessibleInvisible;
  // Text that only shows something is never greyed out for a reader.
  bool interactive = item.action != AccessibleAction::kNone || (place.part == 0 && widget->IsFocusable());
  if (!widget->IsEnabled() && interactive) item.states |= kAccessibleUnavailable;
  if (place.part == 0 && widget->CanTakeFocus()) item.states |= kAccessibleFocusable;
  if (place.part == 0 && FocusedWidget() == widget) item.states |= kAccessibleFocused;
  return item;
}

void DoAccessibleAction(const AccessiblePlace& place) {
  // A click reaches neither a disabled nor a hidden widget.
  if (place.widget == nullptr || !place.widget->IsEnabled() || !place.widget->IsVisible()) return;
  place.widget->DoDefaultAction(place.part);
}

int AccessibleIdAt(Container& root, Point client) {
  if (!root.IsVisible() || !Contains(root.Bounds(), client.x, client.y)) return -1;
  for (Widget* widget = root.HitTest(client.x, client.y); widget != nullptr && widget != &root;
       widget = widget->Parent()) {
    int id = AccessibleIdOf(root, *widget);
    if (id > 0) return id;
  }
  return 0;
}
