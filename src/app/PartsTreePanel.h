#pragma once

#include "editor/EditorEvents.h"
#include "scene/PartsTree.h"

#include <QWidget>

#include <string>
#include <unordered_map>

class QTreeWidget;
class QTreeWidgetItem;
class EditorSession;

// The parts tree panel: a tree with a check box per item that mirrors the
// scene's parts tree. It subscribes to the session's tree and selection
// events; the user's clicks go back to the session, which reports them
// again, so the widget never holds a state of its own.
class PartsTreePanel : public QWidget {
    Q_OBJECT
public:
    PartsTreePanel(EditorSession& session, QWidget* parent);

    // Rebuilds every item from the scene's tree.
    void Reload();
    // position: among the parent's children, -1 to append.
    void ItemInserted(TreeItem item, TreeItem parent, const std::string& text, int position);
    void ItemRemoved(TreeItem item);
    void ItemRenamed(TreeItem item, const std::string& text);
    void ItemSelected(TreeItem item);
    void ItemChecked(TreeItem item, bool checked);

    QTreeWidget* Tree() const { return tree; }
    // The widget item of a tree item, or nullptr.
    QTreeWidgetItem* WidgetItem(TreeItem item) const;

private:
    void UserChangedItem(QTreeWidgetItem* item, int column);
    void UserSelected(QTreeWidgetItem* current);
    void Forget(QTreeWidgetItem* item);
    void SessionChanged(const EditorEvent& event);

    EditorSession& session;
    QTreeWidget* tree;
    std::unordered_map<TreeItem, QTreeWidgetItem*> items;
    bool applying = false;  // set while the scene's state is copied in
    EditorSubscription subscription;
};
