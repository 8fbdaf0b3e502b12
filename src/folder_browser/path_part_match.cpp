#include "folder_browser/path_part_match.h"

#include "text/case_fold.h"

namespace {

int FindChild(const TreeModel& tree, int parent, const char* part, bool prefix) {
  int depth = parent == 0 ? 1 : tree.Node(parent).Depth() + 1;
  for (int node = parent + 1; node <= tree.Count(); node = tree.SubtreeEnd(node) + 1) {
    if (tree.Node(node).Depth() != depth) break;
    const char* text = tree.Text(node);
    if (prefix ? StartsWithIgnoringCase(text, part) : EqualIgnoringCase(text, part)) return node;
  }
  return 0;
}

}  // namespace

int FindPathPart(const TreeModel& tree, int parent, const char* part, bool last) {
  int node = FindChild(tree, parent, part, false);
  if (node == 0 && last) node = FindChild(tree, parent, part, true);
  return node;
}
