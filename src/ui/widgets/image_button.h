// ImageButton: a push button that shows a skin picture instead of a
// caption, and a hint while the pointer rests on it. The layout entry's
// text names the picture; SetText sets the hint. While the button has the
// focus it shows the picture flattened on the hot colour.
#pragma once

#include "ui/widgets/push_button.h"

class Image;

class ImageButton : public PushButton {
 public:
  ImageButton(const LayoutEntry& entry, Container* parent);

  const char* GetText() const override { return hint_; }
  // Keeps the pointer: hints are static texts.
  void SetText(const char* text) override { hint_ = text; }
  void MouseMove(int x, int y) override;
  void MouseLeave() override;

 protected:
  void PaintContent(Canvas& canvas, const Rect& inner) override;

 private:
  void HideHint();

  const char* hint_ = nullptr;
  const Image* picture_ = nullptr;
  const Image* hot_picture_ = nullptr;
  bool hint_shown_ = false;
};
