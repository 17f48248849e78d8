#include "ik/ChainState.h"

#include "view/RotationAngles.h"

#include <cmath>
#include <utility>

namespace m3d {

namespace {

constexpr float kPi = 3.14159265358979f;

HeadingPitchBank HingeAngles(JointAxis axis, float degrees)
{
    switch (axis) {
    case JointAxis::X: return {0.0f, degrees, 0.0f};
    case JointAxis::Y: return {degrees, 0.0f, 0.0f};
    case JointAxis::Z: return {0.0f, 0.0f, degrees};
    case JointAxis::Free: break;
    }
    return {};
}

// rotation's 3 x 3 in place of that of m; m's translation row and column 4 stay.
Matrix4 WithRotation(Matrix4 m, const Matrix4& rotation)
{
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) m.m[r][c] = rotation.m[r][c];
    return m;
}

}  // namespace

Vec3 LimitAxisVector(JointAxis axis)
{
    switch (axis) {
    case JointAxis::X: return {1, 0, 0};
    case JointAxis::Y: return {0, 1, 0};
    case JointAxis::Z: return {0, 0, 1};
    case JointAxis::Free: break;
    }
    return {};
}

ChainState::ChainState(const IkRig& rig, const LocalPose& pose, std::vector<int> chainParts)
    : parts(std::move(chainParts))
{
    const size_t n = parts.size();
    limits.resize(n);
    locals.resize(n);
    positions.resize(n);
    worlds.resize(n);
    origins.resize(n);
    turned.assign(n, 0);
    hinged.assign(n, 0);
    hingeDegrees.assign(n, 0.0f);
    for (size_t k = 0; k < n; ++k) {
        const TrackPose& local = pose[size_t(parts[k])];
        limits[k] = rig.limits[size_t(parts[k])];
        locals[k] = QuaternionNormalize(QuaternionRotationMatrix(local.localMatrix));
        positions[k] = local.localPosition;
    }
    if (const int parent = rig.parents[size_t(parts[0])]; parent >= 0) {
        const Matrix4 parentWorld = WorldMatrixIn(rig, pose, parent);
        baseRotation = QuaternionNormalize(QuaternionRotationMatrix(parentWorld));
        baseOrigin = parentWorld.Translation();
    }
    Compose();
}

float ChainState::Reach() const
{
    float reach = 0.0f;
    for (size_t k = 0; k + 1 < origins.size(); ++k) reach += Length(origins[k + 1] - origins[k]);
    return reach;
}

Quaternion ChainState::SetLocal(size_t k, const Quaternion& local)
{
    const Quaternion& parent = ParentWorld(k);
    const Quaternion before = QuaternionThen(locals[k], parent);
    locals[k] = QuaternionNormalize(local);
    worlds[k] = QuaternionThen(locals[k], parent);
    turned[k] = 1;
    hinged[k] = 0;
    return QuaternionThen(QuaternionInverse(before), worlds[k]);
}

void ChainState::TurnInWorld(size_t k, const Quaternion& turn)
{
    const Quaternion& parent = ParentWorld(k);
    SetLocal(k, QuaternionThen(QuaternionThen(QuaternionThen(locals[k], parent), turn), QuaternionInverse(parent)));
}

Quaternion ChainState::SetHinge(size_t k, float degrees)
{
    const Quaternion turn =
        SetLocal(k, QuaternionAxisAngle(LimitAxisVector(limits[k].axis), degrees * kDegreesToRadians));
    hinged[k] = 1;
    hingeDegrees[k] = degrees;
    return turn;
}

float ChainState::HingeDegrees(size_t k) const
{
    if (hinged[k]) return hingeDegrees[k];
    const Quaternion& q = locals[k];
    const float along = Dot({q.x, q.y, q.z}, LimitAxisVector(limits[k].axis));
    float radians = 2.0f * std::atan2(along, q.w);
    if (radians > kPi) radians -= 2.0f * kPi;
    if (radians <= -kPi) radians += 2.0f * kPi;
    return radians * kRadiansToDegrees;
}

void ChainState::Compose()
{
    for (size_t k = 0; k < parts.size(); ++k) {
        const Quaternion& parent = ParentWorld(k);
        const Vec3 parentOrigin = k == 0 ? baseOrigin : origins[k - 1];
        origins[k] = parentOrigin + RotateByQuaternion(positions[k], parent);
        worlds[k] = QuaternionThen(locals[k], parent);
    }
}

void ChainState::WriteTo(LocalPose& pose) const
{
    for (size_t k = 0; k < parts.size(); ++k) {
        if (!turned[k]) continue;
        Matrix4& local = pose[size_t(parts[k])].localMatrix;
        local = WithRotation(local, hinged[k] ? RotationFromAngles(HingeAngles(limits[k].axis, hingeDegrees[k]))
                                              : MatrixRotationQuaternion(locals[k]));
    }
}

}  // namespace m3d
