#pragma once

#include "scene/Motion.h"
#include "scene/Part.h"

#include <memory>
#include <utility>
#include <vector>

namespace m3d {

// One Part taken out of a Scene with everything that belongs to it, kept so
// that it can be put back exactly where it was.
struct DetachedPart {
    // The Part's index before it was taken out; its parentIndex and
    // symmetryIndex count in the same numbering.
    int index = -1;
    // The record with its mesh (owned; not registered with the mesh manager
    // while detached).
    std::unique_ptr<Part> part;
    // Its track in every Motion, in Motion order.
    std::vector<MotionTrack> tracks;
    // Its tree item's check box and its place among its parent's children.
    bool checked = true;
    int treePosition = 0;
};

// Parts taken out of a Scene together (a Part with its subtree, or a Part
// just added), in ascending index.
struct DetachedParts {
    std::vector<DetachedPart> parts;
    // Parts that stayed but lost their partner with these: (the staying Part,
    // its partner), both in the numbering before the Parts were taken out.
    std::vector<std::pair<int, int>> cutPartnerLinks;
};

}  // namespace m3d
