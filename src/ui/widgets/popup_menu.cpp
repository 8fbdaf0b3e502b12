#include "ui/widgets/popup_menu.h"

#include <cstring>

#include "graphics/canvas.h"
#include "graphics/colours.h"
#include "graphics/graphics_resources.h"
#include "graphics/image_drawing.h"
#include "graphics/skin_archive.h"
#include "ui/core/key_codes.h"
#include "ui/core/mouse_tracker.h"
#include "ui/core/popup_placement.h"
#include "ui/core/widget_host.h"
#include "ui/widgets/widget.h"

namespace {

// The picture column on the left is face grey; the items lie on white.
constexpr int kPictureLeft = 6;
constexpr int kPictureTop = 2;
constexpr int kLabelIndent = 4;
constexpr GdiColour kGreyText = ShadowColour;
// The check mark of a checked item.
constexpr const char* kCheckPicture = "check3";

}  // namespace

PopupMenu::PopupMenu(const MenuItem* table, Widget& owner)
    : NativeWindow(WindowKind::kPopup, 0, 0, 1, 1),
      items_(table),
      owner_(owner),
      pictures_(static_cast<std::size_t>(items_.Count()), nullptr) {}

void PopupMenu::Open(int x, int y) {
  if (items_.Count() == 0) return;
  if (open_) Close();
  WidgetHost* host = owner_.Host();
  Point screen = host != nullptr ? host->ClientToScreen(Point{x, y}) : Point{x, y};
  int width = items_.Width(Graphics().NormalFont().Metrics());
  int height = items_.Height();
  Point at = KeepOnScreen(screen, width, height, WorkAreaAt(screen.x, screen.y));
  hot_ = 0;
  Place(at.x, at.y, width, height);
  open_ = true;
  Show();
  Invalidate(Rect{0, 0, width, height});
}

void PopupMenu::Close() {
  if (!open_) return;
  open_ = false;
  Hide();
}

void PopupMenu::Destroy() {
  open_ = false;
  NativeWindow::Destroy();
}

void PopupMenu::RepaintEntry(int index) {
  if (index < 1 || index > items_.Count()) return;
  int top = items_.EntryTop(index);
  Invalidate(Rect{0, top, Width(), top + items_.EntryHeight(index)});
}

void PopupMenu::SetHot(int index) {
  if (index == hot_) return;
  RepaintEntry(hot_);
  hot_ = index;
  RepaintEntry(hot_);
  if (hot_ > 0) NotifyAccessible(*this, AccessibleEvent::kFocus, hot_);
}

void PopupMenu::Choose(int index) {
  if (index < 1 || index > items_.Count() || !items_.IsChoosable(index)) return;
  std::uint16_t command = items_.Entry(index).command;
  Close();
  owner_.Notify(command, owner_.Id());
}

void PopupMenu::MouseMove(int, int y) {
  ShowCursorShape(CursorShape::kArrow);
  SetHot(items_.HotAfterPointer(hot_, y));
}

void PopupMenu::LeftUp(int x, int y) {
  if (x < 0 || x >= Width()) return;
  Choose(items_.EntryAt(y));
}

void PopupMenu::MouseLeave() { SetHot(0); }

void PopupMenu::KeyDown(unsigned key) {
  switch (key) {
    case key::kDown: SetHot(items_.NextChoosable(hot_, true)); break;
    case key::kUp: SetHot(items_.NextChoosable(hot_, false)); break;
    case key::kEnter: Choose(hot_); break;
    case key::kEscape: Close(); break;
    default: break;
  }
}

void PopupMenu::Draw(Canvas& canvas) {
  canvas.SelectFont(Graphics().NormalFont());
  for (int i = 1; i <= items_.Count(); ++i) DrawEntry(canvas, i);
  // A thin frame sets the menu off whatever lies below it.
  canvas.SelectPen(Graphics().ShadowPen());
  canvas.HLine(0, 0, Width());
  canvas.HLine(0, Height() - 1, Width());
  canvas.VLine(0, 0, Height());
  canvas.VLine(Width() - 1, 0, Height());
}

void PopupMenu::DrawEntry(Canvas& canvas, int index) {
  int top = items_.EntryTop(index);
  int bottom = top + items_.EntryHeight(index);
  int width = Width();
  canvas.SetBackColour(FaceColour);
  canvas.FillRect(0, top, kMenuTextLeft, bottom);
  if (items_.IsSeparator(index)) {
    canvas.SetBackColour(WhiteColour);
    canvas.FillRect(kMenuTextLeft, top, width, bottom);
    canvas.SelectPen(Graphics().ShadowPen());
    canvas.HLine(kMenuTextLeft + 2, top + 3, width - 4);
    return;
  }
  const MenuItem& item = items_.Entry(index);
  bool disabled = item.disabled != 0;
  bool hot = index == hot_ && !disabled;
  canvas.SetColours(disabled ? kGreyText : hot ? WhiteColour : BlackColour, hot ? SelectionColour : WhiteColour);
  MenuText text = SplitMenuText(item.text);
  Rect row{kMenuTextLeft, top, width, bottom};
  canvas.TextOutCentredV(kLabelIndent, row, text.label, text.label_length);
  if (text.shortcut != nullptr) {
    std::size_t length = std::strlen(text.shortcut);
    int shortcut_width = TextWidth(Graphics().NormalFont(), text.shortcut, length);
    int left = width - kMenuShortcutRightGap - shortcut_width;
    canvas.TextOutCentredV(0, Rect{left, top, width - kMenuShortcutRightGap, bottom}, text.shortcut, length);
  }
  const Image* picture = nullptr;
  if (item.checked != 0) {
    picture = &Skin().GetFacePicture(kCheckPicture);
  } else if (item.picture_name != nullptr) {
    const Image*& kept = pictures_[static_cast<std::size_t>(index - 1)];
    if (kept == nullptr) kept = &Skin().GetFacePicture(item.picture_name);
    picture = kept;
  }
  if (picture != nullptr) DrawImage(canvas, kPictureLeft, top + kPictureTop, *picture);
}

AccessibleItem PopupMenu::DescribeAccessible(int child) {
  AccessibleItem item;
  if (!open_) item.states = kAccessibleInvisible;
  if (child < 1 || child > items_.Count()) {
    item.role = AccessibleRole::kMenuPopup;
    item.bounds = Rect{0, 0, Width(), Height()};
    return item;
  }
  const MenuItem& entry = items_.Entry(child);
  int top = items_.EntryTop(child);
  item.bounds = Rect{0, top, Width(), top + items_.EntryHeight(child)};
  if (items_.IsSeparator(child)) {
    item.role = AccessibleRole::kSeparator;
    return item;
  }
  item.role = AccessibleRole::kMenuItem;
  MenuText text = SplitMenuText(entry.text);
  item.name = std::string_view(text.label, text.label_length);
  if (entry.disabled != 0) item.states |= kAccessibleUnavailable;
  if (entry.checked != 0) item.states |= kAccessibleChecked;
  if (child == hot_) item.states |= kAccessibleFocused;
  item.states |= kAccessibleFocusable;
  item.action = AccessibleAction::kExecute;
  return item;
}

int PopupMenu::AccessibleAt(Point client) {
  if (client.x < 0 || client.x >= Width() || client.y < 0 || client.y >= Height()) return -1;
  return items_.EntryAt(client.y);
}

LRESULT PopupMenu::AccessibleRequest(WPARAM flags, LPARAM object_id) {
  return AnswerAccessibleRequest(accessible_, *this, *this, flags, object_id);
}
