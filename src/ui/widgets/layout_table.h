// Building a window's widgets from its layout table. Entry 0 describes the
// window (its root container is made from it by the window's owner); entries
// 1 onward are made in table order by the widget class of their kind. Widget
// classes register a maker for their kind at start-up, so the table format
// does not depend on which classes exist.
#pragma once

#include <cstdint>
#include <memory>

#include "ui/widgets/container.h"
#include "ui/widgets/layout_entry.h"

using WidgetMaker = std::unique_ptr<Widget> (*)(const LayoutEntry& entry, Container& parent);

// Makes `maker` the class of layout kind `kind` (replacing an earlier one).
void RegisterWidgetClass(std::uint8_t kind, WidgetMaker maker);
WidgetMaker WidgetClassOf(std::uint8_t kind);

// Makes entries 1 to count - 1 of `table` as children of `root`, each by
// the root's ProvideWidget or else by the class of its kind; a kind without
// a class gives a plain widget that draws nothing and takes no input.
// Returns the number of widgets made (fewer only when the root is full).
int BuildWidgets(Container& root, const LayoutEntry* table, int count);

// The first widget of `kind` in `root`, or null.
Widget* FindFirstOfKind(Container& root, std::uint8_t kind);
