#include "ui/widgets/container.h"

#include <cstring>

#include "log/logger.h"
#include "text/text.h"
#include "ui/core/widget_host.h"

Container::Container(const LayoutEntry& entry, Container* parent) : Widget(entry, parent) {}

// Children go first, last-made first, while the container is still whole.
Container::~Container() {
  while (!children_.empty()) children_.pop_back();
}

Container* Container::AsContainer() { return this; }

Widget* Container::Add(std::unique_ptr<Widget> child) {
  if (child == nullptr || ChildCount() >= kMaxChildren) return nullptr;
  children_.push_back(std::move(child));
  return children_.back().get();
}

std::unique_ptr<Widget> Container::ProvideWidget(const LayoutEntry&) { return nullptr; }

void Container::Close() {
  if (parent_ != nullptr) parent_->Close();
}

void Container::DdeRequest(unsigned, std::uintptr_t, std::intptr_t) {}

bool Container::ReadFieldText(std::uint16_t id, TextBuffer out) {
  Widget* field = FindById(id);
  if (field == nullptr) return false;
  const char* text = field->GetText();
  if (text == nullptr) text = "";
  if (std::strlen(text) + 1 > out.capacity) {
    // The field takes the focus before the message box opens, so the box
    // has the keys while it is open and the field gets them back after.
    field->RequestFocus();
    WidgetHost* host = Host();
    if (host != nullptr) host->RememberFocus(field);
    CurrentLogger().ShowMessage("Text is too long");
    return false;
  }
  return CopyText(out, text);
}

void Container::Shift(int dx, int dy) {
  Widget::Shift(dx, dy);
  for (auto& child : children_) child->Shift(dx, dy);
}

void Container::ResizeBy(int dw, int dh, bool downward, bool rightward) {
  if (dw == 0 && dh == 0) return;
  Widget::ResizeBy(dw, dh, downward, rightward);
  for (auto& child : children_) child->AdjustForResize(dw, dh, downward, rightward);
}

void Container::Paint(Canvas& canvas) {
  for (auto& child : children_) {
    if (child->IsVisible()) child->Paint(canvas);
  }
}

void Container::ShowRange(std::uint16_t first_id, std::uint16_t last_id, bool visible) {
  Widget::ShowRange(first_id, last_id, visible);
  for (auto& child : children_) child->ShowRange(first_id, last_id, visible);
}

Widget* Container::HitTest(int x, int y) {
  if (!visible_) return nullptr;
  for (auto child = children_.rbegin(); child != children_.rend(); ++child) {
    Widget* hit = (*child)->HitTest(x, y);
    if (hit != nullptr) return hit;
  }
  return nullptr;
}

Widget* Container::FindById(std::uint16_t id) {
  if (id == id_) return this;
  for (auto& child : children_) {
    Widget* found = child->FindById(id);
    if (found != nullptr) return found;
  }
  return nullptr;
}

// The container comes before its children going forward and after them
// going backward, so both directions visit the same order.
void Container::TabStep(bool forward, TabState& state) {
  if (forward) Widget::TabStep(forward, state);
  // Nothing inside a hidden container can take the focus.
  if (visible_) {
    int count = ChildCount();
    for (int i = 0; i < count && state != TabState::kTaken; ++i) {
      Child(forward ? i : count - 1 - i).TabStep(forward, state);
    }
  }
  if (!forward && state != TabState::kTaken) Widget::TabStep(forward, state);
}

void Container::WindowActivated(bool active) {
  for (auto& child : children_) child->WindowActivated(active);
}
