#pragma once

#include "ik/IkRig.h"

#include <optional>

namespace m3d {

// A chain is the path from Part end up to Part root, a strict ancestor of
// end: the Parts from root down to end's parent turn about their pivots, end
// is carried, and the goal is end's pivot at target (world coordinates).
// Only the turning Parts' localMatrix rotations change; every other Part,
// every localPosition and every translation row stay as they were, bit for
// bit. A turning Part with a joint limit ends on its hinge (a rotation about
// its axis alone, within its range) once the solve has turned it; one the
// solve leaves alone keeps its rotation.
struct ChainGoal {
    int end = -1;
    int root = -1;
    Vec3 target;
    // The two-joint solver bends the middle Part toward this point instead of
    // keeping its present bend; the others ignore it.
    std::optional<Vec3> pole = std::nullopt;
};

// How hard the solvers try.
struct IkSettings {
    // A goal this close (world units) counts as reached.
    float tolerance = 1e-4f;
    // Cyclic coordinate descent passes over a chain, at most.
    int maxSweeps = 200;
    // The most one descent step turns one Part, in degrees (0 ... 180).
    float stepCapDegrees = 30.0f;
};

// Where a goal's Part ended: its pivot (composed as the Scene composes it)
// and its distance from the target.
struct IkGoalResult {
    int part = -1;
    Vec3 target;
    Vec3 reached;
    float distance = 0.0f;
};

// The result for Part part's pivot in pose and target.
IkGoalResult GoalResultIn(const IkRig& rig, const LocalPose& pose, int part, Vec3 target);

// The exact solution for two turning Parts (root, then end's parent): the
// middle joint bends the way it bends now (the normal of the bend, root
// segment x middle segment, keeps its direction, whichever side of the old
// middle pivot or of the root-end line the target is on), or toward the
// pole; a target out of reach gets the chain straight toward it (folded as
// far as it goes when too near). When a turning Part has a limit the exact
// solution does not keep, the limited descent below solves it instead, from
// the exact solution with each limited Part on its hinge and from the pose
// as it is: the nearer end wins, and of two as near (within tolerance), the
// one bent more nearly as the exact solution is. A chain of another length
// is left to SolveChain.
IkGoalResult SolveTwoJointChain(const IkRig& rig, LocalPose& pose, const ChainGoal& goal,
                                const IkSettings& settings = {});

// Cyclic coordinate descent on quaternions for a chain of any length: from
// end's parent up to root, each Part turns (at most stepCapDegrees a step,
// about its hinge alone when limited) to bring the end toward the target,
// until it is within tolerance, stops getting nearer or maxSweeps passes are
// done. A limited chain stopped short of a target within its reach starts
// again from its hinges set across their ranges, the nearest end kept. A free chain whose target is out
// of reach is stretched straight toward it instead.
IkGoalResult SolveCcdChain(const IkRig& rig, LocalPose& pose, const ChainGoal& goal, const IkSettings& settings = {});

// SolveTwoJointChain for two turning Parts, SolveCcdChain for any other
// number. A root that is not a strict ancestor of end changes nothing (the
// result tells how far the end is).
IkGoalResult SolveChain(const IkRig& rig, LocalPose& pose, const ChainGoal& goal, const IkSettings& settings = {});

}  // namespace m3d
