// A widget that holds others. Every window has one root container: it is
// made from the window's own layout entry, owns the widgets built from the
// rest of the table, reaches the window through its WidgetHost, and is where
// commands (Notify), the close request and unclaimed keys end. A window's
// behaviour is a root container subclass that overrides those.
//
// Children are painted in creation order, so a later child lies on top of an
// earlier one; hit testing therefore asks the later ones first.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "text/fixed_text.h"
#include "ui/widgets/widget.h"

class Container : public Widget {
 public:
  // One byte counts the children.
  static constexpr int kMaxChildren = 255;

  Container(const LayoutEntry& entry, Container* parent);
  ~Container() override;

  // Takes ownership of `child`, whose parent must be this container; returns
  // it, or null (destroying it) when the container is full.
  Widget* Add(std::unique_ptr<Widget> child);
  int ChildCount() const { return static_cast<int>(children_.size()); }
  Widget& Child(int index) const { return *children_[static_cast<std::size_t>(index)]; }

  // The window of a root container (null while it is in none).
  void SetHost(WidgetHost* host) { host_ = host; }
  WidgetHost* OwnHost() const { return host_; }

  // Asked by the layout builder for every entry before its class's maker:
  // a window that embeds a widget of its own returns it here. Null lets
  // the builder make the entry's class.
  virtual std::unique_ptr<Widget> ProvideWidget(const LayoutEntry& entry);
  // The window is asked to close (close button, Alt+F4). A nested container
  // passes it to its parent; the root does nothing unless a subclass does.
  virtual void Close();
  // A DDE message that reached the window (documents opened through a file
  // association); nothing by default.
  virtual void DdeRequest(unsigned message, std::uintptr_t w_param, std::intptr_t l_param);

  // Copies the text of the child with `id` into `out`. When it does not fit,
  // shows "Text is too long", gives that child the focus, remembers it as the
  // window's focus and returns false; false also when no child has the id.
  bool ReadFieldText(std::uint16_t id, TextBuffer out);

  Container* AsContainer() override;
  void Shift(int dx, int dy) override;
  void ResizeBy(int dw, int dh, bool downward, bool rightward) override;
  void Paint(Canvas& canvas) override;
  void ShowRange(std::uint16_t first_id, std::uint16_t last_id, bool visible) override;
  Widget* HitTest(int x, int y) override;
  Widget* FindById(std::uint16_t id) override;
  void TabStep(bool forward, TabState& state) override;
  void WindowActivated(bool active) override;

 private:
  std::vector<std::unique_ptr<Widget>> children_;
  WidgetHost* host_ = nullptr;
};
