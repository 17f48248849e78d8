#include "ik/IkRequest.h"

#include "ik/PinHold.h"
#include "scene/PoseComposition.h"

#include <algorithm>

namespace m3d {

namespace {

// Part part's partner when it is another Part; -1 otherwise.
int OtherPartner(const IkRig& rig, int part)
{
    if (part < 0 || part >= rig.PartCount()) return -1;
    const int partner = rig.partners[size_t(part)];
    return partner >= 0 && partner < rig.PartCount() && partner != part ? partner : -1;
}

}  // namespace

std::optional<ChainGoal> PartnerChainGoal(const IkRig& rig, const ChainGoal& goal)
{
    const int end = OtherPartner(rig, goal.end), root = OtherPartner(rig, goal.root);
    if (end < 0 || root < 0) return std::nullopt;
    const std::vector<int> mine = ChainParts(rig, goal.end, goal.root);
    const std::vector<int> theirs = ChainParts(rig, end, root);
    if (mine.empty() || theirs.empty()) return std::nullopt;
    for (const int part : theirs)
        if (std::find(mine.begin(), mine.end(), part) != mine.end()) return std::nullopt;
    ChainGoal partner{end, root, MirrorPosition(goal.target), std::nullopt};
    if (goal.pole) partner.pole = MirrorPosition(*goal.pole);
    return partner;
}

void MovePivotTo(const IkRig& rig, LocalPose& pose, int part, Vec3 point)
{
    if (part < 0 || part >= rig.PartCount()) return;
    const int parent = rig.parents[size_t(part)];
    TrackPose& local = pose[size_t(part)];
    local.localPosition =
        parent >= 0 ? TransformPoint(point, InverseOrIdentity(WorldMatrixIn(rig, pose, parent))) : point;
    local.localMatrix.SetTranslation(local.localPosition);
}

std::vector<IkReport> SolveIk(const IkRig& rig, LocalPose& pose, const IkRequest& request, const IkSettings& settings)
{
    const LocalPose before = pose;
    std::vector<IkReport> reports;
    if (request.chain) {
        reports.push_back({IkGoalKind::Target, SolveChain(rig, pose, *request.chain, settings)});
        if (request.mirrorPartners)
            if (const std::optional<ChainGoal> partner = PartnerChainGoal(rig, *request.chain))
                reports.push_back({IkGoalKind::PartnerTarget, SolveChain(rig, pose, *partner, settings)});
    } else if (request.move && request.move->part >= 0 && request.move->part < rig.PartCount()) {
        const PivotMove move = *request.move;
        MovePivotTo(rig, pose, move.part, move.point);
        const int partner = request.mirrorPartners ? OtherPartner(rig, move.part) : -1;
        const PivotMove mirrored{partner, MirrorPosition(move.point)};
        if (partner >= 0) MovePivotTo(rig, pose, partner, mirrored.point);
        reports.push_back({IkGoalKind::Move, GoalResultIn(rig, pose, move.part, move.point)});
        if (partner >= 0)
            reports.push_back({IkGoalKind::PartnerMove, GoalResultIn(rig, pose, mirrored.part, mirrored.point)});
    }
    for (const IkGoalResult& pin : HoldPins(rig, before, pose, request.pins, settings))
        reports.push_back({IkGoalKind::Pin, pin});
    return reports;
}

}  // namespace m3d
