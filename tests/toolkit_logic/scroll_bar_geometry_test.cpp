// Scroll-bar geometry: thumb size and place, the part under a point on both
// orientations, and a thumb drag that moves the thumb exactly as far as the
// pointer, including the degenerate bars (content that fits, bars shorter
// than a thumb).
#include <gtest/gtest.h>

#include "ui/widgets/scroll_bar_geometry.h"

namespace {

// A vertical bar 130 pixels long: arrows 0-14 and 115-129, track 100.
const Rect kVertical{200, 0, 215, 130};
// The same turned on its side.
const Rect kHorizontal{0, 115, 130, 130};

TEST(ScrollGeometry, MulDivRoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDivRounded(7, 1, 2), 4);
  EXPECT_EQ(MulDivRounded(-7, 1, 2), -4);
  EXPECT_EQ(MulDivRounded(1, 1, 3), 0);
  EXPECT_EQ(MulDivRounded(2, 1, 3), 1);
  EXPECT_EQ(MulDivRounded(100000, 100000, 100000), 100000);
  EXPECT_EQ(MulDivRounded(5, 3, 0), -1);
}

TEST(ScrollGeometry, ThumbLengthAndStart) {
  struct Case {
    ScrollAxis axis;
    int length, start;
  } cases[] = {
      {{100, 400, 0}, 25, 15},      {{100, 400, 150}, 25, 53},
      {{100, 400, 300}, 25, 90},                               // at the end the thumb touches the lower arrow
      {{100, 400, 900}, 25, 90},                               // an offset past the end is drawn at the end
      {{100, 10000, 0}, 20, 15},                               // never shorter than 20
      {{100, 10000, 9900}, 20, 95}, {{100, 100, 0}, 100, 15},  // content that fits: the thumb fills the track
      {{100, 50, 0}, 100, 15},
  };
  for (const Case& c : cases) {
    ScrollBarGeometry vertical(kVertical, c.axis);
    ScrollBarGeometry horizontal(kHorizontal, c.axis);
    EXPECT_TRUE(vertical.Vertical());
    EXPECT_FALSE(horizontal.Vertical());
    EXPECT_EQ(vertical.ThumbLength(), c.length) << c.axis.content_size << "/" << c.axis.offset;
    EXPECT_EQ(vertical.ThumbStart(), c.start) << c.axis.content_size << "/" << c.axis.offset;
    EXPECT_EQ(horizontal.ThumbLength(), c.length) << c.axis.content_size << "/" << c.axis.offset;
    EXPECT_EQ(horizontal.ThumbStart(), c.start) << c.axis.content_size << "/" << c.axis.offset;
  }
}

TEST(ScrollGeometry, BarShorterThanTwoArrowsAndAThumb) {
  ScrollBarGeometry short_bar(Rect{0, 0, 15, 40}, ScrollAxis{100, 1000, 0});
  EXPECT_EQ(short_bar.TrackLength(), 10);
  EXPECT_EQ(short_bar.ThumbLength(), 10);
  ScrollBarGeometry stub(Rect{0, 0, 15, 20}, ScrollAxis{100, 1000, 500});
  EXPECT_EQ(stub.TrackLength(), 0);
  EXPECT_EQ(stub.ThumbLength(), 0);
  EXPECT_EQ(stub.OffsetForPointer(10) - stub.OffsetForPointer(0), 0);
}

TEST(ScrollGeometry, PartUnderAPoint) {
  ScrollAxis at_top{100, 400, 0};       // thumb 15-39
  ScrollAxis at_bottom{100, 400, 300};  // thumb 90-114
  struct Case {
    ScrollAxis axis;
    int along, across;
    int vertical;  // the part on the vertical bar; the horizontal one is 5 more
  } cases[] = {
      {at_top, 0, 7, kUpArrow},           {at_top, 14, 7, kUpArrow},
      {at_top, 15, 7, kVerticalThumb},    {at_top, 39, 7, kVerticalThumb},
      {at_top, 40, 7, kPageDown},         {at_top, 114, 7, kPageDown},
      {at_top, 115, 7, kDownArrow},       {at_top, 129, 7, kDownArrow},
      {at_bottom, 20, 7, kPageUp},        {at_bottom, 89, 7, kPageUp},
      {at_bottom, 90, 7, kVerticalThumb}, {at_top, 130, 7, kNoScrollPart},  // past the end
      {at_top, 50, 15, kNoScrollPart},                                      // beside the bar
      {at_top, 50, -1, kNoScrollPart},
  };
  for (const Case& c : cases) {
    ScrollBarGeometry vertical(kVertical, c.axis);
    ScrollBarGeometry horizontal(kHorizontal, c.axis);
    int horizontal_part = c.vertical == kNoScrollPart ? kNoScrollPart : c.vertical + 5;
    EXPECT_EQ(vertical.PartAt(200 + c.across, c.along), c.vertical) << c.along << "," << c.across;
    EXPECT_EQ(horizontal.PartAt(c.along, 115 + c.across), horizontal_part) << c.along << "," << c.across;
  }
  EXPECT_TRUE(IsScrollArrow(kUpArrow) && IsScrollArrow(kRightArrow) && !IsScrollArrow(kPageUp));
  EXPECT_TRUE(IsScrollThumb(kVerticalThumb) && IsScrollThumb(kHorizontalThumb) && !IsScrollThumb(kPageDown));
}

TEST(ScrollGeometry, DraggedThumbFollowsThePointerExactly) {
  // The thumb is at its 20-pixel minimum, where a mapping by a shorter
  // thumb would let it lag behind the pointer.
  for (int content : {400, 10000}) {
    ScrollAxis axis{100, content, 0};
    ScrollBarGeometry start(kVertical, axis);
    int grabbed = start.ThumbStart() + 5;
    int drag_offset = axis.offset - start.OffsetForPointer(grabbed);
    for (int moved : {10, 33, 60}) {
      int offset = start.OffsetForPointer(grabbed + moved) + drag_offset;
      ScrollBarGeometry after(kVertical, ScrollAxis{100, content, offset});
      EXPECT_NEAR(after.ThumbStart(), start.ThumbStart() + moved, 1) << content << " moved " << moved;
    }
  }
}

}  // namespace
