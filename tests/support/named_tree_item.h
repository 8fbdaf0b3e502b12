// A tree item that shows a text of its own: the nodes of the tests' made-up
// trees.
#pragma once

#include <string>
#include <utility>

#include "ui/widgets/behaviour/tree_model.h"

class NamedTreeItem : public TreeItem {
 public:
  explicit NamedTreeItem(std::string text) : text_(std::move(text)) {}
  const char* Text() const override { return text_.c_str(); }

 private:
  std::string text_;
};
