// How fast the log view takes lines: 100,000 lines appended to a log view
// that already holds 999, so that it trims to its newest 500 every 500
// lines, as a chatty install fills it.
//
// Four ways of painting, measured in the same run:
//   - none while the lines arrive, as during an install, which runs inside
//     a command handler and lets no paint through;
//   - in a real window on the display, painted through its update region
//     whenever 16 ms have passed, as a message loop paints;
//   - on a memory surface of the window's size, painted after every line
//     where that line asked for it (scrolling moves the pixels that stay);
//   - the same, with the whole view painted after every line: the peer, a
//     view that does not track what changed.
// A last run paints the real window after every line, which shows what the
// window system itself costs per paint.
//
//   logview_bench.exe SKIN_ARCHIVE [LINES]     (see run.sh)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "dib_surface.h"
#include "graphics/canvas.h"
#include "graphics/graphics_resources.h"
#include "graphics/skin_archive.h"
#include "ui/core/wait_table.h"
#include "ui/widgets/frame_window.h"
#include "ui/widgets/log_view.h"
#include "ui/widgets/toolkit.h"
#include "ui/widgets/widget_window.h"

namespace {

constexpr int kWidth = 500;
constexpr int kHeight = 200;

Rect Union(const Rect& a, const Rect& b) {
  if (a.IsEmpty()) return b;
  if (b.IsEmpty()) return a;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

// A window over a memory surface instead of a screen: it gathers what the
// widgets ask to repaint, and scrolls as a real window does, moving the
// pixels (with what is still to be repainted there) and marking what they
// uncover.
class SurfaceWindow : public WidgetWindow {
 public:
  SurfaceWindow(Container& root, HDC dc) : WidgetWindow(root), dc_(dc) {}

  bool HasSurface() const override { return true; }
  void InvalidateArea(const Rect& area) override { dirty = Union(dirty, area); }
  void ScrollArea(const Rect& area, int dx, int dy) override {
    BitBlt(dc_, area.left + dx, area.top + dy, area.Width(), area.Height(), dc_, area.left, area.top, SRCCOPY);
    if (!Intersect(dirty, area).IsEmpty())
      dirty = Rect{dirty.left + dx, dirty.top + dy, dirty.right + dx, dirty.bottom + dy};
    Rect uncovered = dy < 0   ? Rect{area.left, area.bottom + dy, area.right, area.bottom}
                     : dy > 0 ? Rect{area.left, area.top, area.right, area.top + dy}
                              : Rect{};
    Rect uncovered_x = dx < 0   ? Rect{area.right + dx, area.top, area.right, area.bottom}
                       : dx > 0 ? Rect{area.left, area.top, area.left + dx, area.bottom}
                                : Rect{};
    dirty = Union(dirty, Union(uncovered, uncovered_x));
  }
  void SetCursor(CursorShape) override {}
  WindowKind KindOfWindow() const override { return WindowKind::kApplication; }
  PlacementState CurrentPlacement() const override { return kPlacementNormal; }
  Point WindowPosition() const override { return Point{}; }
  void MoveWindowTo(Point) override {}
  void SystemCommand(unsigned) override {}
  Point ClientToScreen(Point client) const override { return client; }
  Point PointerPosition() const override { return Point{-1, -1}; }
  void ShowHint(const char*, Point) override {}
  void HideHint() override {}
  void StartRepeat(RepeatTarget&) override {}
  void StopRepeat(RepeatTarget&) override {}

  Rect dirty;

 private:
  HDC dc_;
};

const LayoutEntry kWindowTable[] = {
    {1, kWindowKind, 0, 100, 100, kWidth, kHeight, ""},
    {5405, kTextViewKind, 0, 10, 10, 330, 106, ""},
};

class Root : public Container {
 public:
  Root() : Container(kWindowTable[0], nullptr) { enabled_ = true; }
  // A window made from the table gets the log view for the text view entry.
  std::unique_ptr<Widget> ProvideWidget(const LayoutEntry& entry) override {
    return std::make_unique<LogView>(entry, this);
  }
};

void AppendNumbered(LogView& log, int i) {
  char line[96];
  std::snprintf(line, sizeof line, "10.12.2026  14:%02d:%02d  Folder created: C:\\Program Files\\Tarnell\\Data\\%d",
                i / 60 % 60, i % 60, i);
  log.TrimAndAppend(line);
}

enum class Painting { kChanged, kWhole, kNone };

double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Lines per second for `lines` appends painted as `painting` says.
double Run(int lines, Painting painting) {
  Root root;
  auto owned = std::make_unique<LogView>(LayoutEntry{5405, kTextViewKind, 0, 10, 10, 330, 106, ""}, &root);
  LogView& log = static_cast<LogView&>(*root.Add(std::move(owned)));
  DibSurface surface(kWidth, kHeight, FaceColour);
  Canvas canvas;
  canvas.Init(surface.Dc(), kWidth, kHeight);
  SurfaceWindow window(root, surface.Dc());
  auto append = [&log](int i) { AppendNumbered(log, i); };
  for (int i = 0; i < 998; ++i) append(i);  // with the empty first line: 999
  canvas.SetClipSize(kWidth, kHeight);
  root.Paint(canvas);
  window.dirty = Rect{};

  double start = Seconds();
  for (int i = 0; i < lines; ++i) {
    append(i);
    if (painting == Painting::kNone) continue;
    Rect clip = painting == Painting::kWhole ? Rect{0, 0, kWidth, kHeight} : window.dirty;
    window.dirty = Rect{};
    if (clip.IsEmpty()) continue;
    canvas.SetClip(clip);
    canvas.SetBackColour(FaceColour);
    canvas.FillRect(clip.left, clip.top, clip.right, clip.bottom);
    root.Paint(canvas);
  }
  double elapsed = Seconds() - start;
  canvas.RestoreObjects();
  if (log.Model().Lines().Count() > 1000 || log.ScrollY() != log.ContentHeight() - log.ViewArea().Height()) {
    std::printf("the view did not keep its newest lines in view\n");
    std::exit(1);
  }
  return lines / elapsed;
}

// The same appends in a real window; what they asked to repaint is painted
// (UpdateWindow) once `frame_ms` have passed since the last paint (the tick
// count, cheap to read, stands for the message loop's own clock).
double RunInWindow(int lines, DWORD frame_ms) {
  Root root;
  FrameWindow frame(root, kWindowTable, 2, WindowKind::kApplication);
  frame.ShowMain("Log view benchmark");
  RunPending();
  auto& log = static_cast<LogView&>(*root.FindById(5405));
  for (int i = 0; i < 998; ++i) AppendNumbered(log, i);
  UpdateWindow(frame.Handle());
  double start = Seconds();
  DWORD painted = GetTickCount();
  for (int i = 0; i < lines; ++i) {
    AppendNumbered(log, i);
    DWORD now = frame_ms > 0 ? GetTickCount() : painted;
    if (now - painted < frame_ms) continue;
    UpdateWindow(frame.Handle());
    painted = now;
  }
  UpdateWindow(frame.Handle());
  GdiFlush();
  double elapsed = Seconds() - start;
  frame.Destroy();
  return lines / elapsed;
}

bool OpenSkin(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
  Skin().Open(path, 0, (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow);
  return Skin().IsOpen();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || !Graphics().Create() || !OpenSkin(argv[1]) || !StartToolkit()) {
    std::printf("usage: logview_bench SKIN_ARCHIVE [LINES]\n");
    return 2;
  }
  int lines = argc > 2 ? std::atoi(argv[2]) : 100000;
  Run(2000, Painting::kChanged);  // warm the caches and the font
  double changed = Run(lines, Painting::kChanged);
  double whole = Run(lines, Painting::kWhole);
  double none = Run(lines, Painting::kNone);
  double framed = RunInWindow(lines, 16);
  double window = RunInWindow(lines / 20, 0);
  std::printf("log view: %d lines appended to a view holding 999, trimmed to the newest 500 at 1000\n", lines);
  std::printf("  appended without painting (an install):        %9.0f lines/s\n", none);
  std::printf("  real window, painted as a message loop does:   %9.0f lines/s (at most 60 paints/s)\n", framed);
  std::printf("  painted after every line, changed rows:        %9.0f lines/s\n", changed);
  std::printf("  painted after every line, whole view (peer):   %9.0f lines/s\n", whole);
  std::printf("  ratio changed rows / whole view:               %9.2f\n", changed / whole);
  std::printf("  real window, painted after every line:         %9.0f lines/s (the window system's cost per paint)\n",
              window);
  std::printf("  target 20000 lines/s, real window:             %s\n", framed >= 20000 ? "met" : "NOT met");
  CloseToolkit();
  return 0;
}
