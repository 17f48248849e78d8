#include "app/PartsTreePanel.h"

#include "app/CommandActions.h"
#include "app/CommandIds.h"
#include "editor/EditorSession.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

namespace m3d {

namespace {
constexpr int kHandleRole = Qt::UserRole;

TreeItem HandleOf(const QTreeWidgetItem* item)
{
    return item != nullptr ? item->data(0, kHandleRole).toInt() : kNoTreeItem;
}

// A tree whose items are dragged onto each other but never moved by the
// widget itself: it asks whether a drop is allowed and hands it over.
class DropTree : public QTreeWidget {
public:
    using Check = std::function<bool(const QTreeWidgetItem* dragged, const QTreeWidgetItem* target)>;
    using Drop = std::function<void(QTreeWidgetItem* dragged, QTreeWidgetItem* target)>;

    DropTree(Check check, Drop drop, QWidget* parent)
        : QTreeWidget(parent), check(std::move(check)), drop(std::move(drop))
    {
        setDragEnabled(true);
        setAcceptDrops(true);
        setDragDropMode(QAbstractItemView::InternalMove);
        // Every drop lands on an item, never between two.
        setDragDropOverwriteMode(true);
        setDropIndicatorShown(true);
    }

protected:
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        QTreeWidget::dragMoveEvent(event);
        if (event->source() != this || !check(currentItem(), itemAt(event->position().toPoint()))) event->ignore();
    }
    void dropEvent(QDropEvent* event) override
    {
        QTreeWidgetItem* target = itemAt(event->position().toPoint());
        QTreeWidgetItem* dragged = currentItem();
        // The widget moves nothing: the session's report of the move does.
        event->setDropAction(Qt::IgnoreAction);
        event->accept();
        if (event->source() == this && check(dragged, target)) drop(dragged, target);
    }

private:
    Check check;
    Drop drop;
};

}  // namespace

PartsTreePanel::PartsTreePanel(EditorSession& owner, CommandActions& commandActions, QWidget* parent)
    : QWidget(parent),
      session(owner),
      actions(commandActions),
      tree(new DropTree(
          [this](const QTreeWidgetItem* dragged, const QTreeWidgetItem* target) { return CanDrop(dragged, target); },
          [this](QTreeWidgetItem* dragged, QTreeWidgetItem* target) { Drop(HandleOf(dragged), HandleOf(target)); },
          this))
{
    setObjectName(IdName(IDD_PARTS_TREE));
    tree->setObjectName(IdName(IDC_PARTS_TREE));
    tree->setHeaderHidden(true);
    tree->setRootIsDecorated(true);
    tree->setItemsExpandable(true);
    tree->setExpandsOnDoubleClick(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setMouseTracking(true);  // hot tracking
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree);
    connect(tree, &QTreeWidget::itemChanged, this, &PartsTreePanel::UserChangedItem);
    connect(tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { UserSelected(current); });
    Reload();
    subscription = session.Events().Subscribe([this](const EditorEvent& event) { SessionChanged(event); });
}

void PartsTreePanel::SessionChanged(const EditorEvent& event)
{
    OnEvent<TreeItemInserted>(
        event, [this](const TreeItemInserted& e) { ItemInserted(e.item, e.parent, e.text, e.position); });
    OnEvent<TreeItemRemoved>(event, [this](const TreeItemRemoved& e) { ItemRemoved(e.item); });
    OnEvent<TreeItemMoved>(event, [this](const TreeItemMoved& e) { ItemMoved(e.item, e.parent, e.position); });
    OnEvent<TreeItemRenamed>(event, [this](const TreeItemRenamed& e) { ItemRenamed(e.item, e.text); });
    OnEvent<TreeItemChecked>(event, [this](const TreeItemChecked& e) { ItemChecked(e.item, e.checked); });
    OnEvent<SelectionChanged>(event, [this](const SelectionChanged& e) { ItemSelected(e.item); });
}

QTreeWidgetItem* PartsTreePanel::WidgetItem(TreeItem item) const
{
    auto found = items.find(item);
    return found != items.end() ? found->second : nullptr;
}

void PartsTreePanel::Reload()
{
    applying = true;
    tree->clear();
    items.clear();
    applying = false;
    const PartsTree& model = session.GetScene().Tree();
    // Breadth by breadth keeps each parent ahead of its children.
    std::vector<TreeItem> pending = model.GetChildren(kNoTreeItem);
    for (size_t k = 0; k < pending.size(); ++k) {
        const TreeItem item = pending[k];
        ItemInserted(item, model.GetParent(item), model.GetText(item), -1);
        ItemChecked(item, model.IsChecked(item));
        for (TreeItem child : model.GetChildren(item)) pending.push_back(child);
    }
    ItemSelected(model.GetSelected());
}

void PartsTreePanel::ItemInserted(TreeItem item, TreeItem parent, const std::string& text, int position)
{
    applying = true;
    auto* widgetItem = new QTreeWidgetItem(QStringList(QString::fromStdString(text)));
    widgetItem->setData(0, kHandleRole, item);
    widgetItem->setFlags(widgetItem->flags() | Qt::ItemIsUserCheckable);
    widgetItem->setCheckState(0, Qt::Unchecked);
    if (QTreeWidgetItem* parentItem = WidgetItem(parent)) {
        const int count = parentItem->childCount();
        parentItem->insertChild(position < 0 || position > count ? count : position, widgetItem);
        parentItem->setExpanded(true);
    } else {
        const int count = tree->topLevelItemCount();
        tree->insertTopLevelItem(position < 0 || position > count ? count : position, widgetItem);
    }
    items[item] = widgetItem;
    applying = false;
}

void PartsTreePanel::Forget(QTreeWidgetItem* item)
{
    for (int i = 0; i < item->childCount(); ++i) Forget(item->child(i));
    items.erase(HandleOf(item));
}

void PartsTreePanel::ItemRemoved(TreeItem item)
{
    QTreeWidgetItem* widgetItem = WidgetItem(item);
    if (widgetItem == nullptr) return;
    applying = true;
    Forget(widgetItem);
    delete widgetItem;
    applying = false;
}

void PartsTreePanel::ItemMoved(TreeItem item, TreeItem parent, int position)
{
    QTreeWidgetItem* widgetItem = WidgetItem(item);
    QTreeWidgetItem* parentItem = WidgetItem(parent);
    if (widgetItem == nullptr || (parent != kNoTreeItem && parentItem == nullptr)) return;
    applying = true;
    const bool wasCurrent = tree->currentItem() == widgetItem;
    // Taken out and put back whole: the subtree and its check boxes go with it.
    if (QTreeWidgetItem* oldParent = widgetItem->parent())
        oldParent->removeChild(widgetItem);
    else
        tree->takeTopLevelItem(tree->indexOfTopLevelItem(widgetItem));
    if (parentItem != nullptr) {
        parentItem->insertChild(std::clamp(position, 0, parentItem->childCount()), widgetItem);
        parentItem->setExpanded(true);
    } else {
        tree->insertTopLevelItem(std::clamp(position, 0, tree->topLevelItemCount()), widgetItem);
    }
    // Put back, the items forget they were open; every parent is, as when added.
    std::function<void(QTreeWidgetItem*)> expand = [&expand](QTreeWidgetItem* at) {
        at->setExpanded(at->childCount() > 0);
        for (int i = 0; i < at->childCount(); ++i) expand(at->child(i));
    };
    expand(widgetItem);
    if (wasCurrent) tree->setCurrentItem(widgetItem);
    applying = false;
}

bool PartsTreePanel::CanDrop(const QTreeWidgetItem* dragged, const QTreeWidgetItem* target) const
{
    if (dragged == nullptr || target == nullptr || session.IsPlaying()) return false;
    const Scene& scene = session.GetScene();
    const int part = scene.FindPartByTreeItem(HandleOf(dragged));
    return PlanPartMove(scene, part, scene.FindPartByTreeItem(HandleOf(target))).has_value();
}

void PartsTreePanel::Drop(TreeItem dragged, TreeItem target)
{
    session.SelectTreeItem(dragged);
    actions.Run(EditorCommand::ReparentPart, session.GetScene().FindPartByTreeItem(target));
}

void PartsTreePanel::ItemRenamed(TreeItem item, const std::string& text)
{
    if (QTreeWidgetItem* widgetItem = WidgetItem(item)) {
        applying = true;
        widgetItem->setText(0, QString::fromStdString(text));
        applying = false;
    }
}

void PartsTreePanel::ItemSelected(TreeItem item)
{
    applying = true;
    tree->setCurrentItem(WidgetItem(item));
    applying = false;
}

void PartsTreePanel::ItemChecked(TreeItem item, bool checked)
{
    if (QTreeWidgetItem* widgetItem = WidgetItem(item)) {
        applying = true;
        widgetItem->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
        applying = false;
    }
}

void PartsTreePanel::UserChangedItem(QTreeWidgetItem* item, int column)
{
    if (applying || column != 0) return;
    const TreeItem handle = HandleOf(item);
    const bool checked = item->checkState(0) == Qt::Checked;
    Scene& scene = session.GetScene();
    if (scene.Tree().IsChecked(handle) != checked) scene.SetTreeItemChecked(handle, checked);
}

void PartsTreePanel::UserSelected(QTreeWidgetItem* current)
{
    if (applying || current == nullptr) return;
    session.SelectTreeItem(HandleOf(current));
}

}  // namespace m3d
