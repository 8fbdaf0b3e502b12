// Painting the controls onto a memory surface: text drawn in pieces (as a
// selection splits a line) lands exactly where it lands drawn whole, and
// the log view paints only the rows in the part to repaint, however many
// lines it holds. A focused field or view shows its caret however far its
// text has scrolled. Buttons and trees draw the pictures of the skin open
// now, after another skin was closed.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "dib_surface.h"
#include "fake_window.h"
#include "graphics/canvas.h"
#include "graphics/compositing.h"
#include "graphics/graphics_resources.h"
#include "graphics/skin_archive.h"
#include "graphics/skin_directory.h"
#include "test_folder.h"
#include "ui/core/key_codes.h"
#include "ui/widgets/log_view.h"
#include "ui/widgets/push_button.h"
#include "ui/widgets/text_caret.h"
#include "ui/widgets/text_edit.h"
#include "ui/widgets/tree_view.h"

namespace {

class Painting : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(Graphics().Create()); }
};

// One row of pixels as text: '#' for dark, '.' for light.
std::string Row(const DibSurface& surface, int y, int width) {
  std::string row;
  for (int x = 0; x < width; ++x) row += RedOf(surface.At(x, y)) < 128 ? '#' : '.';
  return row;
}

TEST_F(Painting, TextInPiecesLandsWhereWholeTextLands) {
  const FontRecord& font = Graphics().NormalFont();
  const char* text = "Line 1183 of the install log";
  std::size_t length = std::strlen(text);
  DibSurface whole(200, 16, WhiteColour);
  DibSurface pieces(200, 16, WhiteColour);
  Canvas canvas;
  canvas.Init(whole.Dc(), 200, 16);
  canvas.SelectFont(font);
  canvas.SetColours(BlackColour, WhiteColour);
  canvas.TextOutRect(0, 0, Rect{0, 0, 200, 16}, text, length);
  canvas.RestoreObjects();
  canvas.Init(pieces.Dc(), 200, 16);
  canvas.SelectFont(font);
  canvas.SetColours(BlackColour, WhiteColour);
  for (std::size_t split : {std::size_t{19}, std::size_t{22}}) {
    int x = TextWidth(font, text, split);
    canvas.TextOutRect(0, 0, Rect{0, 0, x, 16}, text, split);
    canvas.TextOutRect(x, 0, Rect{x, 0, 200, 16}, text + split, length - split);
    for (int y = 0; y < 16; ++y) {
      EXPECT_EQ(Row(pieces, y, 200), Row(whole, y, 200)) << "split " << split << " row " << y;
    }
  }
  canvas.RestoreObjects();
}

// GDI calls for painting a log view of `lines` lines (scrolled to its end)
// with the canvas clipped to `clip`.
int PaintCalls(int lines, const Rect& clip) {
  RecordingRoot root(400, 200);
  auto owned = std::make_unique<LogView>(Entry(5405, kTextViewKind, 0, 0, 330, 106), &root);
  LogView& log = static_cast<LogView&>(*root.Add(std::move(owned)));
  FakeWindow window(root);
  for (int i = 2; i <= lines; ++i) log.TrimAndAppend(("line " + std::to_string(i)).c_str());
  DibSurface surface(400, 200, WhiteColour);
  Canvas canvas;
  canvas.Init(surface.Dc(), 400, 200);
  canvas.SetClip(clip);
  CountingGdi gdi;
  root.Paint(canvas);
  canvas.RestoreObjects();
  return CountingGdi::ext_text_out;
}

TEST_F(Painting, LogViewPaintsOnlyTheRowsInTheClip) {
  const Rect whole{0, 0, 400, 200};
  int few = PaintCalls(30, whole);
  EXPECT_EQ(PaintCalls(999, whole), few) << "as many rows painted for 999 lines as for 30";
  int one_row = PaintCalls(999, Rect{0, 50, 400, 51});
  EXPECT_LE(one_row, 6) << "a one-pixel band: one row, the margins and the bar beside it";
  EXPECT_LT(one_row, few);
}

// A window that writes down the areas whose pixels a view asked to move.
class MovingWindow : public FakeWindow {
 public:
  using FakeWindow::FakeWindow;
  void ScrollArea(const Rect& area, int, int) override { moved.push_back(area); }
  std::vector<Rect> moved;
};

// A scroll leaves the view's pixels that stay in view where they are and
// only the rest is painted; a jump of the whole view or more leaves none in
// view, and the whole view is painted (Wine would move rows from beside the
// view into it).
TEST_F(Painting, AJumpOfAWholeViewOrMoreIsPaintedWholeWithoutMovingPixels) {
  RecordingRoot root(400, 200);
  auto owned = std::make_unique<LogView>(Entry(5405, kTextViewKind, 0, 0, 330, 106), &root);
  LogView& log = static_cast<LogView&>(*root.Add(std::move(owned)));
  MovingWindow window(root);
  for (int i = 2; i <= 200; ++i) log.TrimAndAppend(("line " + std::to_string(i)).c_str());
  DibSurface surface(400, 200, WhiteColour);
  Canvas canvas;
  canvas.Init(surface.Dc(), 400, 200);
  const Rect view = log.ViewArea();
  const int bottom = log.ScrollY();
  ASSERT_GT(bottom, 3 * view.Height());

  root.Paint(canvas);
  log.ScrollTo(0, bottom - 5);
  EXPECT_EQ(window.moved, std::vector<Rect>{view});

  root.Paint(canvas);
  window.moved.clear();
  window.invalidated.clear();
  log.ScrollTo(0, 0);
  EXPECT_TRUE(window.moved.empty());
  EXPECT_NE(std::find(window.invalidated.begin(), window.invalidated.end(), view), window.invalidated.end());
  canvas.RestoreObjects();
}

// Pixels of `root` painted with the caret as it stands, then without it:
// how many differ, which is the caret a user sees.
int CaretPixels(RecordingRoot& root, Widget& holder) {
  DibSurface shown(400, 200, WhiteColour);
  DibSurface hidden(400, 200, WhiteColour);
  Canvas canvas;
  canvas.Init(shown.Dc(), 400, 200);
  root.Paint(canvas);
  canvas.RestoreObjects();
  HideTextCaret(holder);
  canvas.Init(hidden.Dc(), 400, 200);
  root.Paint(canvas);
  canvas.RestoreObjects();
  int differ = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 400; ++x) differ += shown.At(x, y) != hidden.At(x, y) ? 1 : 0;
  }
  return differ;
}

TEST_F(Painting, CaretShowsWhileTypingAPathWiderThanItsField) {
  for (std::size_t typed : {std::size_t{3}, std::size_t{60}}) {
    RecordingRoot root(400, 200);
    auto owned = std::make_unique<TextEdit>(Entry(50, kEditFieldKind, 8, 10, 200, 17), &root);
    TextEdit& field = static_cast<TextEdit&>(*root.Add(std::move(owned)));
    FakeWindow window(root);
    window.RouteActivate(true);
    window.RouteLeftDown(20, 15);
    window.RouteLeftUp(20, 15);
    for (char c : std::string(typed, 'W')) window.RouteChar(static_cast<unsigned char>(c));
    ASSERT_EQ(std::string(field.GetText()).size(), typed);
    EXPECT_GE(CaretPixels(root, field), 10) << typed << " letters typed";
  }
}

TEST_F(Painting, LogViewCaretShowsAtTheEndOfALongLine) {
  for (const char* line : {"short", "a line far wider than the view that holds it, so the view scrolls"}) {
    RecordingRoot root(400, 200);
    auto owned = std::make_unique<LogView>(Entry(5405, kTextViewKind, 0, 0, 200, 106), &root);
    LogView& log = static_cast<LogView&>(*root.Add(std::move(owned)));
    FakeWindow window(root);
    window.RouteActivate(true);
    log.TrimAndAppend(line);
    window.RouteLeftDown(10, 22);
    window.RouteLeftUp(10, 22);
    window.RouteKeyDown(key::kEnd, false);
    window.RouteKeyUp(key::kEnd);
    EXPECT_GE(CaretPixels(root, log), 10) << line;
  }
}

class Node : public TreeItem {
 public:
  const char* Text() const override { return "C:\\"; }
};

// A skin at the head of `path` whose pictures of `names` are all `png`; its
// size.
std::uint64_t WriteSkin(const std::string& path, const std::vector<const char*>& names, const std::string& png) {
  std::string archive(kSkinDirectorySize, '\0');
  int slot = 0;
  for (const char* name : names) {
    EXPECT_TRUE(WriteSkinSlot(reinterpret_cast<unsigned char*>(&archive[slot++ * kSkinSlotSize]),
                              static_cast<std::uint32_t>(archive.size()), static_cast<std::uint32_t>(png.size()),
                              name));
    archive += png;
  }
  WriteTestFile(path, archive);
  return archive.size();
}

TEST_F(Painting, WidgetsDrawTheSkinOpenNowAfterAnotherWasClosed) {
  const std::vector<const char*> names = {"ltupbutton", "lbupbutton", "rtupbutton", "rbupbutton",
                                          "plussign1",  "plussign2",  "nothingbmp", "vertlinebmp"};
  const std::string suite = std::string(TARNELL_TESTDATA) + "/pngsuite/";
  TestFolder folder;
  const std::string first = folder / "first.skin";
  const std::string second = folder / "second.skin";
  std::uint64_t first_size = WriteSkin(first, names, ReadTestFile(suite + "basn2c08.png"));
  std::uint64_t second_size = WriteSkin(second, names, ReadTestFile(suite + "basn0g08.png"));

  RecordingRoot root(400, 200);
  root.Add(std::make_unique<PushButton>(Entry(7, kButtonKind, 10, 10, 80, 24, 0, "OK"), &root));
  auto owned = std::make_unique<TreeView>(Entry(2035, kTextViewKind, 100, 10, 200, 100), &root);
  TreeView& tree = static_cast<TreeView&>(*root.Add(std::move(owned)));
  tree.Append(1, 0, NodeState::kCollapsed, std::make_unique<Node>());
  DibSurface surface(400, 200, WhiteColour);
  auto paint = [&] {
    Canvas canvas;
    canvas.Init(surface.Dc(), 400, 200);
    root.Paint(canvas);
    canvas.RestoreObjects();
  };
  // Opaque pictures: the same on any background.
  auto expected = [](const char* name) {
    Pixel pixel = PixelAt(Skin().GetWhitePicture(name), 0, 0);
    return Rgb(pixel.red, pixel.green, pixel.blue);
  };

  Skin().Open(first.c_str(), 0, first_size);
  paint();
  GdiColour first_corner = expected("ltupbutton");
  ASSERT_EQ(surface.At(10, 10), first_corner) << "the button's top left corner";
  ASSERT_EQ(surface.At(100, 10), expected("plussign2")) << "the tree's expander";
  Skin().Close();
  Skin().Open(second.c_str(), 0, second_size);
  ASSERT_NE(expected("ltupbutton"), first_corner) << "the two skins' pictures differ where the test looks";
  paint();
  EXPECT_EQ(surface.At(10, 10), expected("ltupbutton")) << "the button's top left corner";
  EXPECT_EQ(surface.At(100, 10), expected("plussign2")) << "the tree's expander";
  Skin().Close();
}

}  // namespace
