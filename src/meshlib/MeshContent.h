#pragma once

#include "math/Vec3.h"
#include "records/MeshRecords.h"

#include <string>
#include <vector>

namespace m3d {

// The geometry of one mesh as the library keeps, saves and reads it.
// Invariants (kept by every producer, checked by the .mesh reader): every
// sub-mesh has indexCount == indices.size() >= 3, a winding flag of 0 or 1, a
// material number below materials.size() (at most 128 materials), and
// baseVertex + index < vertices.size() for all its indices; every material's
// textureNumber is -1 or below textureNames.size(); every float is finite.
struct MeshContent {
    std::vector<_MESH_VERTEX> vertices;
    std::vector<_MESH_MESHDATA> subMeshes;
    std::vector<_MESH_MATERIAL> materials;
    // The mesh's texture slots: file names without folder (see TextureName.h).
    std::vector<std::string> textureNames;
};

constexpr size_t kMaxMaterials = 128;  // material numbers are signed 8-bit

// Real (non-degenerate) triangles of all sub-meshes.
int CountFaces(const MeshContent& content);

// Scales positions about the origin by (sx, sy, sz) (each non-zero and
// finite). Normals follow the inverse transpose and are renormalised, except
// under a uniform positive scale, which leaves them bit for bit. When the scale
// turns space inside out (an odd number of negative factors) every winding
// flag flips so the faces keep facing outward.
void ScaleGeometry(MeshContent& content, float sx, float sy, float sz);

// The mirror image across the plane x = 0: x of positions and normals
// negated, winding flags flipped so the faces still face outward. Applying it
// twice gives back the same bits.
void MirrorGeometry(MeshContent& content);

// Axis-aligned box of all vertex positions; false (and zeros) without vertices.
bool GeometryBounds(const MeshContent& content, Vec3& low, Vec3& high);

}  // namespace m3d
