// Building a window's widgets from its layout table: each entry by its
// kind's class in table order, the window's own widgets first, a plain
// widget for an unknown kind, and a container that refuses child 256.
#include <gtest/gtest.h>

#include "fake_window.h"
#include "ui/widgets/layout_table.h"

namespace {

constexpr std::uint8_t kTestKind = 200;
constexpr std::uint8_t kUnknownKind = 201;

std::unique_ptr<Widget> MakeFocusable(const LayoutEntry& entry, Container& parent) {
  static std::vector<std::string> log;
  return std::make_unique<RecordingWidget>(entry, &parent, log);
}

// A window that embeds one widget of its own, as the setup window does its
// log view.
class EmbeddingRoot : public RecordingRoot {
 public:
  std::unique_ptr<Widget> ProvideWidget(const LayoutEntry& entry) override {
    if (entry.id != 30) return nullptr;
    auto widget = std::make_unique<RecordingWidget>(entry, this, log, false);
    embedded = widget.get();
    return widget;
  }
  Widget* embedded = nullptr;
};

TEST(LayoutTable, BuildsEveryEntryInTableOrder) {
  RegisterWidgetClass(kTestKind, MakeFocusable);
  const LayoutEntry table[] = {
      {100, kWindowKind, 12, 50, 60, 300, 200, ""},
      {10, kTestKind, 0x01, 8, 20, 100, 17, "first"},
      {20, kUnknownKind, 0x23, 8, 40, 100, 17, ""},
      {30, kTestKind, 0x0C, 8, 60, 100, 80, ""},
  };
  EmbeddingRoot root;
  ASSERT_EQ(BuildWidgets(root, table, 4), 3);
  ASSERT_EQ(root.ChildCount(), 3);

  Widget& first = root.Child(0);
  EXPECT_EQ(first.Id(), 10);
  EXPECT_EQ(first.Bounds(), (Rect{8, 20, 108, 37}));
  EXPECT_EQ(first.AnchorCode(), 1);
  EXPECT_TRUE(first.IsFocusable());
  EXPECT_EQ(first.Parent(), &root);

  Widget& unknown = root.Child(1);
  EXPECT_EQ(unknown.Kind(), kUnknownKind);
  EXPECT_EQ(unknown.AnchorCode(), 3);
  EXPECT_EQ(unknown.ClassFlags(), 2);
  EXPECT_FALSE(unknown.IsEnabled()) << "a plain widget takes no input";
  EXPECT_EQ(root.HitTest(50, 50), nullptr);

  EXPECT_EQ(&root.Child(2), root.embedded);
  EXPECT_FALSE(root.Child(2).IsFocusable());
  EXPECT_EQ(FindFirstOfKind(root, kTestKind), &first);
  EXPECT_EQ(FindFirstOfKind(root, 99), nullptr);
}

TEST(LayoutTable, WindowEntryGivesTheRootTheOriginAndItsSize) {
  Container root(LayoutEntry{5400, kWindowKind, 0, 10, 10, 500, 440, ""}, nullptr);
  EXPECT_EQ(root.Bounds(), (Rect{0, 0, 500, 440}));
  EXPECT_EQ(root.Root(), &root);
}

TEST(LayoutTable, ContainerHoldsAtMost255Children) {
  Container root(LayoutEntry{1, kWindowKind, 0, 0, 0, 100, 100, ""}, nullptr);
  std::vector<LayoutEntry> table(300, LayoutEntry{7, kUnknownKind, 0, 0, 0, 5, 5, ""});
  EXPECT_EQ(BuildWidgets(root, table.data(), 300), 255);
  EXPECT_EQ(root.ChildCount(), Container::kMaxChildren);
}

}  // namespace
