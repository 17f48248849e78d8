#pragma once

#include "scene/Motion.h"

#include <vector>

namespace m3d {

class Scene;

// The tracks of Part part, one per Motion in Motion order, with every key
// re-expressed under Part newParent (-1: top level) instead of the Part's
// present parent: at each key's frame the Part then has the world placement
// it has now there, with the parents evaluated at that frame. Between keys the
// interpolation runs in the new parent's space, so the placement there may
// differ slightly. newParent must not lie in part's own subtree (its pose
// would depend on the keys being rewritten); empty for an index of no Part.
std::vector<MotionTrack> TracksUnderNewParent(const Scene& scene, int part, int newParent);

}  // namespace m3d
