#include "ui/widgets/layout_table.h"

namespace {

WidgetMaker classes[256] = {};

}  // namespace

void RegisterWidgetClass(std::uint8_t kind, WidgetMaker maker) { classes[kind] = maker; }

WidgetMaker WidgetClassOf(std::uint8_t kind) { return classes[kind]; }

int BuildWidgets(Container& root, const LayoutEntry* table, int count) {
  int made = 0;
  for (int i = 1; i < count; ++i) {
    const LayoutEntry& entry = table[i];
    std::unique_ptr<Widget> widget = root.ProvideWidget(entry);
    if (widget == nullptr) {
      WidgetMaker maker = classes[entry.kind];
      widget = maker != nullptr ? maker(entry, root) : std::make_unique<Widget>(entry, &root);
    }
    if (root.Add(std::move(widget)) != nullptr) ++made;
  }
  return made;
}

Widget* FindFirstOfKind(Container& root, std::uint8_t kind) {
  for (int i = 0; i < root.ChildCount(); ++i) {
    Widget& child = root.Child(i);
    if (child.Kind() == kind) return &child;
  }
  return nullptr;
}
