// Painting the controls onto a memory surface: text drawn in pieces (as a
// selection splits a line) lands exactly where it lands drawn whole, and
// the log view paints only the rows in the part to repaint, however many
// lines it holds. A focused field or view shows its caret however far its
// text has scrolled.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "dib_surface.h"
#include "fake_window.h"
#include "graphics/canvas.h"
#include "graphics/graphics_resources.h"
#include "ui/core/key_codes.h"
#include "ui/widgets/log_view.h"
#include "ui/widgets/text_caret.h"
#include "ui/widgets/text_edit.h"

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
  return CountingGdi::extTextOut;
}

TEST_F(Painting, LogViewPaintsOnlyTheRowsInTheClip) {
  const Rect whole{0, 0, 400, 200};
  int few = PaintCalls(30, whole);
  EXPECT_EQ(PaintCalls(999, whole), few) << "as many rows painted for 999 lines as for 30";
  int oneRow = PaintCalls(999, Rect{0, 50, 400, 51});
  EXPECT_LE(oneRow, 6) << "a one-pixel band: one row, the margins and the bar beside it";
  EXPECT_LT(oneRow, few);
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

}  // namespace
