// Picture (layout kind 3): a skin picture named by the layout entry's text,
// centred on the face colour in the widget's rectangle. The header of the
// setup window and the symbols of the message and question boxes.
//
// ResizeGrip (layout kind 10): the zoom-corner picture in the bottom-right
// corner of a resizable dialog, a cue that its frame can be dragged.
#pragma once

#include <cstdint>

#include "ui/widgets/widget.h"

inline constexpr std::uint8_t kResizeGripKind = 10;

class Picture : public Widget {
 public:
  Picture(const LayoutEntry& entry, Container* parent) : Picture(entry, parent, entry.text) {}
  Picture(const LayoutEntry& entry, Container* parent, const char* name);

  const char* GetText() const override { return name_; }
  void Paint(Canvas& canvas) override;

 private:
  const char* name_;
};

class ResizeGrip : public Picture {
 public:
  ResizeGrip(const LayoutEntry& entry, Container* parent) : Picture(entry, parent, "zoomcorner") {}
};
