// Creating, showing and placing native windows; painting through the update
// region. The messages themselves are handled in window_procedure.cpp.
#include "ui/core/native_window.h"

#include "graphics/graphics_resources.h"
#include "handles/owned_handle.h"
#include "ui/core/key_codes.h"
#include "ui/core/mouse_tracker.h"
#include "ui/core/window_classes.h"
#include "ui/core/window_errors.h"

namespace {

constexpr int kFrameBorder = 2;

NativeWindow* currentTop = nullptr;
NativeWindow* openPopup = nullptr;
HWND main_handle = nullptr;

}  // namespace

NativeWindow* CurrentTopWindow() { return currentTop; }
NativeWindow* OpenPopup() { return openPopup; }
HWND MainWindowHandle() { return main_handle; }

NativeWindow::NativeWindow(WindowKind kind, ResizeMode mode, int x, int y, int client_width, int client_height)
    : x_(x),
      y_(y),
      width_(client_width + 2 * kFrameBorder),
      height_(client_height + 2 * kFrameBorder),
      border_(kFrameBorder),
      min_width_(width_),
      min_height_(height_),
      kind_(kind),
      mode_(mode) {}

NativeWindow::NativeWindow(WindowKind kind, int x, int y, int width, int height)
    : x_(x),
      y_(y),
      width_(width),
      height_(height),
      border_(0),
      min_width_(width),
      min_height_(height),
      kind_(kind),
      mode_(ResizeMode::kFixed) {}

NativeWindow::~NativeWindow() {
  if (handle_ != nullptr) DestroyNative();
  if (currentTop == this) currentTop = owner_;
  if (openPopup == this) openPopup = nullptr;
  ForgetHoverWindow(*this);
}

void NativeWindow::Destroy() {
  DestroyNative();
  RaiseParkedWindowError();
}

void NativeWindow::DestroyNative() {
  ForgetHoverWindow(*this);
  if (openPopup == this) openPopup = nullptr;
  if (currentTop == this) currentTop = owner_;
  if (handle_ == nullptr) return;
  if (kind_ == WindowKind::kDialog && owner_ != nullptr && owner_->Exists()) EnableWindow(owner_->handle_, TRUE);
  HWND handle = handle_;
  canvas_.RestoreObjects();
  ReleaseDC(handle, dc_);
  dc_ = nullptr;
  SetWindowLongPtrA(handle, GWLP_USERDATA, 0);
  handle_ = nullptr;
  if (handle == main_handle) main_handle = nullptr;
  DestroyWindow(handle);
}

void NativeWindow::Detach() {
  ForgetHoverWindow(*this);
  if (openPopup == this) openPopup = nullptr;
  if (handle_ == main_handle) main_handle = nullptr;
  handle_ = nullptr;
  dc_ = nullptr;
}

void NativeWindow::Draw(Canvas&) {}
void NativeWindow::Activate(bool active) { active_ = active; }
void NativeWindow::CaptureLost() {}
void NativeWindow::Char(unsigned char) {}
void NativeWindow::DdeMessage(UINT, WPARAM, LPARAM) {}
void NativeWindow::KeyDown(unsigned) {}
void NativeWindow::KeyUp(unsigned) {}
void NativeWindow::LeftDown(int, int) {}
void NativeWindow::LeftUp(int, int) {}
void NativeWindow::LeftDouble(int, int) {}
void NativeWindow::MouseMove(int, int) {}
void NativeWindow::Wheel(bool, int, int) {}
void NativeWindow::Notify(WPARAM, LPARAM) {}
void NativeWindow::RightDown(int, int) {}
void NativeWindow::RightUp(int, int) {}
void NativeWindow::Resized(int, int, bool, bool) {}
void NativeWindow::MouseLeave() {}

void NativeWindow::Paint() {
  if (handle_ == nullptr) return;
  RegionObject owned_region(CreateRectRgn(0, 0, 0, 0));
  HRGN region = owned_region.Get();
  if (region == nullptr) return;
  if (GetUpdateRgn(handle_, region, FALSE) > NULLREGION) {
    SelectClipRgn(dc_, region);
    // The region is in device coordinates; the canvas draws in client ones.
    OffsetRgn(region, -border_, -border_);
    RECT box;
    GetRgnBox(region, &box);
    canvas_.SetClip(Rect{box.left, box.top, box.right, box.bottom});
    // Asked at every paint: the user may switch the mode while the setup runs.
    HIGHCONTRASTA contrast{};
    contrast.cbSize = sizeof contrast;
    canvas_.SetHighContrast(SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                            (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0);
    Draw(canvas_);
    SelectClipRgn(dc_, nullptr);
    canvas_.SetClipSize(ClientWidth(), ClientHeight());
  }
  ValidateRgn(handle_, nullptr);
}

void NativeWindow::PositionChanged(const WINDOWPOS& position) {
  int old_x = x_;
  int old_y = y_;
  x_ = position.x;
  y_ = position.y;
  if ((position.flags & SWP_NOSIZE) != 0 || (position.cx == width_ && position.cy == height_)) return;
  // Minimised, or coming back from it: the stored size stays the window's
  // real size.
  if (!KeepsStoredSize(placement_)) {
    int dw = position.cx - width_;
    int dh = position.cy - height_;
    width_ = position.cx;
    height_ = position.cy;
    canvas_.SetClipSize(ClientWidth(), ClientHeight());
    Resized(dw, dh, position.x == old_x, position.y == old_y);
  }
  Paint();
}

bool NativeWindow::CreateNative(const char* title) {
  if (handle_ != nullptr) return true;
  // The system keeps a window above its owner only when it is made with it:
  // a dialog made before it is shown belongs to the window on top now.
  if (currentTop != this) owner_ = currentTop;
  HWND parent = owner_ != nullptr && owner_->Exists() ? owner_->handle_ : main_handle;
  DWORD ex_style = 0;
  DWORD style = WS_POPUP;
  const char* class_name = kDialogClassName;
  switch (kind_) {
    case WindowKind::kPopup:
    case WindowKind::kPassivePopup:
      ex_style = WS_EX_TOOLWINDOW;
      class_name = kToolClassName;
      title = "";
      break;
    case WindowKind::kDialog: break;
    case WindowKind::kApplication:
      class_name = kApplicationClassName;
      style = WS_POPUP | WS_CLIPCHILDREN | WS_MINIMIZEBOX;
      break;
  }
  HWND handle = CreateWindowExA(ex_style, class_name, title, style, x_, y_, width_, height_, parent, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  RaiseParkedWindowError();
  if (handle == nullptr) return false;
  handle_ = handle;
  SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // The class has its own context: taken once, kept for the window's life.
  dc_ = GetDC(handle);
  canvas_.Init(dc_, ClientWidth(), ClientHeight());
  SetWindowOrgEx(dc_, -border_, -border_, nullptr);
  if (placement_ == kPlacementMaximised) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    wp.showCmd = SW_MAXIMIZE;
    wp.ptMaxPosition = POINT{-border_, -border_};
    wp.rcNormalPosition = RECT{x_, y_, x_ + width_, y_ + height_};
    SetWindowPlacement(handle, &wp);
    RaiseParkedWindowError();
  }
  return true;
}

bool NativeWindow::ShowMain(const char* title) {
  if (currentTop != this) owner_ = currentTop;
  if (!CreateNative(title)) return false;
  main_handle = handle_;
  ShowWindow(handle_, SW_SHOW);
  RaiseParkedWindowError();
  currentTop = this;
  return true;
}

void NativeWindow::Show() {
  if (currentTop != this) owner_ = currentTop;
  if (!CreateNative("")) return;
  switch (kind_) {
    case WindowKind::kPopup:
      if (openPopup != nullptr && openPopup != this) openPopup->Destroy();
      openPopup = this;
      active_ = true;
      ShowWindow(handle_, SW_SHOW);
      break;
    case WindowKind::kPassivePopup: ShowWindow(handle_, SW_SHOWNOACTIVATE); break;
    case WindowKind::kDialog:
      if (owner_ != nullptr) CenterOnOwner();
      ShowWindow(handle_, SW_SHOW);
      if (owner_ != nullptr && owner_->Exists()) EnableWindow(owner_->handle_, FALSE);
      currentTop = this;
      break;
    case WindowKind::kApplication:
      ShowWindow(handle_, SW_SHOW);
      currentTop = this;
      break;
  }
  RaiseParkedWindowError();
}

void NativeWindow::Hide() {
  if (handle_ == nullptr) return;
  // Only a dialog disabled its owner; any other kind leaves it alone.
  if (kind_ == WindowKind::kDialog && owner_ != nullptr && owner_->Exists()) EnableWindow(owner_->handle_, TRUE);
  if (currentTop == this) currentTop = owner_;
  if (openPopup == this) openPopup = nullptr;
  ShowWindow(handle_, SW_HIDE);
  RaiseParkedWindowError();
}

void NativeWindow::Invalidate(const Rect& client) {
  if (handle_ == nullptr) return;
  RECT area{client.left + border_, client.top + border_, client.right + border_, client.bottom + border_};
  InvalidateRect(handle_, &area, FALSE);
}

void NativeWindow::ScrollPixels(const Rect& client, int dx, int dy) {
  if (handle_ == nullptr) return;
  RECT area{client.left + border_, client.top + border_, client.right + border_, client.bottom + border_};
  ScrollWindowEx(handle_, dx, dy, &area, &area, nullptr, nullptr, SW_INVALIDATE);
}

SizeLimits NativeWindow::Limits() const {
  return LimitsForMode(mode_, min_width_, min_height_, Graphics().ScreenWidth(), Graphics().ScreenHeight());
}

void NativeWindow::MoveResize(int dx, int dy, int dw, int dh) {
  FrameBox frame = ::MoveResize(FrameBox{x_, y_, width_, height_}, dx, dy, dw, dh, Limits());
  if (handle_ == nullptr) {
    x_ = frame.x;
    y_ = frame.y;
    width_ = frame.width;
    height_ = frame.height;
    return;
  }
  UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (dx == 0 && dy == 0 ? SWP_NOMOVE : 0);
  SetWindowPos(handle_, nullptr, frame.x, frame.y, frame.width, frame.height, flags);
  RaiseParkedWindowError();
}

void NativeWindow::MoveTo(int x, int y) { MoveResize(x - x_, y - y_, 0, 0); }

void NativeWindow::Place(int x, int y, int width, int height) {
  x_ = x;
  y_ = y;
  width_ = min_width_ = width;
  height_ = min_height_ = height;
  if (handle_ == nullptr) return;
  canvas_.SetClipSize(ClientWidth(), ClientHeight());
  SetWindowPos(handle_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  RaiseParkedWindowError();
}

void NativeWindow::CenterOnOwner() {
  if (owner_ == nullptr) return;
  int x = owner_->x_ + (owner_->width_ - width_) / 2;
  int y = owner_->y_ + (owner_->height_ - height_) / 2;
  x_ = x < 0 ? 0 : x;
  y_ = y < 0 ? 0 : y;
  if (handle_ == nullptr) return;
  SetWindowPos(handle_, nullptr, x_, y_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RaiseParkedWindowError();
}

void NativeWindow::Placement(unsigned command) {
  if (handle_ == nullptr) return;
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(handle_, &wp)) return;
  PlacementChange change = PlanPlacement(command, placement_, (wp.flags & WPF_RESTORETOMAXIMIZED) != 0);
  if (!change.applies) return;
  switch (change.show) {
    case ShowCommand::kMinimise: wp.showCmd = SW_MINIMIZE; break;
    case ShowCommand::kMaximise: wp.showCmd = SW_MAXIMIZE; break;
    case ShowCommand::kRestore: wp.showCmd = SW_RESTORE; break;
  }
  placement_ = change.transition;
  SetWindowPlacement(handle_, &wp);
  placement_ = change.final;
  RaiseParkedWindowError();
  Invalidate(Rect{-border_, -border_, width_, height_});
}

Rect WorkAreaAt(int x, int y) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  HMONITOR monitor = MonitorFromPoint(POINT{x, y}, MONITOR_DEFAULTTONEAREST);
  if (monitor == nullptr || !GetMonitorInfoA(monitor, &info)) {
    return Rect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  return Rect{info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}
