#pragma once

#include "scene/PartsTree.h"

#include <string>
#include <variant>

namespace m3d {

// What happened to the parts tree. The Scene reports each change as it makes
// it, so that a tree widget can mirror the tree item by item.

// An item was inserted among the children of parent (kNoTreeItem: top
// level) at position (0 first), or appended as the last child when position is -1.
struct TreeItemInserted {
    TreeItem item = kNoTreeItem;
    TreeItem parent = kNoTreeItem;
    std::string text;
    int position = -1;
};
// An item was deleted together with its whole subtree.
struct TreeItemRemoved {
    TreeItem item = kNoTreeItem;
};
// An item was moved with its subtree (handles unchanged) among the children
// of parent (kNoTreeItem: top level), to position (0 first).
struct TreeItemMoved {
    TreeItem item = kNoTreeItem;
    TreeItem parent = kNoTreeItem;
    int position = 0;
};
struct TreeItemRenamed {
    TreeItem item = kNoTreeItem;
    std::string text;
};
struct TreeItemChecked {
    TreeItem item = kNoTreeItem;
    bool checked = false;
};

using TreeChange = std::variant<TreeItemInserted, TreeItemRemoved, TreeItemMoved, TreeItemRenamed, TreeItemChecked>;

}  // namespace m3d
