#pragma once

#include <optional>
#include <vector>

namespace m3d {

class Scene;

// A Part given another parent, with its subtree: where it goes and how the
// Parts are numbered afterwards. All indices count in the numbering before
// the move. A Scene applies it with Scene::MovePart, which answers the move
// that takes it back.
struct PartMove {
    int part = -1;
    // -1: top level.
    int newParent = -1;
    // The Part's place among the new parent's children in the tree (0 first).
    int treePosition = 0;
    // order[new index] = index before the move: a permutation of all Parts
    // under which every parent precedes its children and the children of
    // every Part follow each other in the order of the tree.
    std::vector<int> order;
};

// The move of Part part under Part newParent (-1: top level) as its last
// child. The Parts keep their order when that already puts the Part after
// its new parent and its new siblings; otherwise the Part's subtree goes
// right after the last of them, everything else keeping its order. Nothing
// (std::nullopt) for a Part or parent that does not exist, a parent inside
// the Part's own subtree, or the parent it already has.
std::optional<PartMove> PlanPartMove(const Scene& scene, int part, int newParent);

}  // namespace m3d
