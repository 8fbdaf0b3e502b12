#include "ui/widgets/control_widgets.h"

#include "ui/widgets/check_box.h"
#include "ui/widgets/layout_table.h"
#include "ui/widgets/push_button.h"
#include "ui/widgets/radio_button.h"
#include "ui/widgets/text_edit.h"
#include "ui/widgets/text_view.h"

namespace {

template <typename Class>
std::unique_ptr<Widget> Make(const LayoutEntry& entry, Container& parent) {
  return std::make_unique<Class>(entry, &parent);
}

}  // namespace

void RegisterControlWidgets() {
  RegisterWidgetClass(kRadioButtonKind, Make<RadioButton>);
  RegisterWidgetClass(kButtonKind, Make<PushButton>);
  RegisterWidgetClass(kCheckBoxKind, Make<CheckBox>);
  RegisterWidgetClass(kEditFieldKind, Make<TextEdit>);
  RegisterWidgetClass(kTextViewKind, Make<TextView>);
}
