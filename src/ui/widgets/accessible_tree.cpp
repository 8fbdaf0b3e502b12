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

bool HasText(const char* text) { return text != nullptr && text[0] != '\0'; }

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

std::uint32_t StatesOf(const Widget& widget) {
  std::uint32_t states = 0;
  if (!widget.IsVisible()) states |= kAccessibleInvisible;
  // Text that only shows something is never greyed out for a reader.
  bool interactive = widget.IsFocusable() || widget.DefaultAction() != AccessibleAction::kNone;
  if (!widget.IsEnabled() && interactive) states |= kAccessibleUnavailable;
  if (widget.IsFocusable() && widget.IsEnabled()) states |= kAccessibleFocusable;
  if (FocusedWidget() == &widget) states |= kAccessibleFocused;
  if (widget.IsReadOnly()) states |= kAccessibleReadOnly;
  AccessibleRole role = widget.Role();
  if (role == AccessibleRole::kCheckBox || role == AccessibleRole::kRadioButton) {
    int value = widget.GetValue();
    if (value == 1) states |= kAccessibleChecked;
    if (value == 2) states |= kAccessibleMixed;
  }
  return states;
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

AccessibleItem DescribeWidget(const Widget& widget) {
  AccessibleItem item;
  item.role = widget.Role();
  const char* name = widget.AccessibleName();
  if (!HasText(name)) name = LabelBefore(widget);
  if (HasText(name)) item.name = name;
  item.value = widget.AccessibleValue();
  item.states = StatesOf(widget);
  item.bounds = widget.Bounds();
  item.action = widget.DefaultAction();
  return item;
}

AccessibleItem DescribePlace(const AccessiblePlace& place) {
  if (place.widget == nullptr) return AccessibleItem{};
  if (place.part == 0) return DescribeWidget(*place.widget);
  AccessibleItem item;
  place.widget->DescribePart(place.part, item);
  if (!place.widget->IsVisible()) item.states |= kAccessibleInvisible;
  if (!place.widget->IsEnabled() && item.action != AccessibleAction::kNone) item.states |= kAccessibleUnavailable;
  return item;
}

void DoAccessibleAction(const AccessiblePlace& place) {
  if (place.widget == nullptr || !place.widget->IsEnabled()) return;
  if (place.part == 0) {
    place.widget->DoDefaultAction();
  } else {
    place.widget->DoPartAction(place.part);
  }
}

int AccessibleIdAt(Container& root, Point client) {
  if (!root.IsVisible() || !Contains(root.Bounds(), client.x, client.y)) return -1;
  for (Widget* widget = root.HitTest(client.x, client.y); widget != nullptr && widget != &root;
       widget = widget->Parent()) {
    int id = AccessibleIdOf(root, *widget);
    if (id > 0) return id + widget->AccessiblePartAt(client);
  }
  return 0;
}
