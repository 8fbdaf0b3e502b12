// TitleBar (layout kind 18): the skinned caption along the top of a window.
// It shows the caption centred on a white-to-grey gradient, black while the
// window is active and white while it is not, with the close button and,
// on an application window, minimise and maximise (or restore) at its
// right end. The user drags the window by the caption; the buttons follow
// the toolkit's press protocol (press_tracker.h).
#pragma once

#include "text/fixed_text.h"
#include "ui/widgets/behaviour/press_tracker.h"
#include "ui/widgets/title_bar_buttons.h"
#include "ui/widgets/widget.h"

class TitleBar : public Widget {
 public:
  static constexpr int kHeight = 20;

  // As wide as its parent and 20 pixels high; the caption is the entry's
  // text until SetText gives it another.
  TitleBar(const LayoutEntry& entry, Container* parent);

  const char* GetText() const override { return caption_; }
  // Keeps a copy of `text` (cut to 512 characters); null clears it.
  void SetText(const char* text) override;
  void Paint(Canvas& canvas) override;
  void WindowActivated(bool active) override;
  void LeftDown(int x, int y) override;
  void LeftUp(int x, int y) override;
  void LeftDoubleClick(int x, int y) override;
  void MouseMove(int x, int y) override;
  // The caption is centred: a change of width moves all of it.
  int RightRepaintExtent(int width) const override { return width; }

  // 20, 40 or 60: the buttons this bar shows, by its window.
  int ButtonsWidth();
  // The button held down (0 none), and whether it shows pressed now.
  int HeldButton() const { return press_.Held(); }
  bool ShowsPressed(TitleButton button) const { return press_.ShowsPressed(button); }

 private:
  bool ParentFillsWindow() const;
  bool CanMaximise();
  void RepaintButton(int button);
  void ToggleMaximised();

  const char* caption_;
  Text own_caption_;
  Point press_at_;
  PressTracker press_;
};
