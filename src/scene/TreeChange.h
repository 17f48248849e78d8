#pragma once

#include "scene/PartsTree.h"

#include <string>
#include <variant>

namespace m3d {

// What happened to the parts tree. The Scene reports each change as it makes
// it, so that a tree widget can mirror the tree item by item.

// An item was inserted among the children of parent (NO_TREE_ITEM: top
// level) at position (0 first), or appended as the last child when position is -1.
struct TreeItemInserted {
    TreeItem item = NO_TREE_ITEM;
    TreeItem parent = NO_TREE_ITEM;
    std::string text;
    int position = -1;
};
// An item was deleted together with its whole subtree.
struct TreeItemRemoved {
    TreeItem item = NO_TREE_ITEM;
};
// An item was moved with its subtree (handles unchanged) among the children
// of parent (NO_TREE_ITEM: top level), to position (0 first).
struct TreeItemMoved {
    TreeItem item = NO_TREE_ITEM;
    TreeItem parent = NO_TREE_ITEM;
    int position = 0;
};
struct TreeItemRenamed {
    TreeItem item = NO_TREE_ITEM;
    std::string text;
};
struct TreeItemChecked {
    TreeItem item = NO_TREE_ITEM;
    bool checked = false;
};

using TreeChange = std::variant<TreeItemInserted, TreeItemRemoved, TreeItemMoved, TreeItemRenamed, TreeItemChecked>;

}  // namespace m3d
