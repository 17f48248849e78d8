#include "ik/ChainSolvers.h"
#include "ik/ChainState.h"
#include "view/RotationAngles.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace m3d {

namespace {

// How far a limited Part's exact rotation may stray from its hinge (radians)
// and still count as on it.
constexpr float kHingeSlack = 1e-4f;
// A bend whose sine, times that of its normal's angle to the root-target
// line, is below this has no normal to keep.
constexpr float kLeastBend = 1e-4f;

// The part of v across the unit direction axis.
Vec3 Across(Vec3 v, Vec3 axis) { return v - axis * Dot(v, axis); }

// Some unit vector across unit direction axis.
Vec3 AnyAcross(Vec3 axis)
{
    const Vec3 other = std::fabs(axis.x) < 0.6f ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
    return Normalize(Cross(axis, other));
}

// The unit direction, across the unit root-target direction, in which
// chain's middle pivot leaves that line: toward pole when one is given off
// the line; else the one that keeps the bend's normal (upper segment x lower
// segment) pointing as it points now, so the middle joint bends the same way
// wherever the target goes. A straight chain, or a target along that
// normal, keeps the middle pivot's present side of the line; a chain lying
// along the line takes any side.
Vec3 BendSide(const ChainState& chain, Vec3 direction, const std::optional<Vec3>& pole)
{
    const Vec3 a = chain.Pivot(0), b = chain.Pivot(1), c = chain.End();
    const float upper = Length(b - a), lower = Length(c - b);
    const float least = 1e-6f * std::max(upper, 1.0f);
    if (pole) {
        const Vec3 side = Across(*pole - a, direction);
        if (Length(side) > least) return Normalize(side);
    }
    // With the middle pivot at x direction + h side from the root and the
    // end at reach direction, upper x lower = h reach (side x direction):
    // along the normal for side = direction x normal.
    const Vec3 side = Cross(direction, Cross(b - a, c - b));
    if (Length(side) > kLeastBend * upper * lower) return Normalize(side);
    const Vec3 present = Across(b - a, direction);
    return Length(present) > least ? Normalize(present) : AnyAcross(direction);
}

// Turns the two Parts of chain so that its end reaches target (or comes as
// near as the two lengths allow), the middle pivot on the side BendSide
// gives (toward pole, if any). Returns the unit normal of the bend it aims
// for, which the chain has unless it ends straight or folded.
Vec3 TurnTwoJoints(ChainState& chain, Vec3 target, const std::optional<Vec3>& pole)
{
    const Vec3 a = chain.Pivot(0), b = chain.Pivot(1), c = chain.End();
    const float upper = Length(b - a), lower = Length(c - b);
    const Vec3 toTarget = target - a;
    const float distance = Length(toTarget);
    Vec3 direction = distance > 1e-6f ? toTarget * (1.0f / distance) : Normalize(c - a);
    if (Dot(direction, direction) == 0.0f) direction = Normalize(b - a);
    if (Dot(direction, direction) == 0.0f) direction = {0, 1, 0};
    const float reach = std::clamp(distance, std::fabs(upper - lower), upper + lower);

    const float x = reach > 0.0f ? (upper * upper - lower * lower + reach * reach) / (2.0f * reach) : 0.0f;
    const float h = std::sqrt(std::max(0.0f, upper * upper - x * x));
    const Vec3 side = BendSide(chain, direction, pole);
    const Vec3 middle = a + direction * x + side * h;
    chain.TurnInWorld(0, QuaternionBetween(b - a, middle - a));
    chain.Compose();
    const Vec3 end = a + direction * reach;
    chain.TurnInWorld(1, QuaternionBetween(chain.End() - chain.Pivot(1), end - chain.Pivot(1)));
    chain.Compose();
    return Cross(side, direction);
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

// Each limited Part of chain on its hinge, at the angle of its range
// nearest its present twist about the hinge's axis (pivots stale until
// Compose).
void OntoHinges(ChainState& chain)
{
    for (size_t k = 0; k < chain.TurningCount(); ++k) {
        const JointLimit& limit = chain.Limit(k);
        if (!limit.IsFree()) chain.SetHinge(k, std::clamp(chain.HingeDegrees(k), limit.minDegrees, limit.maxDegrees));
    }
}

// The unit normal of the bend of the chain of parts (root, middle, end) in
// pose: root segment x middle segment; zero for a straight chain.
Vec3 BendNormalIn(const IkRig& rig, const LocalPose& pose, const std::vector<int>& parts)
{
    const Vec3 a = PivotIn(rig, pose, parts[0]), b = PivotIn(rig, pose, parts[1]), c = PivotIn(rig, pose, parts[2]);
    return Normalize(Cross(b - a, c - b));
}

}  // namespace

IkGoalResult SolveTwoJointChain(const IkRig& rig, LocalPose& pose, const ChainGoal& goal, const IkSettings& settings)
{
    const std::vector<int> parts = ChainParts(rig, goal.end, goal.root);
    if (parts.size() != 3) return SolveChain(rig, pose, goal, settings);
    ChainState chain(rig, pose, parts);
    if (!goal.pole && Length(chain.End() - goal.target) <= settings.tolerance)
        return GoalResultIn(rig, pose, goal.end, goal.target);
    const Vec3 bend = TurnTwoJoints(chain, goal.target, goal.pole);
    if (KeepsLimits(chain)) {
        chain.WriteTo(pose);
        return GoalResultIn(rig, pose, goal.end, goal.target);
    }
    // The limited descent runs from the exact answer with its limited Parts
    // on their hinges and from the pose as it is: the nearer end wins, and of
    // two as near, the one that bends more nearly as the exact answer would.
    OntoHinges(chain);
    LocalPose fromBend = pose;
    chain.WriteTo(fromBend);
    const IkGoalResult bent = SolveCcdChain(rig, fromBend, goal, settings);
    const IkGoalResult plain = SolveCcdChain(rig, pose, goal, settings);
    const bool asNear = std::fabs(plain.distance - bent.distance) <= settings.tolerance;
    if (asNear ? Dot(BendNormalIn(rig, pose, parts), bend) > Dot(BendNormalIn(rig, fromBend, parts), bend)
               : plain.distance < bent.distance)
        return plain;
    pose = std::move(fromBend);
    return bent;
}

}  // namespace m3d
