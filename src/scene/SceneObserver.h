#pragma once

#include "scene/PartsTree.h"

#include <string>

// What the Scene reports to whatever shows it. The core never calls a window:
// the program connects these to its widgets; every default does nothing.
class SceneObserver {
public:
    virtual ~SceneObserver() = default;

    // The title text was rebuilt (UpdateTitle).
    virtual void TitleChanged(const std::string& /*title*/) {}
    // An item was appended as the last child of parent (NO_TREE_ITEM: top level).
    virtual void TreeItemInserted(TreeItem /*item*/, TreeItem /*parent*/, const std::string& /*text*/) {}
    // An item was deleted together with its whole subtree.
    virtual void TreeItemRemoved(TreeItem /*item*/) {}
    virtual void TreeItemRenamed(TreeItem /*item*/, const std::string& /*text*/) {}
    // The selected item changed (NO_TREE_ITEM: nothing is selected).
    virtual void TreeItemSelected(TreeItem /*item*/) {}
    virtual void TreeItemChecked(TreeItem /*item*/, bool /*checked*/) {}
    // The current Part or its transform changed; the transform panel shows it anew.
    virtual void TransformPanelNeedsRefresh() {}
    // Motions, the current Motion or the Part set changed; the motion panel
    // refills its list and scroll ranges and repaints.
    virtual void MotionPanelNeedsRefresh() {}
    // Whether "Undo" and "Redo" can be pressed now.
    virtual void UndoButtonsChanged(bool /*undoEnabled*/, bool /*redoEnabled*/) {}
};
