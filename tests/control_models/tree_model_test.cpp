// The tree's logic: which nodes show after expanding and collapsing (a
// collapsed sub-node keeps its children hidden), children read on first
// expansion (none found: no children), the keys, the connector masks, the
// row geometry and keeping the selection in view.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "edit_test_support.h"
#include "named_tree_item.h"
#include "ui/widgets/behaviour/tree_model.h"

namespace {

using Kind = TreeAction::Kind;

struct Row {
  int level;
  NodeState state;
  const char* text;
};

// C:\                    1 expanded
//   Programs             2 collapsed
//     Old                3 no children (hidden)
//   Tarnell              2 expanded
//     Data               3 no children
//     Logs               3 not read
//   Users                2 no children
// D:\                    1 not read
const std::vector<Row> kDrives = {
    {1, NodeState::kExpanded, "C"},       {2, NodeState::kCollapsed, "Programs"}, {3, NodeState::kLeaf, "Old"},
    {2, NodeState::kExpanded, "Tarnell"}, {3, NodeState::kLeaf, "Data"},          {3, NodeState::kUnread, "Logs"},
    {2, NodeState::kLeaf, "Users"},       {1, NodeState::kUnread, "D"},
};

void Fill(TreeModel& tree, const std::vector<Row>& rows) {
  for (const Row& row : rows) tree.Append(row.level, 6, row.state, std::make_unique<NamedTreeItem>(row.text));
}

// The shown nodes' texts, in order.
std::string Shown(const TreeModel& tree) {
  std::string shown;
  for (int i = 1; i <= tree.Count(); ++i) {
    if (!tree.Node(i).Shown()) continue;
    if (!shown.empty()) shown += ' ';
    shown += tree.Text(i);
  }
  return shown;
}

int Find(const TreeModel& tree, const std::string& text) {
  for (int i = 1; i <= tree.Count(); ++i) {
    if (text == tree.Text(i)) return i;
  }
  return 0;
}

TEST(TreeModel, NodesUnderCollapsedAncestorsAreHidden) {
  TreeModel tree;
  Fill(tree, kDrives);
  EXPECT_EQ(Shown(tree), "C Programs Tarnell Data Logs Users D");
  EXPECT_EQ(tree.ShownCount(), 7);
  EXPECT_EQ(tree.Parent(Find(tree, "Logs")), Find(tree, "Tarnell"));
  EXPECT_EQ(tree.Parent(Find(tree, "D")), 0);
}

TEST(TreeModel, CollapseAndExpandKeepCollapsedSubtreesHidden) {
  TreeModel tree;
  Fill(tree, kDrives);
  int c = Find(tree, "C");
  EXPECT_EQ(tree.Collapse(c), 5);
  EXPECT_EQ(tree.Node(c).state, NodeState::kCollapsed);
  EXPECT_EQ(Shown(tree), "C D");
  EXPECT_EQ(tree.Expand(c), 5);
  EXPECT_EQ(tree.Node(c).state, NodeState::kExpanded);
  EXPECT_EQ(Shown(tree), "C Programs Tarnell Data Logs Users D") << "Old stays inside collapsed Programs";

  int programs = Find(tree, "Programs");
  EXPECT_EQ(tree.Expand(programs), 1);
  EXPECT_EQ(Shown(tree), "C Programs Old Tarnell Data Logs Users D");

  int users = Find(tree, "Users");
  EXPECT_EQ(tree.Expand(users), 0);
  EXPECT_EQ(tree.Node(users).state, NodeState::kLeaf);
  EXPECT_EQ(tree.Collapse(users), 0);
  EXPECT_EQ(tree.Node(users).state, NodeState::kLeaf);
}

TEST(TreeModel, ChildrenReadOnExpansion) {
  TreeModel tree;
  Fill(tree, kDrives);
  int logs = Find(tree, "Logs");
  EXPECT_EQ(tree.AddChildren(logs, {}), 0);
  EXPECT_EQ(tree.Node(logs).state, NodeState::kLeaf) << "nothing found: no children";

  int d = Find(tree, "D");
  tree.Select(d);
  std::vector<TreeModel::NewChild> children;
  children.push_back({6, NodeState::kUnread, std::make_unique<NamedTreeItem>("Games")});
  children.push_back({6, NodeState::kUnread, std::make_unique<NamedTreeItem>("Music")});
  EXPECT_EQ(tree.AddChildren(d, std::move(children)), 2);
  EXPECT_EQ(tree.Node(d).state, NodeState::kExpanded);
  EXPECT_EQ(Shown(tree), "C Programs Tarnell Data Logs Users D Games Music");
  EXPECT_EQ(tree.Node(Find(tree, "Music")).level, 2);

  // Children added under a collapsed node wait hidden until it is expanded.
  int programs = Find(tree, "Programs");
  tree.Select(Find(tree, "Music"));
  std::vector<TreeModel::NewChild> more;
  more.push_back({6, NodeState::kLeaf, std::make_unique<NamedTreeItem>("New")});
  tree.AddChildren(programs, std::move(more));
  EXPECT_EQ(Shown(tree), "C Programs Old New Tarnell Data Logs Users D Games Music");
  EXPECT_STREQ(tree.Text(tree.Selected()), "Music") << "the selection stays on its node";
}

TEST(TreeModel, RemovingASubtreeKeepsTheSelectionsPlace) {
  TreeModel tree;
  Fill(tree, kDrives);
  tree.Select(Find(tree, "Tarnell"));
  tree.RemoveSubtree(Find(tree, "Tarnell"));
  EXPECT_EQ(Shown(tree), "C Programs Users D");
  EXPECT_STREQ(tree.Text(tree.Selected()), "Users");
  tree.Select(Find(tree, "D"));
  tree.RemoveSubtree(Find(tree, "D"));
  EXPECT_STREQ(tree.Text(tree.Selected()), "Users") << "limited to what is left";
}

TEST(TreeModel, Keys) {
  struct Case {
    const char* selected;  // "" for none
    const char* key;
    Kind kind;
    const char* node;  // the node selected or toggled
    int dx, dy;
  } cases[] = {
      {"Programs", "Down", Kind::kSelect, "Tarnell", 0, 0},
      {"Users", "Down", Kind::kSelect, "D", 0, 0},
      {"D", "Down", Kind::kNothing, "", 0, 0},  // the last shown node
      {"C", "Up", Kind::kNothing, "", 0, 0},    // the first
      {"Tarnell", "Up", Kind::kSelect, "Programs", 0, 0},
      {"", "Down", Kind::kSelect, "C", 0, 0},
      {"Tarnell", "S-Down", Kind::kScroll, "", 0, 17},
      {"Tarnell", "S-Up", Kind::kScroll, "", 0, -17},
      {"Programs", "Right", Kind::kToggle, "Programs", 0, 0},  // collapsed: expand
      {"D", "Right", Kind::kToggle, "D", 0, 0},                // not read: read and expand
      {"Tarnell", "Right", Kind::kSelect, "Data", 0, 0},       // expanded: as Down
      {"Data", "Right", Kind::kSelect, "Logs", 0, 0},          // no children: as Down
      {"Tarnell", "S-Right", Kind::kScroll, "", 7, 0},
      {"Tarnell", "Left", Kind::kToggle, "Tarnell", 0, 0},  // expanded: collapse
      {"Programs", "Left", Kind::kSelect, "C", 0, 0},       // otherwise as Up
      {"Tarnell", "S-Left", Kind::kScroll, "", -7, 0},
      {"Data", "Space", Kind::kToggle, "Data", 0, 0},
      {"Logs", "End", Kind::kSelect, "D", 0, 0},
      {"Logs", "Home", Kind::kSelect, "C", 0, 0},
      {"C", "PgDn", Kind::kSelect, "Data", 0, 0},  // 68 pixels: two rows below the first two
      {"Users", "PgUp", Kind::kSelect, "Tarnell", 0, 0},
      {"Users", "PgDn", Kind::kSelect, "D", 0, 0},  // stops at the last node
      {"C", "PgUp", Kind::kNothing, "", 0, 0},
      {"C", "Enter", Kind::kPassOn, "", 0, 0},
      {"C", "Del", Kind::kPassOn, "", 0, 0},
  };
  for (const Case& c : cases) {
    TreeModel tree;
    Fill(tree, kDrives);
    tree.Select(Find(tree, c.selected));
    KeyPress press = ParseKey(c.key);
    TreeAction action = tree.KeyAction(press.key, press.flags, 68, 7);
    EXPECT_EQ(static_cast<int>(action.kind), static_cast<int>(c.kind)) << c.key << " on " << c.selected;
    EXPECT_EQ(action.node, Find(tree, c.node)) << c.key << " on " << c.selected;
    EXPECT_EQ(action.dx, c.dx) << c.key << " on " << c.selected;
    EXPECT_EQ(action.dy, c.dy) << c.key << " on " << c.selected;
  }
}

TEST(TreeModel, ConnectorsRunWhereASiblingFollows) {
  TreeModel tree;
  Fill(tree, kDrives);
  struct Case {
    const char* node;
    std::uint32_t mask;
  } cases[] = {
      {"C", 0b1}, {"Programs", 0b11}, {"Tarnell", 0b11}, {"Data", 0b111}, {"Logs", 0b011}, {"Users", 0b01}, {"D", 0b0},
  };
  for (const Case& c : cases) EXPECT_EQ(tree.LineMask(Find(tree, c.node)), c.mask) << c.node;
  tree.Collapse(Find(tree, "Tarnell"));
  EXPECT_EQ(tree.LineMask(Find(tree, "Tarnell")), 0b11u);
  tree.RemoveSubtree(Find(tree, "D"));
  EXPECT_EQ(tree.LineMask(Find(tree, "Users")), 0b00u) << "the last node under the last drive";
  EXPECT_EQ(tree.LineMask(Find(tree, "C")), 0b0u);
}

TEST(TreeModel, RowGeometry) {
  TreeModel tree;
  Fill(tree, kDrives);
  struct Case {
    int y;
    const char* node;
  } rows[] = {{0, "C"}, {16, "C"}, {17, "Programs"}, {34, "Tarnell"}, {6 * 17 + 16, "D"}, {7 * 17, ""}, {-1, ""}};
  for (const Case& c : rows) EXPECT_EQ(tree.NodeAtY(c.y), Find(tree, c.node)) << c.y;
  EXPECT_EQ(tree.RowOf(Find(tree, "Old")), -1);
  EXPECT_EQ(tree.RowOf(Find(tree, "Users")), 5);

  int data = Find(tree, "Data");  // level 3: its expander spans x 30 to 44
  EXPECT_FALSE(tree.OnExpander(data, 29));
  EXPECT_TRUE(tree.OnExpander(data, 30));
  EXPECT_TRUE(tree.OnExpander(data, 44));
  EXPECT_FALSE(tree.OnExpander(data, 45));

  struct Scroll {
    int row, scroll_y, view_height, expected;
  } scrolls[] = {
      {0, 34, 68, 0},  // above: becomes the first row
      {3, 0, 68, 0},   // rows 0 to 3 fit exactly
      {4, 0, 68, 17},  // below: its bottom becomes the view's bottom
      {10, 17, 68, 119}, {2, 17, 68, 17},
  };
  for (const Scroll& s : scrolls) {
    EXPECT_EQ(TreeModel::ScrollToShowRow(s.row, s.scroll_y, s.view_height), s.expected) << s.row << " " << s.scroll_y;
  }
}

TEST(TreeModel, WidestRowCountsIndentPictureAndText) {
  FontMetrics font = TestFont();
  TreeModel tree(&font);
  Fill(tree, kDrives);
  // "Programs" at level 2 is the widest shown row; "Old" at level 3 is hidden.
  EXPECT_EQ(tree.WidestShownRow(), 2 * 15 + 17 + 8 * 7);
  tree.Expand(Find(tree, "Programs"));
  EXPECT_EQ(tree.WidestShownRow(), 2 * 15 + 17 + 8 * 7);
  tree.Clear();
  EXPECT_EQ(tree.WidestShownRow(), 0);
  EXPECT_EQ(tree.Selected(), 0);
}

}  // namespace
