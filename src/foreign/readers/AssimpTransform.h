#pragma once

#include <assimp/types.h>  // the matrix, quaternion and vector with their inline code

namespace m3d {

// A transform as the model's nodes hold it: a point p goes to T + R(S p).
struct Trs {
    aiVector3D translation;
    aiQuaternion rotation;  // unit
    aiVector3D scale{1.0f, 1.0f, 1.0f};
};

// m (assimp's column-vector matrix) as translation, rotation and scale. A
// mirror comes out as negative scale; a matrix that flattens an axis to
// nothing keeps the identity rotation. Shear cannot be held and is lost:
// HoldsTransform tells.
Trs DecomposeTrs(const aiMatrix4x4& m);
aiMatrix4x4 ComposeTrs(const Trs& trs);

// Whether trs gives m back to within float rounding (relative to m's size).
bool HoldsTransform(const Trs& trs, const aiMatrix4x4& m);

bool IsFinite(const aiMatrix4x4& m);

}  // namespace m3d
