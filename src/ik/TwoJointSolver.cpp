#include "ik/ChainSolvers.h"
#include "ik/ChainState.h"
#include "view/RotationAngles.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

// How far a limited Part's exact rotation may stray from its hinge (radians)
// and still count as on it.
constexpr float kHingeSlack = 1e-4f;

// The part of v across the unit direction axis.
Vec3 Across(Vec3 v, Vec3 axis) { return v - axis * Dot(v, axis); }

// Some unit vector across unit direction axis.
Vec3 AnyAcross(Vec3 axis)
{
    const Vec3 other = std::fabs(axis.x) < 0.6f ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
    return Normalize(Cross(axis, other));
}

// Turns the two Parts of chain so that its end reaches target (or comes as
// near as the two lengths allow), the middle pivot on the side of sideHint
// (a point) across the root-target line.
void TurnTwoJoints(ChainState& chain, Vec3 target, Vec3 sideHint)
{
    const Vec3 a = chain.Pivot(0), b = chain.Pivot(1), c = chain.End();
    const float upper = Length(b - a), lower = Length(c - b);
    const Vec3 toTarget = target - a;
    const float distance = Length(toTarget);
    Vec3 direction = distance > 1e-6f ? toTarget * (1.0f / distance) : Normalize(c - a);
    if (Dot(direction, direction) == 0.0f) direction = Normalize(b - a);
    if (Dot(direction, direction) == 0.0f) direction = {0, 1, 0};
    const float reach = std::clamp(distance, std::fabs(upper - lower), upper + lower);

    Vec3 side = Across(sideHint - a, direction);
    const float scale = std::max(upper, 1.0f);
    // The middle pivot on the line: the chain's own bend decides, or any side.
    if (Length(side) <= 1e-6f * scale) {
        const Vec3 along = Normalize(c - a);
        side = Across(Across(b - a, along), direction);
    }
    side = Length(side) <= 1e-6f * scale ? AnyAcross(direction) : Normalize(side);

    const float x = reach > 0.0f ? (upper * upper - lower * lower + reach * reach) / (2.0f * reach) : 0.0f;
    const float h = std::sqrt(std::max(0.0f, upper * upper - x * x));
    const Vec3 middle = a + direction * x + side * h;
    chain.TurnInWorld(0, QuaternionBetween(b - a, middle - a));
    chain.Compose();
    const Vec3 end = a + direction * reach;
    chain.TurnInWorld(1, QuaternionBetween(chain.End() - chain.Pivot(1), end - chain.Pivot(1)));
    chain.Compose();
}

// Whether every limited Part of chain's exact solution is a rotation about
// its axis within its range; those are then put exactly on their hinges.
bool KeepsLimits(ChainState& chain)
{
    for (size_t k = 0; k < chain.TurningCount(); ++k) {
        const JointLimit& limit = chain.Limit(k);
        if (limit.IsFree()) continue;
        const float degrees = chain.HingeDegrees(k);
        const Quaternion hinge = QuaternionAxisAngle(LimitAxisVector(limit.axis), degrees * kDegreesToRadians);
        const float stray = QuaternionAngle(QuaternionThen(chain.Local(k), QuaternionInverse(hinge)));
        if (stray > kHingeSlack || degrees < limit.minDegrees || degrees > limit.maxDegrees) return false;
    }
    for (size_t k = 0; k < chain.TurningCount(); ++k)
        if (!chain.Limit(k).IsFree()) chain.SetHinge(k, chain.HingeDegrees(k));
    return true;
}

}  // namespace

IkGoalResult SolveTwoJointChain(const IkRig& rig, LocalPose& pose, const ChainGoal& goal, const IkSettings& settings)
{
    std::vector<int> parts = ChainParts(rig, goal.end, goal.root);
    if (parts.size() != 3) return SolveChain(rig, pose, goal, settings);
    ChainState chain(rig, pose, std::move(parts));
    if (!goal.pole && Length(chain.End() - goal.target) <= settings.tolerance)
        return GoalResultIn(rig, pose, goal.end, goal.target);
    TurnTwoJoints(chain, goal.target, goal.pole ? *goal.pole : chain.Pivot(1));
    if (!KeepsLimits(chain)) return SolveCcdChain(rig, pose, goal, settings);
    chain.WriteTo(pose);
    return GoalResultIn(rig, pose, goal.end, goal.target);
}

}  // namespace m3d
