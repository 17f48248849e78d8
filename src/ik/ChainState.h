#pragma once

#include "ik/ChainSolvers.h"
#include "math/Quaternion.h"

#include <vector>

namespace m3d {

// One chain as the solvers work on it: each Part's local rotation as a
// quaternion and its pivot and world rotation composed from the world of
// root's parent. Index 0 is root, the last index the end.
class ChainState {
public:
    // parts: ChainParts(rig, end, root), not empty.
    ChainState(const IkRig& rig, const LocalPose& pose, std::vector<int> parts);

    size_t Size() const { return parts.size(); }
    // The turning Parts: all but the end.
    size_t TurningCount() const { return parts.size() - 1; }
    const JointLimit& Limit(size_t k) const { return limits[k]; }
    Vec3 Pivot(size_t k) const { return origins[k]; }
    Vec3 End() const { return origins.back(); }
    const Quaternion& Local(size_t k) const { return locals[k]; }
    // The world rotation of Part k's parent.
    const Quaternion& ParentWorld(size_t k) const { return k == 0 ? baseRotation : worlds[k - 1]; }
    // The sum of the distances from each turning pivot to the next: the
    // farthest a free chain reaches from its root's pivot.
    float Reach() const;

    // Gives turning Part k the local rotation local and returns the world
    // rotation that took it there (after its old world rotation). Pivots
    // and world rotations below k are stale until Compose.
    Quaternion SetLocal(size_t k, const Quaternion& local);
    // Turns Part k by the world rotation turn, after its present world rotation.
    void TurnInWorld(size_t k, const Quaternion& turn);
    // Part k becomes a rotation of degrees about its limit's axis.
    Quaternion SetHinge(size_t k, float degrees);
    // The hinge angle of Part k's present rotation: the angle of its twist
    // about its limit's axis, in degrees within (-180, 180].
    float HingeDegrees(size_t k) const;
    // Recomposes the pivots and world rotations from the root down.
    void Compose();

    // Writes the turned Parts into pose (rotation only), a hinged Part as
    // RotationFromAngles of its angle.
    void WriteTo(LocalPose& pose) const;

private:
    std::vector<int> parts;
    std::vector<JointLimit> limits;
    std::vector<Quaternion> locals;
    std::vector<Vec3> positions;
    Quaternion baseRotation;
    Vec3 baseOrigin;
    std::vector<Quaternion> worlds;
    std::vector<Vec3> origins;
    std::vector<char> turned;
    std::vector<char> hinged;
    std::vector<float> hingeDegrees;
};

// The local axis a limit names; (0, 0, 0) for a free Part.
Vec3 LimitAxisVector(JointAxis axis);

}  // namespace m3d
