#pragma once

#include "math/Matrix4.h"

namespace m3d {

// Rotation quaternion (x, y, z, w); the identity is (0, 0, 0, 1).
struct Quaternion {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
    float w = 1.0f;
};

// Unit quaternion of the rotation held in the upper 3 x 3 of m (row-vector
// convention); the translation row and column 4 are ignored.
Quaternion QuaternionRotationMatrix(const Matrix4& m);

// Spherical interpolation from q0 (t = 0) to q1 (t = 1) along the shorter arc:
// q1 is negated when the dot product is negative. When 1 - |cos| is at most
// 1.1920929e-7 the two are blended linearly with weights 1 - t and t.
Quaternion QuaternionSlerp(const Quaternion& q0, const Quaternion& q1, float t);

// The arc QuaternionSlerp follows from q0 to q1, worked out once for many t:
// SlerpAlong(SlerpArcOf(q0, q1), t) is QuaternionSlerp(q0, q1, t) bit for bit.
struct SlerpArc {
    Quaternion q0, q1;
    float sign = 1.0f;   // -1 when q1 is taken negated (the shorter arc)
    float theta = 0.0f;  // the angle between them
    float sinTheta = 0.0f;
    bool linear = true;  // so close that they blend linearly
};
SlerpArc SlerpArcOf(const Quaternion& q0, const Quaternion& q1);
Quaternion SlerpAlong(const SlerpArc& arc, float t);

// Rotation matrix of q: row 4 = (0, 0, 0, 1), column 4 of rows 1-3 = 0.
// q is used as given (not normalised).
Matrix4 MatrixRotationQuaternion(const Quaternion& q);

// Rotation algebra in the row-vector convention of the matrices above, for
// unit quaternions.

// first, then second: its matrix is MatrixRotationQuaternion(first) *
// MatrixRotationQuaternion(second).
Quaternion QuaternionThen(const Quaternion& first, const Quaternion& second);
// The rotation that undoes q (its conjugate).
Quaternion QuaternionInverse(const Quaternion& q);
// q scaled to length 1; the identity for a zero or non-finite q.
Quaternion QuaternionNormalize(const Quaternion& q);
// v turned by q: TransformNormal(v, MatrixRotationQuaternion(q)).
Vec3 RotateByQuaternion(Vec3 v, const Quaternion& q);
// The rotation by angle (radians) about unit axis that MatrixRotationAxis(axis, angle) makes.
Quaternion QuaternionAxisAngle(Vec3 unitAxis, float angle);
// The smallest rotation turning the direction of from onto that of to (a
// half turn about some axis across them when they are opposite); the
// identity when either is zero.
Quaternion QuaternionBetween(Vec3 from, Vec3 to);
// The angle in radians (0 ... pi) q turns by.
float QuaternionAngle(const Quaternion& q);

}  // namespace m3d
