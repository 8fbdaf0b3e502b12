// A window for widget tests without a screen: a WidgetWindow whose platform
// side only records what the widgets asked for, and a widget that records
// what it was told.
#pragma once

#include <string>
#include <vector>

#include "ui/widgets/container.h"
#include "ui/widgets/widget_window.h"

class FakeWindow : public WidgetWindow {
 public:
  explicit FakeWindow(Container& root) : WidgetWindow(root) {}

  bool HasSurface() const override { return surface; }
  void InvalidateArea(const Rect& area) override { invalidated.push_back(area); }
  void SetCursor(CursorShape shape) override { cursor = shape; }
  WindowKind KindOfWindow() const override { return kind; }
  PlacementState CurrentPlacement() const override { return placement; }
  Point WindowPosition() const override { return position; }
  void MoveWindowTo(Point screen) override { position = screen; }
  void SystemCommand(unsigned command) override { commands.push_back(command); }
  Point ClientToScreen(Point client) const override { return Point{client.x + position.x, client.y + position.y}; }
  Point PointerPosition() const override { return pointer; }
  void ShowHint(const char* text, Point screen) override {
    hint = text;
    hint_at = screen;
  }
  void HideHint() override { hint.clear(); }
  void StartRepeat(RepeatTarget& target) override { repeating = &target; }
  void StopRepeat(RepeatTarget& target) override {
    if (repeating == &target) repeating = nullptr;
  }

  bool surface = true;
  WindowKind kind = WindowKind::kApplication;
  PlacementState placement = kPlacementNormal;
  Point position{100, 50};
  Point pointer{-1, -1};
  CursorShape cursor = CursorShape::kTextBeam;
  std::vector<Rect> invalidated;
  std::vector<unsigned> commands;
  std::string hint;
  Point hint_at;
  RepeatTarget* repeating = nullptr;
};

inline LayoutEntry Entry(std::uint16_t id, std::uint8_t kind, int x, int y, int width, int height,
                         std::uint8_t flags = 0, const char* text = "") {
  return LayoutEntry{id,
                     kind,
                     flags,
                     static_cast<std::int16_t>(x),
                     static_cast<std::int16_t>(y),
                     static_cast<std::int16_t>(width),
                     static_cast<std::int16_t>(height),
                     text};
}

// A widget that takes input and writes down every event as "name:id".
class RecordingWidget : public Widget {
 public:
  RecordingWidget(const LayoutEntry& entry, Container* parent, std::vector<std::string>& log, bool focusable = true)
      : Widget(entry, parent), log_(log) {
    enabled_ = true;
    focusable_ = focusable;
  }

  void GainFocus() override { Note("gain"); }
  void LoseFocus() override { Note("lose"); }
  void FocusClickedAway() override { Note("away"); }
  void MouseLeave() override { Note("leave"); }
  void LeftDown(int, int) override { Note("down"); }
  void LeftUp(int, int) override { Note("up"); }
  void MouseMove(int, int) override { Note("move"); }
  void RightDown(int, int) override { Note("rdown"); }
  void RightUp(int, int) override { Note("rup"); }
  void KeyCommand(unsigned key) override { Note("key" + std::to_string(key)); }
  void KeyChar(unsigned char c) override { Note(std::string("char") + static_cast<char>(c)); }
  void WindowActivated(bool active) override { Note(active ? "active" : "inactive"); }
  const char* GetText() const override { return text.c_str(); }
  void RequestFocus() override { Note("request"); }

  std::string text;

 private:
  void Note(const std::string& what) { log_.push_back(what + ":" + std::to_string(Id())); }
  std::vector<std::string>& log_;
};

// A root container that records the commands and close requests reaching it.
class RecordingRoot : public Container {
 public:
  explicit RecordingRoot(int width = 300, int height = 200)
      : Container(Entry(1000, kWindowKind, 10, 10, width, height), nullptr) {
    enabled_ = true;
  }
  void Notify(unsigned code, std::uint16_t id) override {
    log.push_back("notify" + std::to_string(code) + ":" + std::to_string(id));
  }
  void Close() override { log.push_back("close"); }
  void KeyChar(unsigned char c) override { log.push_back(std::string("rootchar") + static_cast<char>(c)); }

  // Adds a recording child.
  RecordingWidget& AddRecording(std::uint16_t id, int x, int y, int width, int height, bool focusable = true,
                                std::uint8_t flags = 0) {
    auto child = std::make_unique<RecordingWidget>(Entry(id, 1, x, y, width, height, flags), this, log, focusable);
    return static_cast<RecordingWidget&>(*Add(std::move(child)));
  }

  std::vector<std::string> log;
};
