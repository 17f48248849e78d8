#pragma once

#include "math/Vec3.h"

#include <vector>

namespace m3d {

class Scene;
struct Motion;

// Where a Part's pivot (its world position) goes over a Motion.
struct PivotPath {
    // The pivot at frames 0 ... length, as WorldPoseAt places it.
    std::vector<Vec3> positions;
    // The frames within 0 ... length where the Part's own track has a key, ascending.
    std::vector<int> keyFrames;
    // A Part of its parent chain has no keys: the path follows the present pose.
    bool followsPose = false;
};

// The path of Part part (a valid index) over motion's frames 0 ... length.
// Only the Part and its parents are evaluated, each track walked once.
PivotPath PivotPathOf(const Scene& scene, const Motion& motion, int part);

}  // namespace m3d
