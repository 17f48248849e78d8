#include "ik/ChainSolvers.h"
#include "ik/ChainState.h"
#include "view/RotationAngles.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

// Turns smaller than this (radians) are not made: the end is as near as a
// float can bring it.
constexpr float kLeastTurn = 1e-7f;
// Passes in a row that bring the end less than this much nearer (world
// units) end the descent: it is stuck against a limit or out of reach.
constexpr float kLeastGain = 1e-6f;
constexpr int kStalledSweeps = 3;
// Where across its range each hinge starts a descent again (0: its least angle).
constexpr float kRestartFractions[] = {0.5f, 0.25f, 0.75f, 0.0f, 1.0f};

// The angle (radians) about unit axis from the part of from across it to
// that of to; 0 when either lies along the axis.
float AngleAbout(Vec3 axis, Vec3 from, Vec3 to)
{
    const Vec3 u = from - axis * Dot(from, axis);
    const Vec3 v = to - axis * Dot(to, axis);
    if (Dot(u, u) == 0.0f || Dot(v, v) == 0.0f) return 0.0f;
    return std::atan2(Dot(axis, Cross(u, v)), Dot(u, v));
}

// The turn at Part k of one descent step toward target, given where the end
// is now; applied to the chain. Returns the world rotation it made (the
// identity when none was needed).
Quaternion DescentStep(ChainState& chain, size_t k, Vec3 end, Vec3 target, float cap)
{
    const Vec3 pivot = chain.Pivot(k);
    const Vec3 toEnd = end - pivot, toTarget = target - pivot;
    const JointLimit& limit = chain.Limit(k);
    if (limit.IsFree()) {
        Quaternion turn = QuaternionBetween(toEnd, toTarget);
        const float angle = QuaternionAngle(turn);
        if (!(angle > kLeastTurn)) return {};
        if (angle > cap) turn = QuaternionAxisAngle(Normalize({turn.x, turn.y, turn.z}), cap);
        chain.TurnInWorld(k, turn);
        return turn;
    }
    const Vec3 axis = RotateByQuaternion(LimitAxisVector(limit.axis), chain.ParentWorld(k));
    const float angle = std::clamp(AngleAbout(axis, toEnd, toTarget), -cap, cap);
    const float from = chain.HingeDegrees(k);
    const float to = std::clamp(from + angle * kRadiansToDegrees, limit.minDegrees, limit.maxDegrees);
    if (!(std::fabs(to - from) * kDegreesToRadians > kLeastTurn)) return {};
    return chain.SetHinge(k, to);
}

// Every turning Part pointed at target in turn from the root down: a free
// chain out of reach then lies on one line toward it.
void Stretch(ChainState& chain, Vec3 target)
{
    for (size_t k = 0; k < chain.TurningCount(); ++k) {
        const Vec3 pivot = chain.Pivot(k);
        chain.TurnInWorld(k, QuaternionBetween(chain.Pivot(k + 1) - pivot, target - pivot));
        chain.Compose();
    }
}

// Descent passes over chain toward target from distance (where its end is
// now) until the end is within tolerance, stops getting nearer or the passes
// run out; returns the distance left.
float Descend(ChainState& chain, Vec3 target, const IkSettings& settings, float cap, float distance)
{
    int stalled = 0;
    for (int sweep = 0; sweep < settings.maxSweeps && distance > settings.tolerance; ++sweep) {
        Vec3 end = chain.End();
        // From the end up, each Part's pivot is still where the last
        // composition put it: only Parts below it have turned since.
        for (size_t k = chain.TurningCount(); k-- > 0;) {
            const Quaternion turn = DescentStep(chain, k, end, target, cap);
            end = chain.Pivot(k) + RotateByQuaternion(end - chain.Pivot(k), turn);
        }
        chain.Compose();
        const float now = Length(chain.End() - target);
        stalled = distance - now < kLeastGain ? stalled + 1 : 0;
        distance = now;
        if (stalled >= kStalledSweeps) break;
    }
    return distance;
}

}  // namespace

IkGoalResult SolveCcdChain(const IkRig& rig, LocalPose& pose, const ChainGoal& goal, const IkSettings& settings)
{
    std::vector<int> parts = ChainParts(rig, goal.end, goal.root);
    if (parts.empty()) return GoalResultIn(rig, pose, goal.end, goal.target);
    ChainState chain(rig, pose, std::move(parts));
    const Vec3 target = goal.target;
    float distance = Length(chain.End() - target);
    if (distance <= settings.tolerance) return GoalResultIn(rig, pose, goal.end, target);

    bool free = true;
    for (size_t k = 0; k < chain.TurningCount(); ++k) free = free && chain.Limit(k).IsFree();
    if (free && Length(target - chain.Pivot(0)) >= chain.Reach()) {
        Stretch(chain, target);
        chain.WriteTo(pose);
        return GoalResultIn(rig, pose, goal.end, target);
    }

    const float cap = std::clamp(settings.stepCapDegrees, 0.0f, 180.0f) * kDegreesToRadians;
    distance = Descend(chain, target, settings, cap, distance);
    // Limits can hold a descent in a pocket short of a target in reach: the
    // descent starts again from the hinges set across their ranges, and the
    // nearest end wins. A target out of reach gains nothing by it.
    if (!free && Length(target - chain.Pivot(0)) < chain.Reach())
        for (const float fraction : kRestartFractions) {
            if (distance <= settings.tolerance) break;
            ChainState restart(rig, pose, ChainParts(rig, goal.end, goal.root));
            for (size_t k = 0; k < restart.TurningCount(); ++k) {
                const JointLimit& limit = restart.Limit(k);
                if (!limit.IsFree())
                    restart.SetHinge(k, limit.minDegrees + fraction * (limit.maxDegrees - limit.minDegrees));
            }
            restart.Compose();
            const float reached = Descend(restart, target, settings, cap, Length(restart.End() - target));
            if (reached < distance) {
                chain = std::move(restart);
                distance = reached;
            }
        }
    chain.WriteTo(pose);
    return GoalResultIn(rig, pose, goal.end, target);
}

IkGoalResult GoalResultIn(const IkRig& rig, const LocalPose& pose, int part, Vec3 target)
{
    IkGoalResult result;
    result.part = part;
    result.target = target;
    result.reached = PivotIn(rig, pose, part);
    result.distance = Length(result.reached - target);
    return result;
}

IkGoalResult SolveChain(const IkRig& rig, LocalPose& pose, const ChainGoal& goal, const IkSettings& settings)
{
    if (ChainParts(rig, goal.end, goal.root).size() == 3) return SolveTwoJointChain(rig, pose, goal, settings);
    return SolveCcdChain(rig, pose, goal, settings);
}

}  // namespace m3d
