#pragma once

#include "math/Vec3.h"

namespace m3d {

// 4 x 4 matrix of 32-bit floats, row-major, row-vector convention: a point is
// multiplied on the left (p' = p M), rows 1-3 are the rotated axes and row 4
// the translation. A * B applies A first. m[r][c] is element _(r+1)(c+1).
struct Matrix4 {
    float m[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};

    static Matrix4 Identity() { return Matrix4{}; }
    // Builds a matrix from 16 values in row order (row 1 first).
    static Matrix4 FromArray(const float values[16]);
    // Copies the 16 values in row order into out.
    void ToArray(float out[16]) const;
    // The translation row (_41, _42, _43).
    Vec3 Translation() const { return {m[3][0], m[3][1], m[3][2]}; }
    void SetTranslation(Vec3 t)
    {
        m[3][0] = t.x;
        m[3][1] = t.y;
        m[3][2] = t.z;
    }
};

bool operator==(const Matrix4& a, const Matrix4& b);
// Plain float product, element (r, c) = sum over k of a(r, k) b(k, c).
Matrix4 operator*(const Matrix4& a, const Matrix4& b);

// p M with w = 1, without division by w.
Vec3 TransformPoint(Vec3 p, const Matrix4& m);
// v M with w = 0 (rotation and scale only).
Vec3 TransformNormal(Vec3 v, const Matrix4& m);
// p M divided by the resulting w (a projected point); w = 0 leaves the undivided values.
Vec3 TransformCoord(Vec3 p, const Matrix4& m);

// General inverse by cofactors. A singular matrix (|det| below the smallest
// normal float) returns false and leaves out untouched.
bool MatrixInverse(const Matrix4& m, Matrix4& out);
Matrix4 MatrixTranspose(const Matrix4& m);
Matrix4 MatrixTranslation(float x, float y, float z);
Matrix4 MatrixScaling(float x, float y, float z);

// Left-handed orthographic projection onto depth 0 ... 1.
Matrix4 MatrixOrthoLH(float width, float height, float zNear, float zFar);
// Left-handed perspective projection; fovY is the vertical field of view in radians.
Matrix4 MatrixPerspectiveFovLH(float fovY, float aspect, float zNear, float zFar);
// Left-handed view matrix looking from eye at at; up is normalised against the view axis.
Matrix4 MatrixLookAtLH(Vec3 eye, Vec3 at, Vec3 up);

// Rotation that banks by roll about Z, then pitches about X, then turns by yaw about Y (radians).
Matrix4 MatrixRotationYawPitchRoll(float yaw, float pitch, float roll);
Matrix4 MatrixRotationX(float angle);
Matrix4 MatrixRotationY(float angle);
Matrix4 MatrixRotationZ(float angle);
// Rotation by angle about the axis (normalised here); a positive angle turns
// clockwise when looking along the axis towards the origin, as the other
// rotations of this left-handed world do.
Matrix4 MatrixRotationAxis(Vec3 axis, float angle);
// The editor's own axis rotation (mouse rotation, camera orbit): the rotation
// by angle about a unit axis in the opposite sense, equal to
// MatrixRotationAxis(axis, -angle).
Matrix4 AxisRotation(Vec3 unitAxis, float angle);

}  // namespace m3d
