#pragma once

#include "math/Matrix4.h"

namespace m3d {

// How a Part's local pose and its world transform relate. Every edit of a
// pose (hierarchy update, mouse drags, the transform panel's Sets, pose
// operations, add-mirrored) composes through these pure functions.

// The world matrix of a Part: its rotation localMatrix times the parent's
// world matrix, with the translation row replaced by localPosition carried
// through the parent's world matrix (no division by w). parentWorld null: a
// top-level Part, whose world is localMatrix placed at localPosition.
Matrix4 WorldFromLocal(const Matrix4& localMatrix, Vec3 localPosition, const Matrix4* parentWorld);

// The local matrix that gives world under parentWorld: world times the
// parent's inverse (identity for a singular parent), translation row
// included; world itself for a top-level Part (parentWorld null).
Matrix4 LocalFromWorld(const Matrix4& world, const Matrix4* parentWorld);

// The inverse of a world matrix; identity for a singular one (a world matrix
// of rotations and translations always has an inverse).
Matrix4 InverseOrIdentity(const Matrix4& m);

// The reflection X -> -X on both sides of a rotation: elements (1,2), (1,3),
// (2,1) and (3,1) negated; the translation row is kept.
Matrix4 MirrorRotation(const Matrix4& m);
// (x, y, z) -> (-x, y, z).
inline Vec3 MirrorPosition(Vec3 p) { return {-p.x, p.y, p.z}; }

}  // namespace m3d
