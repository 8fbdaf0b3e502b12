#include "gallery_windows.h"

#include <cstdio>

#include "event_log.h"
#include "graphics/canvas.h"
#include "graphics/graphics_resources.h"
#include "ui/core/key_codes.h"
#include "ui/widgets/scroll_bar_geometry.h"
#include "ui/widgets/title_bar.h"
#include "ui/widgets/tool_bar.h"

namespace {

// Layout kinds of the gallery's own widgets.
constexpr std::uint8_t kTileViewKind = 20;
constexpr std::uint8_t kStatusKind = 21;

constexpr std::uint16_t kToolBarId = 30;
constexpr std::uint16_t kViewId = 40;
constexpr std::uint16_t kStatusId = 50;
constexpr std::uint16_t kDialogToolBarId = 60;
constexpr std::uint16_t kOpenDialogCommand = 106;
constexpr std::uint16_t kMenuOpenDialog = 1806;
constexpr std::uint16_t kDialogOk = 201;
constexpr std::uint16_t kDialogCancel = 202;

const ToolBarItem kMainTools[] = {
    {101, "Make a new folder", "makedirbmp", kToolPush},
    {102, "Delete the selection", "deletebmp", kToolPush},
    {0, nullptr, nullptr, kToolSeparator},
    {103, "Refresh automatically", "refresh", kToolToggle},
    {0, nullptr, nullptr, kToolSeparator},
    {104, "Copy mode", "copybmp", kToolRadio},
    {105, "Select mode", "selectallbmp", kToolRadio},
    {0, nullptr, nullptr, kToolSeparator},
    {kOpenDialogCommand, "Open the dialog", "rename", kToolPush},
    {0, nullptr, nullptr, kToolEnd},
};

const ToolBarItem kDialogTools[] = {
    {kDialogOk, "Accept", "save4", kToolPush},
    {kDialogCancel, "Cancel", "deletebmp", kToolPush},
    {0, nullptr, nullptr, kToolEnd},
};

const MenuItem kViewMenu[] = {
    {kMenuItem, "Select all\tCtrl+A", 1745, 0, 0, "selectallbmp"},
    {kMenuItem, "Deselect all", 1750, 0, 0, "unselectall"},
    {kMenuSeparator, nullptr, 0, 0, 0, nullptr},
    {kMenuItem, "Copy selected text", 1735, 1, 0, "copybmp"},
    {kMenuItem, "Open the dialog", kMenuOpenDialog, 0, 0, "rename"},
    {kMenuItem, "Erase Log", 1010, 0, 0, "deletebmp"},
    {kMenuEnd, nullptr, 0, 0, 0, nullptr},
};

// The application window: resizable both ways (anchor 12 on entry 0).
const LayoutEntry kMainTable[] = {
    {5000, kWindowKind, kAnchorFill, 60, 60, 440, 330, ""},
    {1, kTitleBarKind, kAnchorTopEdge, 0, 0, 440, 20, "Toolkit Gallery"},
    {kToolBarId, kToolBarKind, kAnchorTopEdge, 4, 23, 432, 24, ToolBar::TableText(kMainTools)},
    {kViewId, kTileViewKind, kAnchorFill, 4, 50, 432, 254, ""},
    {kStatusId, kStatusKind, kAnchorBottomEdge, 4, 308, 432, 18, "Ready"},
};

const LayoutEntry kDialogTable[] = {
    {6000, kWindowKind, kAnchorTopLeft, 0, 0, 300, 110, ""},
    {2, kTitleBarKind, kAnchorTopEdge, 0, 0, 300, 20, "Gallery Dialog"},
    {kDialogToolBarId, kToolBarKind, kAnchorTopLeft, 8, 30, 24, 72, ToolBar::TableText(kDialogTools)},
    {61, kStatusKind, kAnchorTopLeft, 44, 36, 248, 18, "This dialog disables its owner."},
    {62, kStatusKind, kAnchorTopLeft, 44, 58, 248, 18, "Close it to go back to the gallery."},
};

constexpr int kTileSize = 100;
constexpr int kTileColumns = 12;
constexpr int kTileRows = 9;

// Soft colours that keep black text readable.
constexpr GdiColour kTileColours[] = {Rgb(232, 236, 250), Rgb(250, 240, 226), Rgb(230, 246, 234), Rgb(248, 232, 240),
                                      Rgb(240, 240, 244)};

}  // namespace

// --- GalleryFrame -------------------------------------------------------------

void GalleryFrame::LogPlace(const char* event) {
  Events().Line("%s %s %d %d %d %d", event, name_, X(), Y(), Width(), Height());
}

void GalleryFrame::Activate(bool active) {
  FrameWindow::Activate(active);
  Events().Line("activate %s %d", name_, active ? 1 : 0);
}

void GalleryFrame::PositionChanged(const WINDOWPOS& position) {
  FrameWindow::PositionChanged(position);
  LogPlace("position");
}

void GalleryFrame::ShowHint(const char* text, Point screen) {
  FrameWindow::ShowHint(text, screen);
  hinting_ = true;
  Events().Line("hint %s", text);
}

void GalleryFrame::HideHint() {
  FrameWindow::HideHint();
  if (hinting_) Events().Line("hint-hidden");
  hinting_ = false;
}

// --- StatusLine ---------------------------------------------------------------

StatusLine::StatusLine(const LayoutEntry& entry, Container* parent) : Widget(entry, parent), text_(entry.text) {}

void StatusLine::SetText(const char* text) {
  text_.Assign(text != nullptr ? text : "");
  InvalidateSelf();
}

void StatusLine::Paint(Canvas& canvas) {
  canvas.SelectFont(Graphics().NormalFont());
  canvas.SetColours(BlackColour, FaceColour);
  canvas.TextOutCentredV(2, Bounds(), text_.c_str(), text_.size());
}

// --- TileView -------------------------------------------------------------------

void TileMenu::KeyDown(unsigned key) {
  PopupMenu::KeyDown(key);
  if (key == key::kEscape) Events().Line("menu-closed");
}

TileView::TileView(const LayoutEntry& entry, Container* parent) : ScrollView(entry, parent), menu_(kViewMenu, *this) {
  focusable_ = true;
  SetContentSize(kTileColumns * kTileSize, kTileRows * kTileSize);
}

void TileView::PaintContent(Canvas& canvas, const Rect& area) {
  canvas.SelectFont(Graphics().NormalFont());
  canvas.SetTextColour(BlackColour);
  int first_column = ScrollX() / kTileSize;
  int first_row = ScrollY() / kTileSize;
  for (int row = first_row; row < kTileRows; ++row) {
    int top = area.top + row * kTileSize - ScrollY();
    if (top >= area.bottom) break;
    for (int column = first_column; column < kTileColumns; ++column) {
      int left = area.left + column * kTileSize - ScrollX();
      if (left >= area.right) break;
      char label[16];
      std::snprintf(label, sizeof label, "%c%d", 'A' + column, row + 1);
      canvas.SetBackColour(kTileColours[(row * 3 + column) % 5]);
      Rect tile{left, top, left + kTileSize - 1, top + kTileSize - 1};
      canvas.TextOutRect(left + 8, top + 6, tile, label, std::strlen(label));
      canvas.SetBackColour(Grey(200));
      canvas.FillRect(tile.right, top, tile.right + 1, top + kTileSize);
      canvas.FillRect(left, tile.bottom, tile.right, tile.bottom + 1);
    }
  }
}

void TileView::ScrollChanged() { Events().Line("scroll %d %d", ScrollX(), ScrollY()); }

void TileView::LeftDown(int, int) {
  // Clicking the tiles only takes the focus (the window does that).
}

void TileView::RightUp(int x, int y) {
  menu_.Open(x, y);
  if (menu_.IsOpen()) {
    Events().Line("menu-open %d %d %d %d", menu_.X(), menu_.Y(), menu_.Width(), menu_.Height());
  }
}

void TileView::KeyCommand(unsigned key) {
  Rect area = ViewArea();
  switch (key) {
    case key::kUp: ScrollByY(-LineStep()); return;
    case key::kDown: ScrollByY(LineStep()); return;
    case key::kLeft: ScrollByX(-LineStep()); return;
    case key::kRight: ScrollByX(LineStep()); return;
    case key::kPageUp: ScrollByY(-area.Height()); return;
    case key::kPageDown: ScrollByY(area.Height()); return;
    case key::kHome: ScrollTo(0, 0); return;
    case key::kEnd: ScrollTo(ContentWidth(), ContentHeight()); return;
    case key::kF10:
      // Shift+F10 and the context-menu key open the menu at the view.
      menu_.Open(X() + 10, Y() + 10);
      if (menu_.IsOpen()) {
        Events().Line("menu-open %d %d %d %d", menu_.X(), menu_.Y(), menu_.Width(), menu_.Height());
      }
      return;
    default: ScrollView::KeyCommand(key);
  }
}

// --- GalleryRoot ------------------------------------------------------------------

GalleryRoot::GalleryRoot() : Container(kMainTable[0], nullptr) { enabled_ = true; }

GalleryRoot::~GalleryRoot() = default;

std::unique_ptr<Widget> GalleryRoot::ProvideWidget(const LayoutEntry& entry) {
  if (entry.kind == kTileViewKind) return std::make_unique<TileView>(entry, this);
  if (entry.kind == kStatusKind) return std::make_unique<StatusLine>(entry, this);
  return nullptr;
}

void GalleryRoot::Start(const char* native_title, int x, int y) {
  frame_ = std::make_unique<GalleryFrame>("main", *this, kMainTable, 5, WindowKind::kApplication);
  frame_->MoveTo(x, y);
  dialog_root_ = std::make_unique<DialogRoot>(*this);
  dialog_ = std::make_unique<GalleryFrame>("dialog", *dialog_root_, kDialogTable, 5, WindowKind::kDialog);
  frame_->ShowMain(native_title);
  Widget* view = FindById(kViewId);
  Rect area = static_cast<TileView*>(view)->ViewArea();
  Point view_at = frame_->ClientToScreen(Point{area.left, area.top});
  Widget* bar = FindById(kToolBarId);
  Point bar_at = frame_->ClientToScreen(Point{bar->X(), bar->Y()});
  Events().Line("view %d %d %d %d", view_at.x, view_at.y, area.Width(), area.Height());
  Events().Line("toolbar %d %d %d %d", bar_at.x, bar_at.y, bar->Width(), bar->Height());
  LogToolItems("tool", *static_cast<ToolBar*>(bar));
  LogScrollParts(*static_cast<TileView*>(view));
  auto* title = static_cast<TitleBar*>(FindById(1));
  Point caption_at = frame_->ClientToScreen(Point{title->X(), title->Y()});
  Events().Line("caption %d %d %d %d", caption_at.x, caption_at.y, title->Width() - title->ButtonsWidth(),
                title->Height());
  LogCloseButton(*frame_, *title);
  frame_->LogPlace("ready");
}

// "scroll-part down-arrow|thumb X Y WIDTH HEIGHT": where the view's vertical
// bar has them on the screen, for the scripts to press and drag by name.
void GalleryRoot::LogScrollParts(TileView& view) {
  ScrollBar& bar = view.VerticalBar();
  Rect box{bar.X(), bar.Y(), bar.X() + bar.Width(), bar.Y() + bar.Height()};
  ScrollBarGeometry geometry(box, view.VerticalAxis());
  Point arrow = frame_->ClientToScreen(Point{box.left, geometry.End() - kScrollArrowLength});
  Events().Line("scroll-part down-arrow %d %d %d %d", arrow.x, arrow.y, kScrollBarThickness, kScrollArrowLength);
  Point thumb = frame_->ClientToScreen(Point{box.left, geometry.ThumbStart()});
  Events().Line("scroll-part thumb %d %d %d %d", thumb.x, thumb.y, kScrollBarThickness, geometry.ThumbLength());
}

void GalleryRoot::Paint(Canvas& canvas) {
  Container::Paint(canvas);
  // A thin frame sets the view off the face around it.
  Widget* view = FindById(kViewId);
  Rect frame = view->Bounds();
  canvas.SelectPen(Graphics().ShadowPen());
  canvas.HLine(frame.left - 1, frame.top - 1, frame.right + 1);
  canvas.HLine(frame.left - 1, frame.bottom, frame.right + 1);
  canvas.VLine(frame.left - 1, frame.top - 1, frame.bottom + 1);
  canvas.VLine(frame.right, frame.top - 1, frame.bottom + 1);
}

void GalleryRoot::Status(const char* text) {
  Widget* status = FindById(kStatusId);
  if (status != nullptr) status->SetText(text);
}

void GalleryRoot::Notify(unsigned code, std::uint16_t id) {
  Events().Line("notify %u %u", code, static_cast<unsigned>(id));
  char text[64];
  std::snprintf(text, sizeof text, id == kToolBarId ? "Tool bar command %u" : "Command %u", code);
  Status(text);
  if (code == kOpenDialogCommand || code == kMenuOpenDialog) OpenDialog();
}

void GalleryRoot::Close() {
  Events().Line("close main");
  PostQuitMessage(0);
}

// Where each item of a tool bar lies, from the bar's top-left corner, so the
// script points at a button by its number.
void GalleryRoot::LogToolItems(const char* event, const ToolBar& bar) {
  const ToolBarLayout& items = bar.Layout();
  for (int i = 1; i <= items.Count(); ++i) {
    Rect area = items.ItemArea(i);
    Events().Line("%s %d %d %d %d %d", event, i, area.left - bar.X(), area.top - bar.Y(), area.Width(), area.Height());
  }
}

void GalleryRoot::OpenDialog() {
  dialog_->Show();
  dialog_->LogPlace("dialog-shown");
  auto* dialog_bar = static_cast<ToolBar*>(dialog_root_->FindById(kDialogToolBarId));
  Point bar_at = dialog_->ClientToScreen(Point{dialog_bar->X(), dialog_bar->Y()});
  Events().Line("dialog-toolbar %d %d", bar_at.x, bar_at.y);
  LogToolItems("dialog-tool", *dialog_bar);
  Events().Line("owner-enabled %d", IsWindowEnabled(frame_->Handle()) ? 1 : 0);
}

void GalleryRoot::CloseDialog() {
  dialog_->Hide();
  Events().Line("dialog-closed");
  Events().Line("owner-enabled %d", IsWindowEnabled(frame_->Handle()) ? 1 : 0);
}

// --- DialogRoot --------------------------------------------------------------------

DialogRoot::DialogRoot(GalleryRoot& main) : Container(kDialogTable[0], nullptr), main_(main) { enabled_ = true; }

std::unique_ptr<Widget> DialogRoot::ProvideWidget(const LayoutEntry& entry) {
  if (entry.kind == kStatusKind) return std::make_unique<StatusLine>(entry, this);
  return nullptr;
}

void DialogRoot::Notify(unsigned code, std::uint16_t id) {
  Events().Line("dialog-notify %u %u", code, static_cast<unsigned>(id));
  if (code == kDialogOk || code == kDialogCancel || code == key::kEscape || code == key::kEnter) main_.CloseDialog();
}

void DialogRoot::Close() { main_.CloseDialog(); }
