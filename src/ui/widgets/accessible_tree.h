// A widget tree as screen readers see it: the widgets of a role, each
// followed by its parts, numbered from 1 in the order of a depth-first walk
// (the layout table's order), each described by its role, name, value,
// states, place and default action. A field or a box without a name of its
// own takes the text of the label (or the title bar) just before it, as a
// reader expects of a labelled control.
#pragma once

#include "ui/core/accessible_item.h"

class Container;
class Widget;

// A child: a widget, or one of its parts.
struct AccessiblePlace {
  Widget* widget;  // null: no such child
  int part;        // 0: the widget itself
};

int AccessibleWidgetCount(Container& root);
AccessiblePlace AccessiblePlaceOf(Container& root, int child);
// The child id of `widget`, 0 when readers do not see it.
int AccessibleIdOf(Container& root, const Widget& widget);
AccessibleItem DescribePlace(const AccessiblePlace& place);
// The default action of a child, as a click does it; nothing for a child
// that is disabled or hidden.
void DoAccessibleAction(const AccessiblePlace& place);
// The child under a client point: the innermost widget readers see there,
// 0 for the root itself, -1 outside.
int AccessibleIdAt(Container& root, Point client);
