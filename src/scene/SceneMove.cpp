#include "scene/Scene.h"

#include <algorithm>

namespace m3d {

std::optional<PartMove> PlanPartMove(const Scene& scene, int part, int newParent)
{
    const Part* moving = scene.PartAt(part);
    if (!moving || (newParent != -1 && !scene.PartAt(newParent)) || moving->parentIndex == newParent)
        return std::nullopt;
    const int count = scene.PartCount();
    std::vector<char> inside(count, 0);
    for (int i : scene.SubtreeOf(part)) inside[i] = 1;
    if (newParent >= 0 && inside[newParent]) return std::nullopt;

    // The Part becomes the last child, so it must come after its new parent
    // and every child that parent has now.
    int last = newParent;
    for (int i = 0; i < count; ++i)
        if (!inside[i] && scene.Parts()[i]->parentIndex == newParent) last = std::max(last, i);
    PartMove move;
    move.part = part;
    move.newParent = newParent;
    const TreeItem parentItem = newParent >= 0 ? scene.Parts()[newParent]->treeItem : scene.rootPart.treeItem;
    move.treePosition = static_cast<int>(scene.Tree().GetChildren(parentItem).size());
    move.order.reserve(count);
    for (int i = 0; i < count; ++i) {
        if (last < part) {
            move.order.push_back(i);
            continue;
        }
        if (!inside[i]) move.order.push_back(i);
        if (i == last)
            for (int k = 0; k < count; ++k)
                if (inside[k]) move.order.push_back(k);
    }
    return move;
}

PartMove Scene::MovePart(const PartMove& move)
{
    const int count = PartCount();
    Part* moving = PartAt(move.part);
    if (!moving || (move.newParent != -1 && !PartAt(move.newParent)) || move.order.size() != size_t(count))
        return PartMove{};
    std::vector<int> newIndexOf(count, -1);
    for (int j = 0; j < count; ++j) {
        const int old = move.order[j];
        if (old < 0 || old >= count || newIndexOf[old] >= 0) return PartMove{};
        newIndexOf[old] = j;
    }
    for (int j = 0; j < count; ++j) {
        const int old = move.order[j];
        const int parent = old == move.part ? move.newParent : parts[old]->parentIndex;
        if (parent >= 0 && (parent >= count || newIndexOf[parent] >= j)) return PartMove{};
    }
    const TreeItem item = moving->treeItem;
    const TreeItem parentItem = move.newParent >= 0 ? parts[move.newParent]->treeItem : rootPart.treeItem;
    const int oldPosition = tree.PositionOf(item);
    const int oldParent = moving->parentIndex;
    if (!tree.MoveItem(item, parentItem, move.treePosition)) return PartMove{};
    moving->parentIndex = move.newParent;

    std::vector<std::unique_ptr<Part>> reordered(count);
    for (int j = 0; j < count; ++j) {
        reordered[j] = std::move(parts[move.order[j]]);
        Part& part = *reordered[j];
        if (part.parentIndex >= 0) part.parentIndex = newIndexOf[part.parentIndex];
        if (part.symmetryIndex >= 0)
            part.symmetryIndex = part.symmetryIndex < count ? newIndexOf[part.symmetryIndex] : -1;
    }
    parts = std::move(reordered);
    for (Motion& motion : motions) {
        if (motion.tracks.size() != size_t(count)) continue;
        std::vector<MotionTrack> tracks(count);
        for (int j = 0; j < count; ++j) tracks[j] = std::move(motion.tracks[move.order[j]]);
        motion.tracks = std::move(tracks);
    }
    partIndexOfItem.clear();
    UpdateHierarchy(0);
    // Reported once the Parts are in their new order, which is what a listener reads.
    Report(TreeItemMoved{item, parentItem, tree.PositionOf(item)});

    PartMove back;
    back.part = newIndexOf[move.part];
    back.newParent = oldParent >= 0 ? newIndexOf[oldParent] : -1;
    back.treePosition = oldPosition;
    back.order = std::move(newIndexOf);
    return back;
}

}  // namespace m3d
