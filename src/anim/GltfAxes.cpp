#include "anim/GltfAxes.h"

#include <cmath>

namespace m3d {

Vec3 GltfNormal(Vec3 n)
{
    const double length = std::sqrt(double{n.x} * n.x + double{n.y} * n.y + double{n.z} * n.z);
    if (!(length > 1e-12) || !std::isfinite(length)) return {0.0f, 1.0f, 0.0f};
    return {static_cast<float>(n.x / length), static_cast<float>(n.y / length), static_cast<float>(-n.z / length)};
}

Quaternion GltfRotation(const Matrix4& m)
{
    // The editor's quaternion of a row-vector matrix is the usual quaternion
    // of the column-vector rotation; mirroring Z on both sides of a rotation
    // negates the axis's x and y and keeps the angle.
    const Quaternion q = QuaternionRotationMatrix(m);
    const double length = std::sqrt(double{q.x} * q.x + double{q.y} * q.y + double{q.z} * q.z + double{q.w} * q.w);
    if (!(length > 1e-12) || !std::isfinite(length)) return Quaternion{};
    return {static_cast<float>(-q.x / length), static_cast<float>(-q.y / length), static_cast<float>(q.z / length),
            static_cast<float>(q.w / length)};
}

Quaternion NearestSign(const Quaternion& q, const Quaternion& previous)
{
    const float dot = q.x * previous.x + q.y * previous.y + q.z * previous.z + q.w * previous.w;
    return dot < 0.0f ? Quaternion{-q.x, -q.y, -q.z, -q.w} : q;
}

}  // namespace m3d
