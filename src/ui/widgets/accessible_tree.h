// A widget tree as screen readers see it: the widgets of a role, numbered
// from 1 in the order of a depth-first walk (the layout table's order), each
// described by its role, name, value, states, place and default action. A
// field or a box without a name of its own takes the text of the label
// just before it, as a reader expects of a labelled control.
#pragma once

#include "ui/core/accessible_item.h"

class Container;
class Widget;

int AccessibleWidgetCount(Container& root);
// The widget of child id `child`, or null.
Widget* AccessibleWidgetAt(Container& root, int child);
// The child id of `widget`, 0 when readers do not see it.
int AccessibleIdOf(Container& root, const Widget& widget);
AccessibleItem DescribeWidget(const Widget& widget);
// The child under a client point: the innermost widget readers see there,
// 0 for the root itself, -1 outside.
int AccessibleIdAt(Container& root, Point client);
