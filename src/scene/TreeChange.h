#pragma once

#include "scene/PartsTree.h"

#include <string>
#include <variant>

// What happened to the parts tree. The Scene reports each change as it makes
// it, so that a tree widget can mirror the tree item by item.

// An item was appended as the last child of parent (NO_TREE_ITEM: top level).
struct TreeItemInserted {
    TreeItem item = NO_TREE_ITEM;
    TreeItem parent = NO_TREE_ITEM;
    std::string text;
};
// An item was deleted together with its whole subtree.
struct TreeItemRemoved {
    TreeItem item = NO_TREE_ITEM;
};
struct TreeItemRenamed {
    TreeItem item = NO_TREE_ITEM;
    std::string text;
};
struct TreeItemChecked {
    TreeItem item = NO_TREE_ITEM;
    bool checked = false;
};

using TreeChange = std::variant<TreeItemInserted, TreeItemRemoved, TreeItemRenamed, TreeItemChecked>;
