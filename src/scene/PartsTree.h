#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace m3d {

// Handle of an item of the parts tree. Handles are never reused, so a handle
// kept after its item was deleted simply names no item.
using TreeItem = int32_t;
constexpr TreeItem kNoTreeItem = 0;

// The parts tree as data: items with a text and a check box, ordered children,
// one selected item. It mirrors the Part links of the Scene; the Scene keeps the
// two in step and tells the program's tree widget about every change.
class PartsTree {
public:
    // Appends an item as the last child of parent (kNoTreeItem: as the last
    // top-level item). Returns its handle, or kNoTreeItem when parent is not
    // an item of this tree. New items are unchecked.
    TreeItem InsertItem(TreeItem parent, const std::string& text);
    // The same at position among parent's children (0 first; a position past
    // the last child appends), for putting back an item that was deleted.
    TreeItem InsertItemAt(TreeItem parent, int position, const std::string& text);
    // Place of item among its siblings (0 first); -1 for an unknown handle.
    int PositionOf(TreeItem item) const;
    // Deletes item with its whole subtree; returns the deleted handles, item
    // first, then its descendants depth first. Deleting the selected item (or
    // an ancestor of it) moves the selection to the next sibling of item, else
    // to its parent, else to its previous sibling, else to none.
    std::vector<TreeItem> DeleteItem(TreeItem item);
    // Moves item with its subtree among the children of newParent
    // (kNoTreeItem: top level) at position (0 first; past the last child
    // appends); handles, texts, check boxes and the selection stay. false (and
    // nothing moves) for an unknown item or parent, or a parent inside item's
    // own subtree.
    bool MoveItem(TreeItem item, TreeItem newParent, int position);
    // Whether item lies in the subtree of ancestor (item itself included).
    bool IsInSubtree(TreeItem item, TreeItem ancestor) const;
    // Removes every item.
    void Clear();

    bool Contains(TreeItem item) const;
    // kNoTreeItem for a top-level item or an unknown handle.
    TreeItem GetParent(TreeItem item) const;
    // Children in insertion order; kNoTreeItem lists the top-level items.
    const std::vector<TreeItem>& GetChildren(TreeItem item) const;
    // kNoTreeItem when there is none.
    TreeItem GetFirstChild(TreeItem item) const;
    TreeItem GetNextSibling(TreeItem item) const;
    int GetCount() const { return static_cast<int>(nodes.size()); }

    // "" for an unknown handle.
    const std::string& GetText(TreeItem item) const;
    void SetText(TreeItem item, const std::string& text);
    // false for an unknown handle.
    bool IsChecked(TreeItem item) const;
    void SetChecked(TreeItem item, bool checked);

    TreeItem GetSelected() const { return selected; }
    // Selects item (kNoTreeItem or an unknown handle: no selection). Returns
    // true when the selection changed.
    bool Select(TreeItem item);

private:
    struct Node {
        TreeItem parent = kNoTreeItem;
        std::vector<TreeItem> children;
        std::string text;
        bool checked = false;
    };
    const Node* Find(TreeItem item) const;
    std::vector<TreeItem>& SiblingsOf(TreeItem item);
    void CollectSubtree(TreeItem item, std::vector<TreeItem>& out) const;

    std::unordered_map<TreeItem, Node> nodes;
    std::vector<TreeItem> topLevel;
    TreeItem selected = kNoTreeItem;
    TreeItem nextHandle = 1;
};

}  // namespace m3d
