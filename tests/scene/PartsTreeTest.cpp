#include "scene/PartsTree.h"

#include <gtest/gtest.h>

using namespace m3d;

TEST(PartsTree, ChildrenKeepInsertionOrderAndDeletingTakesTheSubtree)
{
    PartsTree tree;
    const TreeItem root = tree.InsertItem(kNoTreeItem, "root");
    const TreeItem a = tree.InsertItem(root, "a");
    const TreeItem b = tree.InsertItem(root, "b");
    const TreeItem a1 = tree.InsertItem(a, "a1");
    const TreeItem a2 = tree.InsertItem(a1, "a2");
    EXPECT_EQ(tree.GetChildren(root), (std::vector<TreeItem>{a, b}));
    EXPECT_EQ(tree.GetFirstChild(a), a1);
    EXPECT_EQ(tree.GetNextSibling(a), b);
    EXPECT_EQ(tree.GetNextSibling(b), kNoTreeItem);
    EXPECT_EQ(tree.GetParent(a2), a1);
    EXPECT_EQ(tree.InsertItem(12345, "orphan"), kNoTreeItem);

    EXPECT_EQ(tree.DeleteItem(a), (std::vector<TreeItem>{a, a1, a2}));
    EXPECT_FALSE(tree.Contains(a2));
    EXPECT_EQ(tree.GetChildren(root), (std::vector<TreeItem>{b}));
    EXPECT_EQ(tree.GetText(a1), "");
    // Handles are not reused, so a stale one still names nothing.
    const TreeItem c = tree.InsertItem(root, "c");
    EXPECT_NE(c, a);
    EXPECT_NE(c, a2);
}

TEST(PartsTree, DeletingTheSelectionMovesItToNextSiblingThenParent)
{
    PartsTree tree;
    const TreeItem root = tree.InsertItem(kNoTreeItem, "root");
    const TreeItem a = tree.InsertItem(root, "a");
    const TreeItem b = tree.InsertItem(root, "b");
    const TreeItem b1 = tree.InsertItem(b, "b1");
    tree.Select(a);
    tree.DeleteItem(a);
    EXPECT_EQ(tree.GetSelected(), b);
    tree.Select(b1);
    tree.DeleteItem(b);  // an ancestor of the selection
    EXPECT_EQ(tree.GetSelected(), root);

    const TreeItem c = tree.InsertItem(root, "c");
    const TreeItem d = tree.InsertItem(kNoTreeItem, "d");
    tree.Select(d);
    tree.DeleteItem(d);  // top level, last: the previous sibling
    EXPECT_EQ(tree.GetSelected(), root);
    tree.Select(root);
    EXPECT_FALSE(tree.Select(root));
    tree.Select(c);
    tree.DeleteItem(root);
    EXPECT_EQ(tree.GetSelected(), kNoTreeItem);
}

TEST(PartsTree, TextAndCheckStatesBelongToTheirItem)
{
    PartsTree tree;
    const TreeItem a = tree.InsertItem(kNoTreeItem, "a");
    const TreeItem b = tree.InsertItem(kNoTreeItem, "b");
    EXPECT_FALSE(tree.IsChecked(a));
    tree.SetChecked(b, true);
    tree.SetText(a, "renamed");
    EXPECT_FALSE(tree.IsChecked(a));
    EXPECT_TRUE(tree.IsChecked(b));
    EXPECT_EQ(tree.GetText(a), "renamed");
    EXPECT_EQ(tree.GetText(b), "b");
    EXPECT_FALSE(tree.Select(999));
    EXPECT_EQ(tree.GetSelected(), kNoTreeItem);
}

TEST(PartsTree, MovingAnItemTakesItsSubtreeAndRefusesItsOwnDescendants)
{
    PartsTree tree;
    const TreeItem a = tree.InsertItem(kNoTreeItem, "a");
    const TreeItem b = tree.InsertItem(kNoTreeItem, "b");
    const TreeItem a1 = tree.InsertItem(a, "a1");
    const TreeItem a2 = tree.InsertItem(a1, "a2");
    const TreeItem b1 = tree.InsertItem(b, "b1");
    tree.Select(a1);
    EXPECT_FALSE(tree.MoveItem(a, a2, 0));
    EXPECT_FALSE(tree.MoveItem(a1, a1, 0));
    EXPECT_FALSE(tree.MoveItem(a1, 12345, 0));
    EXPECT_TRUE(tree.MoveItem(a1, b, 0));
    EXPECT_EQ(tree.GetChildren(b), (std::vector<TreeItem>{a1, b1}));
    EXPECT_TRUE(tree.GetChildren(a).empty());
    EXPECT_EQ(tree.GetParent(a2), a1);
    EXPECT_EQ(tree.GetSelected(), a1);
    EXPECT_TRUE(tree.MoveItem(a1, kNoTreeItem, 99));
    EXPECT_EQ(tree.GetChildren(kNoTreeItem), (std::vector<TreeItem>{a, b, a1}));
}
