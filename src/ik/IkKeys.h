#pragma once

#include "ik/IkRig.h"

#include <vector>

namespace m3d {

struct Motion;

// Gives every Part whose local pose differs between before and after (one
// entry per track of motion) a key at frame holding its pose in after: a key
// already there takes the new pose and keeps its interpolation, a new one
// takes the interpolation of the segment it splits
// (MotionTrack::InterpolationAt). Every other key stays as it was. Returns
// the Parts keyed, ascending.
std::vector<int> KeyChangedParts(Motion& motion, const LocalPose& before, const LocalPose& after, int frame);

}  // namespace m3d
