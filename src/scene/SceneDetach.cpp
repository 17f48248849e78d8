#include "scene/Scene.h"

#include <algorithm>
#include <deque>
#include <map>
#include <tuple>

namespace m3d {

std::vector<int> Scene::SubtreeOf(int index) const
{
    std::vector<int> subtree;
    if (!PartAt(index)) return subtree;
    std::vector<char> inside(parts.size(), 0);
    inside[index] = 1;
    subtree.push_back(index);
    // Descendants come after their parents, so one pass finds them all.
    for (int i = index + 1; i < PartCount(); ++i) {
        const int parent = parts[i]->parentIndex;
        if (parent >= 0 && parent < i && inside[parent]) {
            inside[i] = 1;
            subtree.push_back(i);
        }
    }
    return subtree;
}

int Scene::RemovePart(TreeItem item)
{
    if (item == rootPart.treeItem) return 0;
    const int index = FindPartByTreeItem(item);
    if (index < 0) return 0;
    DetachParts(SubtreeOf(index));
    return 1;
}

DetachedParts Scene::DetachParts(const std::vector<int>& indices)
{
    DetachedParts detached;
    const int count = PartCount();
    std::vector<char> leaving(count, 0);
    for (int i : indices)
        if (i >= 0 && i < count) leaving[i] = 1;
    // A Part under a leaving Part leaves with it, so no Part stays without its parent.
    for (int i = 0; i < count; ++i) {
        const int parent = parts[i]->parentIndex;
        if (parent >= 0 && parent < i && leaving[parent]) leaving[i] = 1;
    }
    for (int i = 0; i < count; ++i) {
        const int partner = parts[i]->symmetryIndex;
        if (!leaving[i] && partner >= 0 && partner < count && leaving[partner])
            detached.cutPartnerLinks.emplace_back(i, partner);
    }
    // Places are noted before any item goes, so they are the places to put them back at.
    for (int i = 0; i < count; ++i) {
        if (!leaving[i]) continue;
        DetachedPart& d = detached.parts.emplace_back();
        d.index = i;
        d.checked = tree.IsChecked(parts[i]->treeItem);
        d.treePosition = std::max(0, tree.PositionOf(parts[i]->treeItem));
    }
    for (const DetachedPart& d : detached.parts) {
        const Part& part = *parts[d.index];
        const bool parentLeaving = part.parentIndex >= 0 && part.parentIndex < count && leaving[part.parentIndex];
        if (parentLeaving || !tree.Contains(part.treeItem)) continue;
        tree.DeleteItem(part.treeItem);
        Report(TreeItemRemoved{part.treeItem});
    }

    std::vector<int> map(count, -1);
    std::vector<std::unique_ptr<Part>> kept;
    kept.reserve(count - detached.parts.size());
    size_t next = 0;
    for (int i = 0; i < count; ++i) {
        if (leaving[i]) {
            if (parts[i]->mesh) meshBase.RemoveMesh(parts[i]->mesh.get());
            detached.parts[next++].part = std::move(parts[i]);
            continue;
        }
        map[i] = static_cast<int>(kept.size());
        kept.push_back(std::move(parts[i]));
    }
    for (auto& part : kept) {
        if (part->parentIndex >= 0) part->parentIndex = part->parentIndex < count ? map[part->parentIndex] : -1;
        if (part->symmetryIndex >= 0) part->symmetryIndex = part->symmetryIndex < count ? map[part->symmetryIndex] : -1;
    }
    for (Motion& motion : motions) {
        std::vector<MotionTrack> keptTracks;
        keptTracks.reserve(kept.size());
        size_t leaver = 0;
        for (int i = 0; i < count; ++i) {
            MotionTrack track =
                i < static_cast<int>(motion.tracks.size()) ? std::move(motion.tracks[i]) : MotionTrack{};
            if (leaving[i])
                detached.parts[leaver++].tracks.push_back(std::move(track));
            else
                keptTracks.push_back(std::move(track));
        }
        motion.tracks = std::move(keptTracks);
    }
    parts = std::move(kept);
    if (parts.empty()) meshBase.Release();
    return detached;
}

void Scene::AttachParts(DetachedParts&& detached)
{
    const int staying = PartCount();
    const int total = staying + static_cast<int>(detached.parts.size());
    // Final index of every Part that stayed, and which final indices come back.
    std::vector<int> map(staying, -1);
    std::vector<DetachedPart*> returning(total, nullptr);
    std::vector<std::unique_ptr<Part>> merged;
    merged.reserve(total);
    size_t next = 0;
    int stayed = 0;
    for (int i = 0; i < total; ++i) {
        const bool back = next < detached.parts.size() && (detached.parts[next].index == i || stayed == staying);
        if (back) {
            returning[i] = &detached.parts[next++];
            merged.push_back(std::move(returning[i]->part));
        } else {
            map[stayed] = i;
            merged.push_back(std::move(parts[stayed++]));
        }
    }
    for (int i = 0; i < total; ++i) {
        Part& part = *merged[i];
        if (!returning[i]) {
            if (part.parentIndex >= 0) part.parentIndex = part.parentIndex < staying ? map[part.parentIndex] : -1;
            if (part.symmetryIndex >= 0)
                part.symmetryIndex = part.symmetryIndex < staying ? map[part.symmetryIndex] : -1;
        }
        // Links that no longer fit (a history out of step with the model) are dropped, never followed.
        if (part.parentIndex >= i) part.parentIndex = -1;
        if (part.symmetryIndex >= total) part.symmetryIndex = -1;
    }
    for (const auto& [stayer, partner] : detached.cutPartnerLinks)
        if (stayer >= 0 && stayer < total && partner >= 0 && partner < total) merged[stayer]->symmetryIndex = partner;
    for (size_t m = 0; m < motions.size(); ++m) {
        Motion& motion = motions[m];
        std::vector<MotionTrack> tracks;
        tracks.reserve(total);
        int from = 0;
        for (int i = 0; i < total; ++i) {
            if (returning[i]) {
                tracks.push_back(m < returning[i]->tracks.size() ? std::move(returning[i]->tracks[m]) : MotionTrack{});
            } else {
                tracks.push_back(from < static_cast<int>(motion.tracks.size()) ? std::move(motion.tracks[from])
                                                                               : MotionTrack{});
                ++from;
            }
        }
        motion.tracks = std::move(tracks);
    }
    parts = std::move(merged);

    // Tree items go back parent first, each group of siblings in the order of their places.
    std::map<int, std::vector<std::tuple<int, int>>> childrenOf;  // parent (-1: top level) -> (place, index)
    for (int i = 0; i < total; ++i)
        if (returning[i]) childrenOf[parts[i]->parentIndex].emplace_back(returning[i]->treePosition, i);
    std::deque<int> ready;
    for (const auto& [parent, children] : childrenOf)
        if (parent < 0 || !returning[parent]) ready.push_back(parent);
    while (!ready.empty()) {
        const int parent = ready.front();
        ready.pop_front();
        std::vector<std::tuple<int, int>>& children = childrenOf[parent];
        std::sort(children.begin(), children.end());
        const TreeItem parentItem = parent >= 0 ? parts[parent]->treeItem : rootPart.treeItem;
        for (const auto& [place, index] : children) {
            Part& part = *parts[index];
            if (part.mesh) meshBase.InitMesh(part.mesh.get(), 1);
            part.treeItem = tree.InsertItemAt(parentItem, place, part.displayName);
            Report(TreeItemInserted{part.treeItem, parentItem, part.displayName, tree.PositionOf(part.treeItem)});
            SetTreeItemChecked(part.treeItem, returning[index]->checked);
            if (childrenOf.count(index)) ready.push_back(index);
        }
    }
    UpdateHierarchy(0);
}

}  // namespace m3d
