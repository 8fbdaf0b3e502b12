#include "ui/widgets/static_widgets.h"

#include "ui/widgets/label.h"
#include "ui/widgets/layout_table.h"
#include "ui/widgets/picture.h"

namespace {

template <typename Class>
std::unique_ptr<Widget> Make(const LayoutEntry& entry, Container& parent) {
  return std::make_unique<Class>(entry, &parent);
}

}  // namespace

void RegisterStaticWidgets() {
  RegisterWidgetClass(kLabelKind, Make<Label>);
  RegisterWidgetClass(kPictureKind, Make<Picture>);
  RegisterWidgetClass(kResizeGripKind, Make<ResizeGrip>);
}
