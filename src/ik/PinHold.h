#pragma once

#include "ik/ChainSolvers.h"

#include <vector>

namespace m3d {

// Keeps pinned Parts' pivots where they were while other Parts move or turn.
//
// before is the pose before the change, pose the pose after it; the Parts
// whose local pose differs between them are the changed Parts. Each pinned
// Part, in Part order, whose pivot a changed strict ancestor has carried
// away is brought back to its pivot in before by solving the chain from it
// up to (not including) its nearest changed ancestor (SolveChain: the
// two-joint solver for two turning Parts, keeping their bend side), and the
// Parts that chain turned count as changed for the pins after it; a pinned
// Part below a pinned Part is thus held by the Parts between them. A pinned
// Part whose own pivot was moved (its localPosition changed), or whose
// nearest changed ancestor is its parent (no Part to turn), is not held.
// Pins that nothing carried away, and every Part outside the solved chains,
// stay as they are bit for bit. Returns one result for each pinned Part (in
// Part order, repeats once), with where its pivot is now.
std::vector<IkGoalResult> HoldPins(const IkRig& rig, const LocalPose& before, LocalPose& pose, std::vector<int> pins,
                                   const IkSettings& settings = {});

}  // namespace m3d
