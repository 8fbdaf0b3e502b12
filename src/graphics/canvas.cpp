// Canvas drawing: clip first, then one GDI call through the call table.
#include "graphics/canvas.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "graphics/compositing.h"
#include "graphics/contrast.h"
#include "graphics/font_record.h"
#include "graphics/gdi_calls.h"
#include "graphics/graphics_resources.h"

namespace {

RECT ToRect(const Rect& rect) { return RECT{rect.left, rect.top, rect.right, rect.bottom}; }

struct SystemPair {
  int text;
  int back;
};

SystemPair SystemColourIndices(SystemTextColours colours) {
  switch (colours) {
    case SystemTextColours::kButton: return {COLOR_BTNTEXT, COLOR_BTNFACE};
    case SystemTextColours::kGreyed: return {COLOR_GRAYTEXT, COLOR_BTNFACE};
    default: return {COLOR_WINDOWTEXT, COLOR_WINDOW};
  }
}

}  // namespace

void Canvas::Init(HDC dc, std::int32_t width, std::int32_t height) {
  dc_ = dc;
  line_height_ = 0;
  font_ = saved_font_ = nullptr;
  metrics_ = nullptr;
  pen_ = saved_pen_ = nullptr;
  text_colour_ = GetTextColor(dc);
  back_colour_ = GetBkColor(dc);
  SetClipSize(width, height);
}

void Canvas::SelectFont(const FontRecord& font) {
  line_height_ = font.LineHeight();
  metrics_ = &font.Metrics();
  if (font.Handle() == font_) return;
  auto previous = static_cast<HFONT>(Gdi().select_object(dc_, font.Handle()));
  if (!font_) saved_font_ = previous;
  font_ = font.Handle();
}

void Canvas::SelectPen(HPEN pen) {
  if (pen == pen_) return;
  auto previous = static_cast<HPEN>(Gdi().select_object(dc_, pen));
  if (!pen_) saved_pen_ = previous;
  pen_ = pen;
}

void Canvas::RestoreObjects() {
  if (saved_font_) Gdi().select_object(dc_, saved_font_);
  if (saved_pen_) Gdi().select_object(dc_, saved_pen_);
  font_ = saved_font_ = nullptr;
  metrics_ = nullptr;
  pen_ = saved_pen_ = nullptr;
}

void Canvas::SetTextColour(GdiColour colour) {
  if (colour == text_colour_) return;
  Gdi().set_text_color(dc_, colour);
  text_colour_ = colour;
}

void Canvas::SetBackColour(GdiColour colour) {
  if (colour == back_colour_) return;
  Gdi().set_bk_color(dc_, colour);
  back_colour_ = colour;
}

void Canvas::FillRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  const Rect visible = Intersect(Rect{left, top, right, bottom}, clip_);
  if (visible.IsEmpty()) return;
  const RECT area = ToRect(visible);
  Gdi().ext_text_out(dc_, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
}

void Canvas::TextOutRect(std::int32_t x, std::int32_t y, const Rect& rect, const char* text, std::size_t length) {
  const Rect visible = Intersect(rect, clip_);
  if (visible.IsEmpty()) return;
  const RECT area = ToRect(visible);
  // The advances GDI itself uses can differ from the widths it reports
  // (Wine's hinted fonts draw narrower); giving them keeps carets and
  // selections on the glyphs.
  constexpr std::size_t kOnStack = 512;
  INT on_stack[kOnStack];
  std::vector<INT> on_heap;
  INT* advances = nullptr;
  if (metrics_ != nullptr && length > 0) {
    if (length > kOnStack) on_heap.resize(length);
    advances = length > kOnStack ? on_heap.data() : on_stack;
    for (std::size_t i = 0; i < length; ++i) advances[i] = metrics_->widths[static_cast<unsigned char>(text[i])];
  }
  SystemTextColours replaced = high_contrast_ ? TextColoursFor(text_colour_, back_colour_) : SystemTextColours::kKeep;
  if (replaced == SystemTextColours::kKeep) {
    Gdi().ext_text_out(dc_, x, y, ETO_OPAQUE | ETO_CLIPPED, &area, text, static_cast<UINT>(length), advances);
    return;
  }
  GdiColour skin_text = text_colour_;
  GdiColour skin_back = back_colour_;
  SystemPair system = SystemColourIndices(replaced);
  SetColours(GetSysColor(system.text), GetSysColor(system.back));
  Gdi().ext_text_out(dc_, x, y, ETO_OPAQUE | ETO_CLIPPED, &area, text, static_cast<UINT>(length), advances);
  SetColours(skin_text, skin_back);
}

void Canvas::FocusRect(const Rect& rect) {
  if (Intersect(rect, clip_).IsEmpty()) return;
  const RECT area = ToRect(rect);
  Gdi().draw_focus_rect(dc_, &area);
}

void Canvas::TextOutCentredV(std::int32_t indent, const Rect& rect, const char* text, std::size_t length) {
  TextOutRect(rect.left + indent, rect.top + (rect.Height() - line_height_) / 2, rect, text, length);
}

void Canvas::ExcludeRect(const Rect& rect) {
  const Rect visible = Intersect(rect, clip_);
  if (visible.IsEmpty()) return;
  Gdi().exclude_clip_rect(dc_, visible.left, visible.top, visible.right, visible.bottom);
}

void Canvas::HLine(std::int32_t x1, std::int32_t y, std::int32_t x2) {
  if (y < clip_.top || y >= clip_.bottom) return;
  if (x1 > x2) std::swap(x1, x2);
  x1 = std::max(x1, clip_.left);
  x2 = std::min(x2, clip_.right);
  if (x1 >= x2) return;
  Gdi().move_to(dc_, x1, y, nullptr);
  Gdi().line_to(dc_, x2, y);
}

void Canvas::VLine(std::int32_t x, std::int32_t y1, std::int32_t y2) {
  if (x < clip_.left || x >= clip_.right) return;
  if (y1 > y2) std::swap(y1, y2);
  y1 = std::max(y1, clip_.top);
  y2 = std::min(y2, clip_.bottom);
  if (y1 >= y2) return;
  Gdi().move_to(dc_, x, y1, nullptr);
  Gdi().line_to(dc_, x, y2);
}

void Canvas::Polyline3(HPEN pen, POINT from, POINT via, POINT to) {
  SelectPen(pen);
  Gdi().move_to(dc_, from.x, from.y, nullptr);
  Gdi().line_to(dc_, via.x, via.y);
  Gdi().line_to(dc_, to.x, to.y);
}

void Canvas::Bevel(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  const GraphicsResources& graphics = Graphics();
  Polyline3(graphics.FacePen(), {right - 2, top}, {left, top}, {left, bottom - 1});
  Polyline3(graphics.WhitePen(), {right - 2, top + 1}, {left + 1, top + 1}, {left + 1, bottom - 2});
  Polyline3(graphics.ShadowPen(), {right - 2, top + 1}, {right - 2, bottom - 2}, {left, bottom - 2});
  Polyline3(graphics.DarkShadowPen(), {right - 1, top}, {right - 1, bottom - 1}, {left - 1, bottom - 1});
}

void Canvas::FillBand(const Rect& band, GdiColour colour) {
  const Rect visible = Intersect(band, clip_);
  if (visible.IsEmpty()) return;
  Gdi().set_bk_color(dc_, colour);
  FillRect(visible.left, visible.top, visible.right, visible.bottom);
}

void Canvas::GreyGradientH(const Rect& rect, std::uint8_t grey1, std::uint8_t grey2) {
  const std::int32_t width = rect.Width();
  for (std::int32_t x = std::max(rect.left, clip_.left); x < std::min(rect.right, clip_.right); ++x) {
    const auto level = static_cast<std::uint8_t>(GradientValue(grey1, grey2, x - rect.left, width));
    FillBand(Rect{x, rect.top, x + 1, rect.bottom}, Grey(level));
  }
  Gdi().set_bk_color(dc_, back_colour_);
}

void Canvas::GreyGradientV(const Rect& rect, std::uint8_t grey1, std::uint8_t grey2) {
  GradientV(rect, Grey(grey1), Grey(grey2));
}

void Canvas::GradientV(const Rect& rect, GdiColour colour1, GdiColour colour2) {
  const std::int32_t height = rect.Height();
  auto channel = [height](std::uint8_t first, std::uint8_t second, std::int32_t step) {
    return static_cast<std::uint8_t>(GradientValue(first, second, step, height));
  };
  for (std::int32_t y = std::max(rect.top, clip_.top); y < std::min(rect.bottom, clip_.bottom); ++y) {
    const std::int32_t step = y - rect.top;
    FillBand(Rect{rect.left, y, rect.right, y + 1},
             Rgb(channel(RedOf(colour1), RedOf(colour2), step), channel(GreenOf(colour1), GreenOf(colour2), step),
                 channel(BlueOf(colour1), BlueOf(colour2), step)));
  }
  Gdi().set_bk_color(dc_, back_colour_);
}
