// Label (layout kind 1): text on the face colour, black, in the interface
// font. The text may hold several lines (CR LF or LF between them); the
// block is centred in the label's height and starts two pixels from its
// left edge (see text_block.h for the lines and their extent).
#pragma once

#include <string>

#include "ui/widgets/widget.h"

class Label : public Widget {
 public:
  Label(const LayoutEntry& entry, Container* parent);

  const char* GetText() const override { return text_.c_str(); }
  // Keeps a copy; null clears it.
  void SetText(const char* text) override;
  void Describe(int part, AccessibleItem& item) const override;
  void Paint(Canvas& canvas) override;

 private:
  std::string text_;
};
