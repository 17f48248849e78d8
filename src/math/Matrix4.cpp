#include "math/Matrix4.h"

#include <cfloat>
#include <cmath>

namespace m3d {

Matrix4 Matrix4::FromArray(const float values[16])
{
    Matrix4 r;
    for (int i = 0; i < 16; ++i) r.m[i / 4][i % 4] = values[i];
    return r;
}

void Matrix4::ToArray(float out[16]) const
{
    for (int i = 0; i < 16; ++i) out[i] = m[i / 4][i % 4];
}

bool operator==(const Matrix4& a, const Matrix4& b)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (a.m[r][c] != b.m[r][c]) return false;
    return true;
}

Matrix4 operator*(const Matrix4& a, const Matrix4& b)
{
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j] + a.m[i][3] * b.m[3][j];
    return r;
}

Vec3 TransformPoint(Vec3 p, const Matrix4& m)
{
    return {p.x * m.m[0][0] + p.y * m.m[1][0] + p.z * m.m[2][0] + m.m[3][0],
            p.x * m.m[0][1] + p.y * m.m[1][1] + p.z * m.m[2][1] + m.m[3][1],
            p.x * m.m[0][2] + p.y * m.m[1][2] + p.z * m.m[2][2] + m.m[3][2]};
}

Vec3 TransformNormal(Vec3 v, const Matrix4& m)
{
    return {v.x * m.m[0][0] + v.y * m.m[1][0] + v.z * m.m[2][0], v.x * m.m[0][1] + v.y * m.m[1][1] + v.z * m.m[2][1],
            v.x * m.m[0][2] + v.y * m.m[1][2] + v.z * m.m[2][2]};
}

Vec3 TransformCoord(Vec3 p, const Matrix4& m)
{
    const Vec3 r = TransformPoint(p, m);
    const float w = p.x * m.m[0][3] + p.y * m.m[1][3] + p.z * m.m[2][3] + m.m[3][3];
    if (w == 0.0f) return r;
    return r * (1.0f / w);
}

bool MatrixInverse(const Matrix4& in, Matrix4& out)
{
    // Cofactor expansion through the 2 x 2 minors of the upper and lower row pairs.
    const float(*a)[4] = in.m;
    const float s0 = a[0][0] * a[1][1] - a[1][0] * a[0][1];
    const float s1 = a[0][0] * a[1][2] - a[1][0] * a[0][2];
    const float s2 = a[0][0] * a[1][3] - a[1][0] * a[0][3];
    const float s3 = a[0][1] * a[1][2] - a[1][1] * a[0][2];
    const float s4 = a[0][1] * a[1][3] - a[1][1] * a[0][3];
    const float s5 = a[0][2] * a[1][3] - a[1][2] * a[0][3];
    const float c5 = a[2][2] * a[3][3] - a[3][2] * a[2][3];
    const float c4 = a[2][1] * a[3][3] - a[3][1] * a[2][3];
    const float c3 = a[2][1] * a[3][2] - a[3][1] * a[2][2];
    const float c2 = a[2][0] * a[3][3] - a[3][0] * a[2][3];
    const float c1 = a[2][0] * a[3][2] - a[3][0] * a[2][2];
    const float c0 = a[2][0] * a[3][1] - a[3][0] * a[2][1];
    const float det = s0 * c5 - s1 * c4 + s2 * c3 + s3 * c2 - s4 * c1 + s5 * c0;
    if (!(std::fabs(det) >= FLT_MIN) || !std::isfinite(det)) return false;
    const float inv = 1.0f / det;
    Matrix4 r;
    r.m[0][0] = (a[1][1] * c5 - a[1][2] * c4 + a[1][3] * c3) * inv;
    r.m[0][1] = (-a[0][1] * c5 + a[0][2] * c4 - a[0][3] * c3) * inv;
    r.m[0][2] = (a[3][1] * s5 - a[3][2] * s4 + a[3][3] * s3) * inv;
    r.m[0][3] = (-a[2][1] * s5 + a[2][2] * s4 - a[2][3] * s3) * inv;
    r.m[1][0] = (-a[1][0] * c5 + a[1][2] * c2 - a[1][3] * c1) * inv;
    r.m[1][1] = (a[0][0] * c5 - a[0][2] * c2 + a[0][3] * c1) * inv;
    r.m[1][2] = (-a[3][0] * s5 + a[3][2] * s2 - a[3][3] * s1) * inv;
    r.m[1][3] = (a[2][0] * s5 - a[2][2] * s2 + a[2][3] * s1) * inv;
    r.m[2][0] = (a[1][0] * c4 - a[1][1] * c2 + a[1][3] * c0) * inv;
    r.m[2][1] = (-a[0][0] * c4 + a[0][1] * c2 - a[0][3] * c0) * inv;
    r.m[2][2] = (a[3][0] * s4 - a[3][1] * s2 + a[3][3] * s0) * inv;
    r.m[2][3] = (-a[2][0] * s4 + a[2][1] * s2 - a[2][3] * s0) * inv;
    r.m[3][0] = (-a[1][0] * c3 + a[1][1] * c1 - a[1][2] * c0) * inv;
    r.m[3][1] = (a[0][0] * c3 - a[0][1] * c1 + a[0][2] * c0) * inv;
    r.m[3][2] = (-a[3][0] * s3 + a[3][1] * s1 - a[3][2] * s0) * inv;
    r.m[3][3] = (a[2][0] * s3 - a[2][1] * s1 + a[2][2] * s0) * inv;
    out = r;
    return true;
}

Matrix4 MatrixTranspose(const Matrix4& m)
{
    Matrix4 r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) r.m[i][j] = m.m[j][i];
    return r;
}

Matrix4 MatrixTranslation(float x, float y, float z)
{
    Matrix4 r;
    r.SetTranslation({x, y, z});
    return r;
}

Matrix4 MatrixScaling(float x, float y, float z)
{
    Matrix4 r;
    r.m[0][0] = x;
    r.m[1][1] = y;
    r.m[2][2] = z;
    return r;
}

Matrix4 MatrixOrthoLH(float width, float height, float zNear, float zFar)
{
    Matrix4 r;
    r.m[0][0] = 2.0f / width;
    r.m[1][1] = 2.0f / height;
    r.m[2][2] = 1.0f / (zFar - zNear);
    r.m[3][2] = zNear / (zNear - zFar);
    return r;
}

Matrix4 MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar)
{
    const float yScale = 1.0f / std::tan(fovY / 2.0f);
    Matrix4 r;
    r.m[0][0] = yScale / aspect;
    r.m[1][1] = yScale;
    r.m[2][2] = zFar / (zFar - zNear);
    r.m[2][3] = 1.0f;
    r.m[3][2] = -zNear * zFar / (zFar - zNear);
    r.m[3][3] = 0.0f;
    return r;
}

Matrix4 MatrixLookAtLH(Vec3 eye, Vec3 at, Vec3 up)
{
    const Vec3 zAxis = Normalize(at - eye);
    const Vec3 xAxis = Normalize(Cross(up, zAxis));
    const Vec3 yAxis = Normalize(Cross(zAxis, xAxis));
    Matrix4 r;
    r.m[0][0] = xAxis.x;
    r.m[0][1] = yAxis.x;
    r.m[0][2] = zAxis.x;
    r.m[1][0] = xAxis.y;
    r.m[1][1] = yAxis.y;
    r.m[1][2] = zAxis.y;
    r.m[2][0] = xAxis.z;
    r.m[2][1] = yAxis.z;
    r.m[2][2] = zAxis.z;
    r.m[3][0] = -Dot(xAxis, eye);
    r.m[3][1] = -Dot(yAxis, eye);
    r.m[3][2] = -Dot(zAxis, eye);
    return r;
}

Matrix4 MatrixRotationX(float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix4 r;
    r.m[1][1] = c;
    r.m[1][2] = s;
    r.m[2][1] = -s;
    r.m[2][2] = c;
    return r;
}

Matrix4 MatrixRotationY(float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix4 r;
    r.m[0][0] = c;
    r.m[0][2] = -s;
    r.m[2][0] = s;
    r.m[2][2] = c;
    return r;
}

Matrix4 MatrixRotationZ(float angle)
{
    const float c = std::cos(angle), s = std::sin(angle);
    Matrix4 r;
    r.m[0][0] = c;
    r.m[0][1] = s;
    r.m[1][0] = -s;
    r.m[1][1] = c;
    return r;
}

Matrix4 MatrixRotationYawPitchRoll(float yaw, float pitch, float roll)
{
    return MatrixRotationZ(roll) * MatrixRotationX(pitch) * MatrixRotationY(yaw);
}

Matrix4 MatrixRotationAxis(Vec3 axis, float angle)
{
    const Vec3 a = Normalize(axis);
    const float c = std::cos(angle), s = std::sin(angle), t = 1.0f - c;
    Matrix4 r;
    r.m[0][0] = t * a.x * a.x + c;
    r.m[0][1] = t * a.x * a.y + s * a.z;
    r.m[0][2] = t * a.x * a.z - s * a.y;
    r.m[1][0] = t * a.x * a.y - s * a.z;
    r.m[1][1] = t * a.y * a.y + c;
    r.m[1][2] = t * a.y * a.z + s * a.x;
    r.m[2][0] = t * a.x * a.z + s * a.y;
    r.m[2][1] = t * a.y * a.z - s * a.x;
    r.m[2][2] = t * a.z * a.z + c;
    return r;
}

Matrix4 AxisRotation(Vec3 unitAxis, float angle) { return MatrixRotationAxis(unitAxis, -angle); }

}  // namespace m3d
