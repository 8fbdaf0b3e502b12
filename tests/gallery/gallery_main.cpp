// The toolkit gallery: a small program that shows the window toolkit's
// pieces in real windows, for the test script that drives it under Xvfb.
//
//   tarnell-gallery --skin ARCHIVE --events LOG [--title TITLE] [--x X --y Y]
//                   [--page controls]
//
// ARCHIVE is a skin archive file (directory and pictures, as a setup carries
// it); LOG receives one line per event. The controls page (tests/gallery_controls)
// shows the buttons, fields, log view and tree instead of the frame pieces.
// The exit code is 0 after the main window was closed, 1 when the gallery
// could not start.
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "controls_window.h"
#include "event_log.h"
#include "gallery_windows.h"
#include "graphics/graphics_resources.h"
#include "graphics/skin_archive.h"
#include "log/logger.h"
#include "ui/core/wait_table.h"
#include "ui/widgets/toolkit.h"

namespace {

// Log lines of the program (a picture the skin lacks) go to the event log.
class EventLogger final : public Logger {
 public:
  [[noreturn]] void LogError(const char* text) override {
    Events().Line("error %s", text);
    throw AbortError{};
  }
  void LogLine(const char* text) override { Events().Line("log %s", text); }
  void LogFileLine(const char* text) override { Events().Line("log %s", text); }
  void LogWrite(const char*) override {}
  void ShowMessage(const char* text) override { Events().Line("message %s", text); }
};

const char* Argument(const char* name, const char* fallback) {
  for (int i = 1; i + 1 < __argc; ++i) {
    if (std::strcmp(__argv[i], name) == 0) return __argv[i + 1];
  }
  return fallback;
}

bool OpenSkin(const char* path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return false;
  std::uint64_t size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  try {
    Skin().Open(path, 0, size);
  } catch (const AbortError&) {
    return false;
  }
  return Skin().IsOpen();
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const char* skin = Argument("--skin", nullptr);
  const char* events = Argument("--events", nullptr);
  if (skin == nullptr || events == nullptr || !Events().Open(events)) return 1;
  EventLogger logger;
  SetCurrentLogger(&logger);

  if (!Graphics().Create() || !OpenSkin(skin) || !StartToolkit()) {
    Events().Line("error start-up");
    return 1;
  }
  LoadToolkitSkin();

  int code = 0;
  try {
    int x = std::atoi(Argument("--x", "60"));
    int y = std::atoi(Argument("--y", "60"));
    if (std::strcmp(Argument("--page", ""), "controls") == 0) {
      ControlsRoot controls;
      controls.Start(Argument("--title", "Controls Gallery"), x, y);
      RunLoop();
    } else {
      GalleryRoot gallery;
      gallery.Start(Argument("--title", "Toolkit Gallery"), x, y);
      RunLoop();
    }
  } catch (const AbortError&) {
    Events().Line("error abort");
    code = 2;
  } catch (...) {
    Events().Line("error exception");
    code = 3;
  }
  CloseToolkit();
  Skin().Close();
  Graphics().Release();
  Events().Line("quit");
  SetCurrentLogger(nullptr);
  Events().Close();
  return code;
}
