#include "ui/widgets/toolkit_widgets.h"

#include "ui/widgets/layout_table.h"
#include "ui/widgets/title_bar.h"
#include "ui/widgets/tool_bar.h"

namespace {

template <typename Class>
std::unique_ptr<Widget> Make(const LayoutEntry& entry, Container& parent) {
  return std::make_unique<Class>(entry, &parent);
}

}  // namespace

void RegisterToolkitWidgets() {
  RegisterWidgetClass(kTitleBarKind, Make<TitleBar>);
  RegisterWidgetClass(kToolBarKind, Make<ToolBar>);
}
