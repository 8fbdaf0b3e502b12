#include "ui/widgets/title_bar.h"

#include <cstring>

#include "graphics/canvas.h"
#include "graphics/colours.h"
#include "graphics/compositing.h"
#include "graphics/graphics_resources.h"
#include "graphics/image.h"
#include "graphics/image_drawing.h"
#include "graphics/skin_archive.h"
#include "ui/core/key_codes.h"
#include "ui/core/placement.h"
#include "ui/core/widget_host.h"
#include "ui/widgets/container.h"

namespace {

// The bar's gradient: white at the top, this grey at the bottom. The button
// pictures are laid on the same gradient.
constexpr Pixel kGradientTop = WhitePixel;
constexpr Pixel kGradientBottom = PixelOf(Grey(143));

struct ButtonPictures {
  const char* normal;
  const char* held;
};

ButtonPictures PicturesOf(TitleButton button, bool maximised) {
  switch (button) {
    case kCloseButton: return {"closebmp1", "closebmp2"};
    case kMinimiseButton: return {"minimizebmp1", "minimizebmp2"};
    case kMaximiseButton:
      return maximised ? ButtonPictures{"restorebmp1", "restorebmp2"} : ButtonPictures{"maximizebmp1", "maximizebmp2"};
    case kNoTitleButton: break;
  }
  return {"", ""};
}

}  // namespace

TitleBar::TitleBar(const LayoutEntry& entry, Container* parent) : Widget(entry, parent), caption_(entry.text) {
  enabled_ = true;
  role_ = AccessibleRole::kTitleBar;
  height_ = kHeight;
  if (parent != nullptr) width_ = parent->Width();
}

void TitleBar::SetText(const char* text) {
  if (text == nullptr) {
    caption_ = nullptr;
  } else {
    own_caption_.Assign(text);
    caption_ = own_caption_.c_str();
  }
  InvalidateSelf();
}

bool TitleBar::ParentFillsWindow() const { return parent_ != nullptr && parent_->AnchorCode() == kAnchorFill; }

int TitleBar::ButtonsWidth() {
  WidgetHost* host = Host();
  return TitleButtonsWidth(host != nullptr ? host->KindOfWindow() : WindowKind::kPopup, ParentFillsWindow());
}

bool TitleBar::CanMaximise() {
  WidgetHost* host = Host();
  return host != nullptr && host->KindOfWindow() == WindowKind::kApplication && ParentFillsWindow();
}

void TitleBar::RepaintButton(int button) {
  Invalidate(TitleButtonArea(Bounds(), ButtonsWidth(), static_cast<TitleButton>(button)));
}

void TitleBar::ToggleMaximised() {
  WidgetHost* host = Host();
  if (host == nullptr) return;
  host->SystemCommand(host->CurrentPlacement() == kPlacementMaximised ? command::kRestore : command::kMaximise);
}

void TitleBar::Paint(Canvas& canvas) {
  if (caption_ == nullptr) return;
  WidgetHost* host = Host();
  bool maximised = host != nullptr && ShowsMaximised(host->CurrentPlacement());
  bool active = host != nullptr && host->IsActive();
  int buttons_width = ButtonsWidth();
  Rect bar = Bounds();

  for (TitleButton button : {kCloseButton, kMaximiseButton, kMinimiseButton}) {
    Rect area = TitleButtonArea(bar, buttons_width, button);
    if (area.left < bar.right - buttons_width) continue;
    if (button == kMaximiseButton && buttons_width != 3 * kTitleButtonSize) continue;
    ButtonPictures pictures = PicturesOf(button, maximised);
    const char* name = press_.ShowsPressed(button) ? pictures.held : pictures.normal;
    DrawImage(canvas, area.left, bar.top, Skin().GetPicture(name, kGradientBottom, kGradientTop));
  }

  int strip_width = width_ - buttons_width;
  Image strip;
  if (strip_width <= 0 ||
      !strip.Create32(static_cast<std::uint16_t>(strip_width), static_cast<std::uint16_t>(height_))) {
    return;
  }
  FillGradient(strip, kGradientTop, kGradientBottom);
  const ImageFont& font = Graphics().BoldImageFont();
  // Centred over the whole bar, buttons included; cut where they begin.
  int text_x = (width_ - font.TextWidth(caption_)) / 2;
  int text_y = (height_ - font.Metrics().line_height) / 2 - 1;
  font.DrawTextOnImage(strip, text_x, text_y, caption_, active ? BlackPixel : WhitePixel);
  DrawImage(canvas, x_, y_, strip);
}

void TitleBar::WindowActivated(bool) { InvalidateSelf(); }

void TitleBar::LeftDown(int x, int y) {
  press_at_ = Point{x, y};
  int button = TitleButtonAt(Bounds(), ButtonsWidth(), x, y);
  press_.Press(button);
  if (button != kNoTitleButton) RepaintButton(button);
}

void TitleBar::MouseMove(int x, int y) {
  WidgetHost* host = Host();
  if (host == nullptr) return;
  host->SetCursor(CursorShape::kArrow);
  if (host->PressedWidget() != this) return;
  if (press_.Held() == kNoTitleButton) {
    // The pressed point of the caption follows the pointer.
    Point window = host->WindowPosition();
    host->MoveWindowTo(Point{window.x + x - press_at_.x, window.y + y - press_at_.y});
    return;
  }
  if (press_.Follow(TitleButtonAt(Bounds(), ButtonsWidth(), x, y))) RepaintButton(press_.Held());
}

void TitleBar::LeftUp(int x, int y) {
  int held = press_.Held();
  bool shown = press_.ShowsPressed(held);
  // Fires only over the held button, wherever the last move left it.
  press_.Follow(TitleButtonAt(Bounds(), ButtonsWidth(), x, y));
  int fired = press_.Release();
  if (shown) RepaintButton(held);
  WidgetHost* host = Host();
  switch (fired) {
    case kCloseButton:
      // The window may be gone afterwards: nothing follows.
      if (parent_ != nullptr) parent_->Close();
      return;
    case kMaximiseButton:
      if (CanMaximise()) ToggleMaximised();
      return;
    case kMinimiseButton:
      if (host != nullptr) host->SystemCommand(command::kMinimise);
      return;
    default: return;
  }
}

void TitleBar::LeftDoubleClick(int x, int y) {
  // The second click of a quick double click on a button presses it again.
  LeftDown(x, y);
  if (press_.Held() == kNoTitleButton && CanMaximise()) ToggleMaximised();
}
