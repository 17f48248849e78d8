#pragma once

#include "editor/EditorEvents.h"
#include "scene/PartsTree.h"

#include <QWidget>

#include <string>
#include <unordered_map>

class QTreeWidget;
class QTreeWidgetItem;

namespace m3d {

class CommandActions;
class EditorSession;

// The parts tree panel: a tree with a check box per item that mirrors the
// scene's parts tree. It subscribes to the session's tree and selection
// events; the user's clicks go back to the session, which reports them
// again, so the widget never holds a state of its own. A Part dragged onto
// another item (or onto "root") runs the re-parent command; the tree
// follows when the session reports the move.
class PartsTreePanel : public QWidget {
    Q_OBJECT
public:
    PartsTreePanel(EditorSession& session, CommandActions& actions, QWidget* parent);

    // Rebuilds every item from the scene's tree.
    void Reload();
    // position: among the parent's children, -1 to append.
    void ItemInserted(TreeItem item, TreeItem parent, const std::string& text, int position);
    void ItemRemoved(TreeItem item);
    // The item with its subtree now sits at position among parent's children.
    void ItemMoved(TreeItem item, TreeItem parent, int position);
    void ItemRenamed(TreeItem item, const std::string& text);
    void ItemSelected(TreeItem item);
    void ItemChecked(TreeItem item, bool checked);
    // What dropping the item dragged onto target does: runs the re-parent
    // command on dragged's Part with target's (-1 for "root").
    void Drop(TreeItem dragged, TreeItem target);

    QTreeWidget* Tree() const { return tree; }
    // The widget item of a tree item, or nullptr.
    QTreeWidgetItem* WidgetItem(TreeItem item) const;

private:
    void UserChangedItem(QTreeWidgetItem* item, int column);
    void UserSelected(QTreeWidgetItem* current);
    // Whether dragged may be dropped onto target.
    bool CanDrop(const QTreeWidgetItem* dragged, const QTreeWidgetItem* target) const;
    void Forget(QTreeWidgetItem* item);
    void SessionChanged(const EditorEvent& event);

    EditorSession& session;
    CommandActions& actions;
    QTreeWidget* tree;
    std::unordered_map<TreeItem, QTreeWidgetItem*> items;
    bool applying = false;  // set while the scene's state is copied in
    EditorSubscription subscription;
};

}  // namespace m3d
