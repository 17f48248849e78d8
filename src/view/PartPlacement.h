#pragma once

#include "math/Matrix4.h"

class Scene;

// Small steps shared by every edit of a Part's pose (transform panel, mouse
// drags): where a Part's parent is, how its mesh gets its world transform,
// and the left/right reflection of a pose. Indices outside the Scene's Parts
// do nothing.

// World matrix of Part index's parent; identity for a top-level Part.
Matrix4 ParentWorldOf(const Scene& scene, int index);
// The inverse of a world matrix; identity for a singular one (a world matrix
// of rotations and translations always has an inverse).
Matrix4 InverseOrIdentity(const Matrix4& m);
// Hands Part index's mesh the world transform of its local fields: a
// top-level Part's localMatrix at localPosition; a child's localMatrix times
// its parent's world, at localPosition carried through the parent's world.
void PlaceFromLocal(Scene& scene, int index);
// Sets the mesh's matrix and position from a complete world matrix.
void SetMeshWorld(Scene& scene, int index, const Matrix4& world);
// Recomposes the children of Part index (and their descendants) after it moved.
void UpdateChildren(Scene& scene, int index);

// The reflection X -> -X on both sides of a rotation: elements (1,2), (1,3),
// (2,1) and (3,1) negated; the translation row is kept.
Matrix4 MirrorRotation(const Matrix4& m);
// (x, y, z) -> (-x, y, z).
inline Vec3 MirrorPosition(Vec3 p) { return {-p.x, p.y, p.z}; }
