#pragma once

#include "anim/XFileContent.h"
#include "anim/XFileText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace m3d {

// One face of the exported face list: corner indices (base vertex added) in the
// order they are written, and the material of its sub-mesh.
struct XFace {
    uint32_t corners[3];
    int material;
};

// The faces of all strips of mesh, sub-mesh by sub-mesh. The winding flag
// starts at the sub-mesh's flag and flips after every strip triangle; flag 0
// keeps i0, i1, i2 and flag 1 writes i2, i1, i0. Degenerate triangles (two
// equal indices) join strip runs: they are left out but still flip the flag,
// so the count equals the mesh library's face count.
std::vector<XFace> XFaceList(const XMeshData& mesh);

// Writes "Mesh <name> { ... }" with its vertices, faces, material list,
// normals and texture coordinates. A mesh without vertices or faces is not
// written at all: an empty Mesh block is not valid DirectX text.
void WriteXMesh(XFileText& out, const std::string& name, const XMeshData& mesh);

}  // namespace m3d
