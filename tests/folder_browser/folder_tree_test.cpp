// The folder browser's tree, opened at paths over a small folder tree of the
// test's own: which folder gets selected (whole folders on the way, the
// start of a name at the end, the longest existing prefix, any case), what
// reading a folder lists, and that the selected row is centred. A folder of
// a path part's very name wins over a sibling listed before it that only
// begins with it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "folder_browser/folder_tree.h"
#include "folder_browser/path_part_match.h"
#include "named_tree_item.h"
#include "test_folder.h"
#include "text/case_fold.h"

namespace {

const LayoutEntry kTreeEntry = {2035, kTextViewKind, kAnchorFill, 32, 24, 260, 208, ""};

void MakeFolder(const std::string& path) { ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path; }

// Programs\Tarnell\Data, Projects and a file beside them.
class FolderTreeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeFolder(root_ / "Programs");
    MakeFolder(root_ / "Programs\\Tarnell");
    MakeFolder(root_ / "Programs\\Tarnell\\Data");
    MakeFolder(root_ / "Projects");
    WriteTestFile(root_ / "notes.txt", "not a folder");
  }

  std::string Selected() const { return tree_.SelectedPath().c_str(); }
  std::set<std::string> ChildrenOf(int node) const {
    std::set<std::string> names;
    const TreeModel& model = tree_.Model();
    for (int child = node + 1; child <= model.SubtreeEnd(node); ++child) {
      if (model.Parent(child) == node) names.insert(model.Text(child));
    }
    return names;
  }
  int NodeOf(const std::string& path) const {
    for (int node = 1; node <= tree_.Model().Count(); ++node) {
      if (EqualIgnoringCase(tree_.NodePath(node).c_str(), path.c_str())) return node;
    }
    return 0;
  }

  TestFolder root_;
  FolderTree tree_{kTreeEntry, nullptr};
};

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

TEST_F(FolderTreeTest, OpensAtTheDeepestFolderOfTheStartPathThatExists) {
  struct Case {
    std::string start;
    std::string selected;
  } cases[] = {
      {root_ / "Programs\\Tarnell", root_ / "Programs\\Tarnell"},
      {Lower(root_ / "Programs\\Tarnell"), root_ / "Programs\\Tarnell"},
      {root_ / "Programs\\Tarnell\\Missing\\Deeper", root_ / "Programs\\Tarnell"},
      {root_ / "Programs\\", root_ / "Programs"},
      // The last part may be the start of a name; a folder on the way must
      // match whole.
      {root_ / "Prog", root_ / "Programs"},
      {root_ / "Prog\\Tarnell", root_.Path()},
      {root_ / "Nothing", root_.Path()},
  };
  for (const Case& c : cases) {
    tree_.SelectPath(c.start.c_str());
    EXPECT_TRUE(EqualIgnoringCase(Selected().c_str(), c.selected.c_str())) << c.start << " selected " << Selected();
  }
}

// Siblings whose names begin with the folder's own, as "Program Files (x86)"
// beside "Program Files": whatever order the file system lists them in, the
// folder itself is selected.
TEST_F(FolderTreeTest, PrefersTheFolderOfThatNameToOnesThatBeginWithIt) {
  for (int i = 0; i < 10; ++i) MakeFolder(root_ / ("Programs (" + std::to_string(i) + ")"));
  tree_.SelectPath((root_ / "Programs").c_str());
  EXPECT_TRUE(EqualIgnoringCase(Selected().c_str(), (root_ / "Programs").c_str())) << Selected();
}

// The siblings in the order a file system that does not sort them may give.
TEST(PathPartMatch, TheFolderOfThatNameWinsOverOnesListedBeforeThatBeginWithIt) {
  TreeModel tree;
  struct Row {
    int level;
    const char* text;
  };
  for (const Row& row : {Row{1, "C:\\"}, Row{2, "Program Files (x86)"}, Row{3, "Tarnell"}, Row{2, "Program Files"},
                         Row{3, "Tarnell Data"}, Row{3, "Tarnell"}, Row{2, "program"}}) {
    tree.Append(row.level, 6, NodeState::kExpanded, std::make_unique<NamedTreeItem>(row.text));
  }
  struct Case {
    int parent;
    const char* part;
    bool last;
    int node;
  } cases[] = {
      {1, "Program Files", true, 4}, {1, "PROGRAM FILES", false, 4}, {1, "Program Files (x86)", true, 2},
      {1, "Program F", true, 2},     {1, "Program F", false, 0},     {1, "Program", true, 7},
      {4, "Tarnell", true, 6},       {4, "Tarn", true, 5},           {0, "C:\\", false, 1},
      {2, "Tarnell Data", true, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindPathPart(tree, c.parent, c.part, c.last), c.node) << c.part << " under node " << c.parent;
  }
}

TEST_F(FolderTreeTest, ExpandsTheWayAndReadsOnlyFolders) {
  tree_.SelectPath((root_ / "Programs\\Tarnell").c_str());
  const TreeModel& model = tree_.Model();
  int top = NodeOf(root_.Path());
  int programs = NodeOf(root_ / "Programs");
  int tarnell = model.Selected();
  ASSERT_NE(top, 0);
  EXPECT_EQ(ChildrenOf(top), (std::set<std::string>{"Programs", "Projects"}));
  for (int node = model.Parent(tarnell); node != 0; node = model.Parent(node)) {
    EXPECT_EQ(model.Node(node).state, NodeState::kExpanded) << model.Text(node);
  }
  EXPECT_EQ(model.Node(programs).image, FolderTree::kFolderImage);
  // The selected folder and its siblings wait until they are opened.
  EXPECT_EQ(model.Node(tarnell).state, NodeState::kUnread);
  EXPECT_EQ(model.Node(NodeOf(root_ / "Projects")).state, NodeState::kUnread);

  tree_.ExpandNode(tarnell, tree_.NodePath(tarnell).c_str());
  int data = NodeOf(root_ / "Programs\\Tarnell\\Data");
  ASSERT_NE(data, 0);
  EXPECT_EQ(model.Node(tarnell).state, NodeState::kExpanded);
  tree_.ExpandNode(data, tree_.NodePath(data).c_str());
  EXPECT_EQ(model.Node(data).state, NodeState::kLeaf);
}

TEST_F(FolderTreeTest, AnEmptyPathShowsTheDrivesWithTheFirstSelected) {
  tree_.SelectPath("");
  const TreeModel& model = tree_.Model();
  ASSERT_GT(model.Count(), 0);
  for (int node = 1; node <= model.Count(); ++node) {
    EXPECT_EQ(model.Node(node).Depth(), 1);
    std::string text = model.Text(node);
    EXPECT_EQ(text.size(), 3u);
    EXPECT_EQ(text.substr(1), ":\\");
    EXPECT_EQ(model.Node(node).image, GetDriveTypeA(text.c_str()) - 1);
  }
  EXPECT_EQ(model.Selected(), 1);
  EXPECT_TRUE(tree_.ParentPathOfSelected().empty());
  EXPECT_TRUE(tree_.SelectedIsDrive());
}

TEST_F(FolderTreeTest, CentresTheSelectedRow) {
  for (int i = 0; i < 40; ++i) MakeFolder(root_ / ("Many" + std::to_string(i)));
  tree_.SelectPath((root_ / "Many30").c_str());
  int row = tree_.Model().RowOf(tree_.Model().Selected());
  int view = tree_.ViewArea().Height();
  int wanted = std::clamp(row * TreeModel::kRowHeight - view / 2, 0, tree_.ContentHeight() - view);
  EXPECT_EQ(tree_.ScrollY(), wanted);
  EXPECT_GT(tree_.ScrollY(), 0);
}

}  // namespace
