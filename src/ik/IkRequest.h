#pragma once

#include "ik/ChainSolvers.h"

#include <optional>
#include <vector>

namespace m3d {

// One inverse-kinematics edit of a pose as the command line and the views
// ask for it: a chain brought to a target or a Part's pivot moved, then the
// pinned Parts held (HoldPins), optionally mirrored onto the partners.

// Part part's pivot to point (world coordinates), its rotation kept.
struct PivotMove {
    int part = -1;
    Vec3 point;
};

struct IkRequest {
    // Exactly one of the two is set.
    std::optional<ChainGoal> chain;
    std::optional<PivotMove> move;
    // Parts whose pivots stay where they were (indices outside the rig are ignored).
    std::vector<int> pins;
    // The partners (symmetryIndex) do the same mirrored in X: the partner
    // chain toward the mirrored target (and pole), the partner's pivot to the
    // mirrored point.
    bool mirrorPartners = false;
};

// What each goal of a request reached, in this order: the chain or the move,
// the partner's, then each pin.
enum class IkGoalKind { Target, PartnerTarget, Move, PartnerMove, Pin };
struct IkReport {
    IkGoalKind kind;
    IkGoalResult result;
};

// The partner chain of goal: from end's partner up to root's partner, toward
// the target (and pole) mirrored in X. Nothing when either Part has no
// partner but itself, the partner root is not above the partner end, or the
// two chains share a Part.
std::optional<ChainGoal> PartnerChainGoal(const IkRig& rig, const ChainGoal& goal);

// Part part's localPosition becomes point in its parent's frame, so that its
// pivot is at point in the world; its rotation is kept. Nothing for an index
// outside the rig.
void MovePivotTo(const IkRig& rig, LocalPose& pose, int part, Vec3 point);

// Carries out request on pose: the chain solve (SolveChain) or the move, the
// same for the partner when asked and there is one, then HoldPins against
// the pose as it was. A request with neither a chain nor a move only holds
// nothing and reports the pins.
std::vector<IkReport> SolveIk(const IkRig& rig, LocalPose& pose, const IkRequest& request,
                              const IkSettings& settings = {});

}  // namespace m3d
