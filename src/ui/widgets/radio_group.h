// Radio buttons form groups by position: a group is a run of consecutive
// radio-button children of one container. Checking one clears the others of
// its run; a control of any other kind between two runs separates them.
#pragma once

class Container;
class Widget;

// Children `first` to `last` (0-based, inclusive) of a container.
struct ChildRun {
  int first = -1;
  int last = -1;
};

// The run of radio buttons around `member` among its parent's children;
// {-1, -1} when it has no parent or is not one of the parent's children.
ChildRun RadioGroupOf(const Widget& member);

// Clears every other radio button of `member`'s group with SetChecked(0).
void ClearRestOfRadioGroup(const Widget& member);
