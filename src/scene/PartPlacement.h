#pragma once

#include "scene/PoseComposition.h"

namespace m3d {

class Scene;

// Small steps shared by every edit of a Part's pose: where a Part's parent
// is, how its mesh gets its world transform. Indices outside the Scene's
// Parts do nothing.

// World matrix of Part index's parent; identity for a top-level Part.
Matrix4 ParentWorldOf(const Scene& scene, int index);
// Hands Part index's mesh the world transform of its local fields (WorldFromLocal).
void PlaceFromLocal(Scene& scene, int index);
// Sets the mesh's matrix and position from a complete world matrix.
void SetMeshWorld(Scene& scene, int index, const Matrix4& world);
// Part index takes worldRotation as its world matrix (the translation row
// is ignored) and keeps its position; its localMatrix follows from the
// parent's world (LocalFromWorld). The children are not recomposed.
void TurnInPlace(Scene& scene, int index, const Matrix4& worldRotation);
// Recomposes the children of Part index (and their descendants) after it moved.
void UpdateChildren(Scene& scene, int index);

}  // namespace m3d
