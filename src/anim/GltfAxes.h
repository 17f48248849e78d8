#pragma once

#include "math/Matrix4.h"
#include "math/Quaternion.h"

namespace m3d {

// glTF is right-handed with +Y up and looks at a model from +Z; the editor is
// left-handed and its Front view looks along +Z with +X to the right. Mirroring
// Z maps one onto the other so that a glTF viewer's front view shows what the
// Front view shows (a Part on the model's left stays on its left). The mirror
// turns every rotation into a proper rotation again, so no node gets a
// negative determinant; only the winding of faces has to be reversed (see
// GltfTriangle).

// A point or translation: (x, y, -z).
inline Vec3 GltfPoint(Vec3 p) { return {p.x, p.y, -p.z}; }

// A unit normal, mirrored; a normal without direction (zero, or not finite)
// becomes +Y, as a glTF normal must have unit length.
Vec3 GltfNormal(Vec3 n);

// The unit quaternion (x, y, z, w) of the rotation held in the upper 3 x 3 of
// m (row-vector convention, as the editor keeps it), mirrored and normalised;
// the identity for a matrix that holds no rotation.
Quaternion GltfRotation(const Matrix4& m);

// q or -q (the same rotation), whichever lies on the same side as previous,
// so that interpolating from previous to the result takes the shorter arc, as
// the editor's own interpolation between two keys does.
Quaternion NearestSign(const Quaternion& q, const Quaternion& previous);

}  // namespace m3d
