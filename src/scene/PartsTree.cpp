#include "scene/PartsTree.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace m3d {

namespace {
const std::vector<TreeItem> kNoChildren;
const std::string kNoText;
}  // namespace

const PartsTree::Node* PartsTree::Find(TreeItem item) const
{
    const auto it = nodes.find(item);
    return it == nodes.end() ? nullptr : &it->second;
}

std::vector<TreeItem>& PartsTree::SiblingsOf(TreeItem item)
{
    const TreeItem parent = nodes.at(item).parent;
    return parent == kNoTreeItem ? topLevel : nodes.at(parent).children;
}

TreeItem PartsTree::InsertItem(TreeItem parent, const std::string& text)
{
    return InsertItemAt(parent, std::numeric_limits<int>::max(), text);
}

TreeItem PartsTree::InsertItemAt(TreeItem parent, int position, const std::string& text)
{
    if (parent != kNoTreeItem && !Contains(parent)) return kNoTreeItem;
    const TreeItem item = nextHandle++;
    Node node;
    node.parent = parent;
    node.text = text;
    nodes.emplace(item, std::move(node));
    std::vector<TreeItem>& siblings = parent == kNoTreeItem ? topLevel : nodes.at(parent).children;
    const auto place = static_cast<size_t>(std::clamp(position, 0, static_cast<int>(siblings.size())));
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(place), item);
    return item;
}

int PartsTree::PositionOf(TreeItem item) const
{
    const Node* node = Find(item);
    if (!node) return -1;
    const std::vector<TreeItem>& siblings = node->parent == kNoTreeItem ? topLevel : Find(node->parent)->children;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), item) - siblings.begin());
}

void PartsTree::CollectSubtree(TreeItem item, std::vector<TreeItem>& out) const
{
    out.push_back(item);
    for (TreeItem child : nodes.at(item).children) CollectSubtree(child, out);
}

std::vector<TreeItem> PartsTree::DeleteItem(TreeItem item)
{
    std::vector<TreeItem> removed;
    if (!Contains(item)) return removed;
    CollectSubtree(item, removed);

    const bool losesSelection = std::find(removed.begin(), removed.end(), selected) != removed.end();
    std::vector<TreeItem>& siblings = SiblingsOf(item);
    // Searched from the last sibling: a cleared scene deletes its items last first.
    const auto position = std::prev(std::find(siblings.rbegin(), siblings.rend(), item).base());
    if (losesSelection) {
        // The tree widget's own rule: the next sibling, else the parent, else the previous sibling.
        TreeItem replacement = kNoTreeItem;
        if (position + 1 != siblings.end())
            replacement = *(position + 1);
        else if (nodes.at(item).parent != kNoTreeItem)
            replacement = nodes.at(item).parent;
        else if (position != siblings.begin())
            replacement = *(position - 1);
        selected = replacement;
    }
    siblings.erase(position);
    for (TreeItem gone : removed) nodes.erase(gone);
    return removed;
}

bool PartsTree::IsInSubtree(TreeItem item, TreeItem ancestor) const
{
    if (!Contains(ancestor)) return false;
    for (const Node* node = Find(item); node; item = node->parent, node = Find(item))
        if (item == ancestor) return true;
    return false;
}

bool PartsTree::MoveItem(TreeItem item, TreeItem newParent, int position)
{
    if (!Contains(item) || (newParent != kNoTreeItem && !Contains(newParent)) || IsInSubtree(newParent, item))
        return false;
    std::vector<TreeItem>& oldSiblings = SiblingsOf(item);
    oldSiblings.erase(std::find(oldSiblings.begin(), oldSiblings.end(), item));
    nodes.at(item).parent = newParent;
    std::vector<TreeItem>& siblings = SiblingsOf(item);
    const auto place = static_cast<size_t>(std::clamp(position, 0, static_cast<int>(siblings.size())));
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(place), item);
    return true;
}

void PartsTree::Clear()
{
    nodes.clear();
    topLevel.clear();
    selected = kNoTreeItem;
}

bool PartsTree::Contains(TreeItem item) const { return Find(item) != nullptr; }

TreeItem PartsTree::GetParent(TreeItem item) const
{
    const Node* node = Find(item);
    return node ? node->parent : kNoTreeItem;
}

const std::vector<TreeItem>& PartsTree::GetChildren(TreeItem item) const
{
    if (item == kNoTreeItem) return topLevel;
    const Node* node = Find(item);
    return node ? node->children : kNoChildren;
}

TreeItem PartsTree::GetFirstChild(TreeItem item) const
{
    if (item != kNoTreeItem && !Contains(item)) return kNoTreeItem;
    const std::vector<TreeItem>& children = GetChildren(item);
    return children.empty() ? kNoTreeItem : children.front();
}

TreeItem PartsTree::GetNextSibling(TreeItem item) const
{
    const Node* node = Find(item);
    if (!node) return kNoTreeItem;
    const std::vector<TreeItem>& siblings = GetChildren(node->parent);
    // Searched from the last sibling: a cleared scene deletes its items last first.
    const auto position = std::prev(std::find(siblings.rbegin(), siblings.rend(), item).base());
    return position + 1 == siblings.end() ? kNoTreeItem : *(position + 1);
}

const std::string& PartsTree::GetText(TreeItem item) const
{
    const Node* node = Find(item);
    return node ? node->text : kNoText;
}

void PartsTree::SetText(TreeItem item, const std::string& text)
{
    if (auto it = nodes.find(item); it != nodes.end()) it->second.text = text;
}

bool PartsTree::IsChecked(TreeItem item) const
{
    const Node* node = Find(item);
    return node && node->checked;
}

void PartsTree::SetChecked(TreeItem item, bool checked)
{
    if (auto it = nodes.find(item); it != nodes.end()) it->second.checked = checked;
}

bool PartsTree::Select(TreeItem item)
{
    if (!Contains(item)) item = kNoTreeItem;
    if (item == selected) return false;
    selected = item;
    return true;
}

}  // namespace m3d
