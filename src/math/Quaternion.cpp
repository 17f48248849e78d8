#include "math/Quaternion.h"

#include <cmath>

namespace m3d {

Quaternion QuaternionRotationMatrix(const Matrix4& mat)
{
    const float(*m)[4] = mat.m;
    Quaternion q;
    const float trace = m[0][0] + m[1][1] + m[2][2] + 1.0f;
    if (trace > 1.0f) {
        const float s = 2.0f * std::sqrt(trace);
        q.x = (m[1][2] - m[2][1]) / s;
        q.y = (m[2][0] - m[0][2]) / s;
        q.z = (m[0][1] - m[1][0]) / s;
        q.w = 0.25f * s;
        return q;
    }
    // Work from the largest diagonal element to keep the square root away from zero.
    int largest = 0;
    for (int i = 1; i < 3; ++i)
        if (m[i][i] > m[largest][largest]) largest = i;
    if (largest == 0) {
        const float s = 2.0f * std::sqrt(1.0f + m[0][0] - m[1][1] - m[2][2]);
        q.x = 0.25f * s;
        q.y = (m[0][1] + m[1][0]) / s;
        q.z = (m[0][2] + m[2][0]) / s;
        q.w = (m[1][2] - m[2][1]) / s;
    } else if (largest == 1) {
        const float s = 2.0f * std::sqrt(1.0f + m[1][1] - m[0][0] - m[2][2]);
        q.x = (m[0][1] + m[1][0]) / s;
        q.y = 0.25f * s;
        q.z = (m[1][2] + m[2][1]) / s;
        q.w = (m[2][0] - m[0][2]) / s;
    } else {
        const float s = 2.0f * std::sqrt(1.0f + m[2][2] - m[0][0] - m[1][1]);
        q.x = (m[0][2] + m[2][0]) / s;
        q.y = (m[1][2] + m[2][1]) / s;
        q.z = 0.25f * s;
        q.w = (m[0][1] - m[1][0]) / s;
    }
    return q;
}

Quaternion QuaternionSlerp(const Quaternion& q0, const Quaternion& q1, float t)
{
    return SlerpAlong(SlerpArcOf(q0, q1), t);
}

SlerpArc SlerpArcOf(const Quaternion& q0, const Quaternion& q1)
{
    SlerpArc arc;
    arc.q0 = q0;
    arc.q1 = q1;
    float cosine = q0.x * q1.x + q0.y * q1.y + q0.z * q1.z + q0.w * q1.w;
    if (cosine < 0.0f) {
        arc.sign = -1.0f;
        cosine = -cosine;
    }
    arc.linear = !(1.0f - cosine > 1.1920929e-7f);
    if (!arc.linear) {
        arc.theta = std::acos(cosine > 1.0f ? 1.0f : cosine);
        arc.sinTheta = std::sin(arc.theta);
    }
    return arc;
}

Quaternion SlerpAlong(const SlerpArc& arc, float t)
{
    float w0 = 1.0f - t;
    float w1 = t;
    if (!arc.linear) {
        w0 = std::sin(arc.theta * w0) / arc.sinTheta;
        w1 = std::sin(arc.theta * w1) / arc.sinTheta;
    }
    w1 *= arc.sign;
    const Quaternion& q0 = arc.q0;
    const Quaternion& q1 = arc.q1;
    return {w0 * q0.x + w1 * q1.x, w0 * q0.y + w1 * q1.y, w0 * q0.z + w1 * q1.z, w0 * q0.w + w1 * q1.w};
}

Matrix4 MatrixRotationQuaternion(const Quaternion& q)
{
    Matrix4 r;
    r.m[0][0] = 1.0f - 2.0f * (q.y * q.y + q.z * q.z);
    r.m[0][1] = 2.0f * (q.x * q.y + q.z * q.w);
    r.m[0][2] = 2.0f * (q.x * q.z - q.y * q.w);
    r.m[1][0] = 2.0f * (q.x * q.y - q.z * q.w);
    r.m[1][1] = 1.0f - 2.0f * (q.x * q.x + q.z * q.z);
    r.m[1][2] = 2.0f * (q.y * q.z + q.x * q.w);
    r.m[2][0] = 2.0f * (q.x * q.z + q.y * q.w);
    r.m[2][1] = 2.0f * (q.y * q.z - q.x * q.w);
    r.m[2][2] = 1.0f - 2.0f * (q.x * q.x + q.y * q.y);
    return r;
}

Quaternion QuaternionThen(const Quaternion& first, const Quaternion& second)
{
    // The Hamilton product second * first: matrices compose left to right,
    // quaternions right to left.
    const Quaternion& a = second;
    const Quaternion& b = first;
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

Quaternion QuaternionInverse(const Quaternion& q) { return {-q.x, -q.y, -q.z, q.w}; }

Quaternion QuaternionNormalize(const Quaternion& q)
{
    const float length = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    if (!(length > 0.0f) || !std::isfinite(length)) return {};
    return {q.x / length, q.y / length, q.z / length, q.w / length};
}

Vec3 RotateByQuaternion(Vec3 v, const Quaternion& q)
{
    // v + 2w (u x v) + 2 u x (u x v) with u the vector part.
    const Vec3 u{q.x, q.y, q.z};
    const Vec3 t = Cross(u, v) * 2.0f;
    return v + t * q.w + Cross(u, t);
}

Quaternion QuaternionAxisAngle(Vec3 unitAxis, float angle)
{
    const float s = std::sin(angle * 0.5f);
    return {unitAxis.x * s, unitAxis.y * s, unitAxis.z * s, std::cos(angle * 0.5f)};
}

Quaternion QuaternionBetween(Vec3 from, Vec3 to)
{
    const Vec3 a = Normalize(from), b = Normalize(to);
    if (Dot(a, a) == 0.0f || Dot(b, b) == 0.0f) return {};
    const float cosine = Dot(a, b);
    if (cosine < -0.999999f) {
        // Opposite: any axis across them; the world axis least along a.
        const Vec3 other =
            std::fabs(a.x) < 0.6f ? Vec3{1, 0, 0} : (std::fabs(a.y) < 0.6f ? Vec3{0, 1, 0} : Vec3{0, 0, 1});
        const Vec3 axis = Normalize(Cross(a, other));
        return {axis.x, axis.y, axis.z, 0.0f};
    }
    const Vec3 axis = Cross(a, b);
    return QuaternionNormalize({axis.x, axis.y, axis.z, 1.0f + cosine});
}

float QuaternionAngle(const Quaternion& q)
{
    const float vector = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z);
    return 2.0f * std::atan2(vector, std::fabs(q.w));
}

}  // namespace m3d
