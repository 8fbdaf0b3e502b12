#include "ui/widgets/tool_bar.h"

#include "graphics/canvas.h"
#include "graphics/colours.h"
#include "graphics/compositing.h"
#include "graphics/graphics_resources.h"
#include "graphics/image_drawing.h"
#include "graphics/skin_archive.h"
#include "ui/core/widget_host.h"
#include "ui/widgets/container.h"

namespace {

// Button faces: a light gradient for the raised look, the reverse, darker
// one for the sunken look.
constexpr Pixel kRaisedTop = PixelOf(Grey(252));
constexpr Pixel kRaisedBottom = PixelOf(Grey(212));
constexpr Pixel kSunkenTop = PixelOf(Grey(188));
constexpr Pixel kSunkenBottom = PixelOf(Grey(228));

// The frame pictures of a bar: a bar exactly 46 pixels high takes the large
// set (which the default skin does not carry).
struct FrameNames {
  const char* raised_left;
  const char* raised_right;
  const char* sunken_left;
  const char* sunken_right;
  const char* separator;
};
constexpr FrameNames kSmallFrame{"Up24Left", "Up24Right", "Down24Left", "Down24Right", "tbsep"};
constexpr FrameNames kLargeFrame{"Up40Left", "Up40Right", "Down40Left", "Down40Right", "bigtbsep"};
constexpr int kLargeBarHeight = 46;

const FrameNames& FrameOf(const Rect& bar) { return bar.Height() == kLargeBarHeight ? kLargeFrame : kSmallFrame; }

class SkinMeasure : public ToolBarLayout::Measure {
 public:
  SkinMeasure(bool vertical, const char* separator) : vertical_(vertical), separator_(separator) {}
  int PictureLength(const ToolBarItem& item) const override {
    const Image& picture = Skin().GetAlphaPicture(item.picture_name != nullptr ? item.picture_name : "");
    return static_cast<int>(vertical_ ? picture.Height() : picture.Width());
  }
  int SeparatorLength() const override { return static_cast<int>(Skin().GetFacePicture(separator_).Width()); }

 private:
  bool vertical_;
  const char* separator_;
};

}  // namespace

ToolBar::ToolBar(const LayoutEntry& entry, Container* parent) : Widget(entry, parent) {
  enabled_ = true;
  role_ = AccessibleRole::kToolBar;
  if (entry.text != nullptr && entry.text[0] != '\0') SetItems(reinterpret_cast<const ToolBarItem*>(entry.text));
}

void ToolBar::SetItems(const ToolBarItem* items) {
  Rect bar = Bounds();
  layout_.Build(items, bar, SkinMeasure(bar.Height() >= bar.Width(), FrameOf(bar).separator));
  pictures_.clear();
  for (int i = 1; i <= layout_.Count(); ++i) {
    const char* name =
        layout_.IsButton(i) && layout_.Item(i).picture_name != nullptr ? layout_.Item(i).picture_name : "";
    bool button = layout_.IsButton(i);
    pictures_.push_back(
        Pictures{button ? &Skin().GetFacePicture(name) : nullptr, button ? &Skin().GetAlphaPicture(name) : nullptr});
  }
  hot_ = 0;
  pressed_ = false;
  InvalidateSelf();
}

void ToolBar::Shift(int dx, int dy) {
  Widget::Shift(dx, dy);
  layout_.Relocate(Bounds());
}

void ToolBar::ResizeBy(int dw, int dh, bool downward, bool rightward) {
  Widget::ResizeBy(dw, dh, downward, rightward);
  layout_.Relocate(Bounds());
}

void ToolBar::RepaintItem(int index) {
  if (index >= 1 && index <= layout_.Count()) Invalidate(layout_.ItemArea(index));
}

void ToolBar::MouseMove(int x, int y) {
  WidgetHost* host = Host();
  if (host != nullptr) host->SetCursor(CursorShape::kArrow);
  int item = layout_.ItemAt(x, y);
  if (item == hot_) return;
  if (host != nullptr) {
    if (item != 0 && layout_.IsButton(item)) {
      host->ShowHint(layout_.Item(item).tip, host->ClientToScreen(Point{x, y}));
    } else {
      host->HideHint();
    }
  }
  RepaintItem(hot_);
  RepaintItem(item);
  hot_ = item;
}

void ToolBar::LeftDown(int, int) {
  pressed_ = true;
  RepaintItem(hot_);
}

void ToolBar::LeftUp(int x, int y) {
  pressed_ = false;
  int item = layout_.ItemAt(x, y);
  RepaintItem(hot_);
  hot_ = item;
  Click(item);
}

void ToolBar::Describe(int part, AccessibleItem& item) const {
  if (part == 0) return;
  item.bounds = layout_.ItemArea(part);
  if (!layout_.IsButton(part)) {
    item.role = AccessibleRole::kSeparator;
    return;
  }
  const ToolBarItem& button = layout_.Item(part);
  item.role = button.kind == kToolPush ? AccessibleRole::kPushButton : AccessibleRole::kCheckBox;
  if (button.tip != nullptr) item.name = button.tip;
  if (layout_.IsChecked(part)) item.states |= kAccessibleChecked;
  item.action = AccessibleAction::kPress;
}

void ToolBar::Click(int item) {
  ToolClick click = layout_.Click(item);
  if (item != 0 && layout_.Item(item).kind == kToolRadio) {
    InvalidateSelf();  // the radio button checked before comes up
  } else {
    RepaintItem(item);
  }
  if (!click.sends) return;
  Widget* owner = owner_ != nullptr ? owner_ : parent_;
  if (owner != nullptr) owner->Notify(click.command, id_);
}

void ToolBar::MouseLeave() {
  WidgetHost* host = Host();
  if (host != nullptr) host->HideHint();
  RepaintItem(hot_);
  hot_ = 0;
  pressed_ = false;
}

void ToolBar::Paint(Canvas& canvas) {
  for (int i = 1; i <= layout_.Count(); ++i) {
    if (layout_.IsButton(i)) {
      PaintButton(canvas, i);
    } else {
      PaintSeparator(canvas, i);
    }
  }
  // The rest of the bar after the last item.
  Rect bar = Bounds();
  int used = layout_.UsedLength();
  canvas.SetBackColour(FaceColour);
  if (layout_.Vertical()) {
    canvas.FillRect(bar.left, bar.top + used, bar.right, bar.bottom);
  } else {
    canvas.FillRect(bar.left + used, bar.top, bar.right, bar.bottom);
  }
}

void ToolBar::PaintSeparator(Canvas& canvas, int index) {
  Rect area = layout_.ItemArea(index);
  canvas.SetBackColour(FaceColour);
  if (!layout_.Vertical()) {
    DrawImageCentred(canvas, area.left, area.top, area.Width(), area.Height(),
                     Skin().GetFacePicture(FrameOf(Bounds()).separator));
    return;
  }
  // The separator picture stands upright; across a column a groove of two
  // lines does its work.
  canvas.FillRect(area.left, area.top, area.right, area.bottom);
  int middle = (area.top + area.bottom) / 2 - 1;
  canvas.SelectPen(Graphics().ShadowPen());
  canvas.HLine(area.left + 3, middle, area.right - 3);
  canvas.SelectPen(Graphics().WhitePen());
  canvas.HLine(area.left + 3, middle + 1, area.right - 3);
}

void ToolBar::PaintButton(Canvas& canvas, int index) {
  Rect area = layout_.ItemArea(index);
  const Pictures& pictures = pictures_[static_cast<std::size_t>(index - 1)];
  ToolButtonLook look = layout_.LookOf(index, hot_, pressed_);
  if (look == ToolButtonLook::kFlat) {
    canvas.SetBackColour(FaceColour);
    DrawImageCentred(canvas, area.left, area.top, area.Width(), area.Height(), *pictures.on_face);
    return;
  }
  bool sunken = look == ToolButtonLook::kSunken;
  Image face;
  if (!face.Create32(static_cast<std::uint16_t>(area.Width()), static_cast<std::uint16_t>(area.Height()))) return;
  FillGradient(face, sunken ? kSunkenTop : kRaisedTop, sunken ? kSunkenBottom : kRaisedBottom);
  const FrameNames& frame = FrameOf(Bounds());
  const Image& right = Skin().GetAlphaPicture(sunken ? frame.sunken_right : frame.raised_right);
  BlendImage(face, 0, 0, Skin().GetAlphaPicture(sunken ? frame.sunken_left : frame.raised_left));
  BlendImage(face, area.Width() - static_cast<int>(right.Width()), 0, right);
  const Image& picture = *pictures.with_alpha;
  // Centred like the flat look, and a pixel down and right while sunken.
  int shift = sunken ? 1 : 0;
  BlendImage(face, (area.Width() - static_cast<int>(picture.Width())) / 2 + shift,
             (area.Height() - static_cast<int>(picture.Height())) / 2 + shift, picture);
  DrawImage(canvas, area.left, area.top, face);
}
