#include "ui/widgets/push_button.h"

#include <cstring>

#include "graphics/canvas.h"
#include "graphics/colours.h"
#include "graphics/graphics_resources.h"
#include "graphics/image_drawing.h"
#include "graphics/skin_pictures.h"
#include "ui/core/key_codes.h"
#include "ui/core/widget_host.h"
#include "ui/widgets/container.h"
#include "ui/widgets/widget_state.h"

namespace {

// The corner pictures are 5 by 5; four grey lines make each edge.
constexpr int kCorner = 5;
constexpr int kEdgeLines = 4;

// The corner pictures: top left, bottom left, top right, bottom right.
const SkinPictures& CornerPictures(bool pressed) {
  static const SkinPictures raised(SkinPictures::Ground::kFace,
                                   {"ltupbutton", "lbupbutton", "rtupbutton", "rbupbutton"});
  static const SkinPictures sunken(SkinPictures::Ground::kFace,
                                   {"ltdwnbutton", "lbdwnbutton", "rtdwnbutton", "rbdwnbutton"});
  return pressed ? sunken : raised;
}

// Four one-pixel lines, the grey changing by `step` from line to line.
// `first` is the first line's row (or column); lines run from `from` to `to`.
void EdgeLines(Canvas& canvas, bool vertical, int first, int from, int to, int grey, int step) {
  for (int i = 0; i < kEdgeLines; ++i, grey += step) {
    canvas.SetBackColour(Grey(static_cast<std::uint8_t>(grey)));
    if (vertical)
      canvas.FillRect(first + i, from, first + i + 1, to);
    else
      canvas.FillRect(from, first + i, to, first + i + 1);
  }
}

}  // namespace

PushButton::PushButton(const LayoutEntry& entry, Container* parent) : Widget(entry, parent), caption_(entry.text) {
  enabled_ = true;
  focusable_ = true;
  role_ = AccessibleRole::kPushButton;
}

void PushButton::Describe(int part, AccessibleItem& item) const {
  Widget::Describe(part, item);
  item.action = AccessibleAction::kPress;
}

void PushButton::SetText(const char* text) {
  caption_ = text;
  InvalidateSelf();
}

bool PushButton::IsFocused() const { return FocusedWidget() == this; }

void PushButton::Apply(ButtonPress::Step step) {
  if (step.repaint) InvalidateSelf();
  if (step.fires) Action();
}

void PushButton::Action() {
  if (parent_ != nullptr) parent_->Notify(id_, 0);
}

void PushButton::KeyCommand(unsigned key) {
  // Enter on a focused push button presses that button, not the dialog's
  // default: "No" in focus must not answer "Yes". Check boxes and radio
  // buttons pass it on.
  bool presses_on_enter = kind_ != kCheckBoxKind && kind_ != kRadioButtonKind;
  if (key == key::kSpace)
    Apply(press_.KeyDown(key));
  else if (key == key::kEnter && presses_on_enter)
    Action();
  else
    Widget::KeyCommand(key);
}

void PushButton::KeyUp(unsigned key) { Apply(press_.KeyUp(key)); }
void PushButton::LeftDown(int, int) { Apply(press_.PointerDown()); }
void PushButton::LeftUp(int, int) { Apply(press_.PointerUp()); }
void PushButton::LoseFocus() {
  press_.FocusLost();
  InvalidateSelf();  // the face loses the focus colour
}
void PushButton::GainFocus() { InvalidateSelf(); }

void PushButton::MouseMove(int x, int y) {
  Widget::MouseMove(x, y);
  WidgetHost* host = Host();
  if (host != nullptr && host->PressedWidget() == this) Apply(press_.PointerMove(Bounds(), x, y));
}

void PushButton::Paint(Canvas& canvas) {
  bool pressed = Pressed();
  int r = x_ + width_ - kCorner;
  int b = y_ + height_ - kCorner;
  canvas.SetBackColour(FaceColour);
  const SkinPictures& corners = CornerPictures(pressed);
  DrawImage(canvas, x_, y_, corners[0]);
  DrawImage(canvas, x_, b, corners[1]);
  DrawImage(canvas, r, y_, corners[2]);
  DrawImage(canvas, r, b, corners[3]);

  // Light lines (255 outside to 228 inside) on the lit side, dark ones (128
  // outside to 194 inside) on the other; a pressed button swaps the sides.
  int light_row = pressed ? b + 1 : y_;
  int dark_row = pressed ? y_ : b + 1;
  int light_column = pressed ? r + 1 : x_;
  int dark_column = pressed ? x_ : r + 1;
  int light_start = pressed ? 219 : 255, light_step = pressed ? 9 : -9;
  int dark_start = pressed ? 128 : 194, dark_step = pressed ? 22 : -22;
  EdgeLines(canvas, false, light_row, x_ + kCorner, r, light_start, light_step);
  EdgeLines(canvas, false, dark_row, x_ + kCorner, r, dark_start, dark_step);
  EdgeLines(canvas, true, light_column, y_ + kCorner, b, light_start, light_step);
  EdgeLines(canvas, true, dark_column, y_ + kCorner, b, dark_start, dark_step);

  canvas.SetColours(enabled_ ? BlackColour : ShadowColour, FaceColour);
  // The one-pixel ring between the edges and the content.
  canvas.FillRect(x_ + kEdgeLines, y_ + kCorner, x_ + kCorner, b);
  canvas.FillRect(r, y_ + kCorner, r + 1, b);
  canvas.FillRect(x_ + kCorner, y_ + kEdgeLines, r, y_ + kCorner);
  canvas.FillRect(x_ + kCorner, b, r, b + 1);
  PaintContent(canvas, Rect{x_ + kCorner, y_ + kCorner, r, b});
  if (IsFocused()) canvas.FocusRect(Rect{x_ + kCorner + 1, y_ + kCorner + 1, r - 1, b - 1});
}

void PushButton::PaintContent(Canvas& canvas, const Rect& inner) {
  const FontRecord& font = Graphics().NormalFont();
  canvas.SelectFont(font);
  const char* caption = caption_ != nullptr ? caption_ : "";
  std::size_t length = std::strlen(caption);
  int dx = (width_ - TextWidth(font, caption, length)) / 2;
  int dy = (height_ - font.LineHeight()) / 2;
  if (Pressed()) {
    ++dx;
    ++dy;
  }
  if (IsFocused()) canvas.SetBackColour(HotColour);
  canvas.TextOutRect(x_ + dx, y_ + dy, inner, caption, length);
}
