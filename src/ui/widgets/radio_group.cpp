#include "ui/widgets/radio_group.h"

#include "ui/widgets/container.h"
#include "ui/widgets/layout_entry.h"

namespace {

int IndexAmongSiblings(const Container& parent, const Widget& member) {
  for (int i = 0; i < parent.ChildCount(); ++i) {
    if (&parent.Child(i) == &member) return i;
  }
  return -1;
}

bool IsRadio(const Container& parent, int index) { return parent.Child(index).Kind() == kRadioButtonKind; }

}  // namespace

ChildRun RadioGroupOf(const Widget& member) {
  const Container* parent = member.Parent();
  if (parent == nullptr) return ChildRun{};
  int index = IndexAmongSiblings(*parent, member);
  if (index < 0) return ChildRun{};
  ChildRun run{index, index};
  while (run.first > 0 && IsRadio(*parent, run.first - 1)) --run.first;
  while (run.last + 1 < parent->ChildCount() && IsRadio(*parent, run.last + 1)) ++run.last;
  return run;
}

void ClearRestOfRadioGroup(const Widget& member) {
  ChildRun run = RadioGroupOf(member);
  for (int i = run.first; i >= 0 && i <= run.last; ++i) {
    Widget& sibling = member.Parent()->Child(i);
    if (&sibling != &member) sibling.SetChecked(0);
  }
}
