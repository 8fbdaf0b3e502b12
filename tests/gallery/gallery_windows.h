// The windows of the toolkit gallery: an application window built from its
// own layout table (title bar, tool bar, a scrollable view of tiles with a
// context menu, a status line) and a modal dialog with a vertical tool bar.
// Everything they do goes to the event log for the test script.
#pragma once

#include <memory>

#include "text/fixed_text.h"
#include "ui/widgets/container.h"
#include "ui/widgets/frame_window.h"
#include "ui/widgets/popup_menu.h"
#include "ui/widgets/scroll_view.h"

// A frame window that writes its activations, moves, resizes and hints to
// the event log under its name.
class ToolBar;

class GalleryFrame : public FrameWindow {
 public:
  GalleryFrame(const char* name, Container& root, const LayoutEntry* table, int count, WindowKind kind)
      : FrameWindow(root, table, count, kind), name_(name) {}

  void Activate(bool active) override;
  void PositionChanged(const WINDOWPOS& position) override;
  void ShowHint(const char* text, Point screen) override;
  void HideHint() override;
  // "NAME X Y W H" of the window on the screen.
  void LogPlace(const char* event);

 private:
  const char* name_;
  bool hinting_ = false;
};

// One line of text on the face colour.
class StatusLine : public Widget {
 public:
  StatusLine(const LayoutEntry& entry, Container* parent);
  const char* GetText() const override { return text_.c_str(); }
  void SetText(const char* text) override;
  void Paint(Canvas& canvas) override;

 private:
  Text text_;
};

class TileMenu : public PopupMenu {
 public:
  using PopupMenu::PopupMenu;
  void KeyDown(unsigned key) override;
};

// A large content of numbered tiles to scroll through; the right button
// opens the context menu, the arrow and page keys scroll.
class TileView : public ScrollView {
 public:
  TileView(const LayoutEntry& entry, Container* parent);
  void RightUp(int x, int y) override;
  void KeyCommand(unsigned key) override;
  void LeftDown(int x, int y) override;
  TileMenu& Menu() { return menu_; }

 protected:
  void PaintContent(Canvas& canvas, const Rect& area) override;
  void ScrollChanged() override;

 private:
  TileMenu menu_;
};

class DialogRoot;

class GalleryRoot : public Container {
 public:
  GalleryRoot();
  ~GalleryRoot() override;
  std::unique_ptr<Widget> ProvideWidget(const LayoutEntry& entry) override;
  void Notify(unsigned code, std::uint16_t id) override;
  void Close() override;
  void Paint(Canvas& canvas) override;

  // Makes the windows and shows the main one at (x, y) on the screen.
  void Start(const char* native_title, int x, int y);
  void OpenDialog();
  void CloseDialog();
  GalleryFrame& Frame() { return *frame_; }

 private:
  void Status(const char* text);
  void LogToolItems(const char* event, const ToolBar& bar);
  void LogScrollParts(TileView& view);

  std::unique_ptr<GalleryFrame> frame_;
  std::unique_ptr<DialogRoot> dialog_root_;
  std::unique_ptr<GalleryFrame> dialog_;
};

class DialogRoot : public Container {
 public:
  explicit DialogRoot(GalleryRoot& main);
  std::unique_ptr<Widget> ProvideWidget(const LayoutEntry& entry) override;
  void Notify(unsigned code, std::uint16_t id) override;
  void Close() override;

 private:
  GalleryRoot& main_;
};
