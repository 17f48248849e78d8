#pragma once

#include "foreign/ForeignModel.h"
#include "foreign/readers/AssimpMaterials.h"
#include "io/Outcome.h"

#include <string>
#include <vector>

struct aiScene;

namespace m3d {

// The triangles of the scene's meshes listed (one node's) as one mesh, each
// triangle keeping its own material; points and lines are left out (the
// reader notes them once per scene). Texture coordinates are the first set,
// v turned to grow downward; a mesh without normals keeps them zero.
// Fails, naming path, on a mesh index, vertex index or material index out of
// range, a missing array, a number that is not finite or more vertices than
// 32-bit indices reach.
Outcome ConvertAssimpMeshes(const aiScene& scene, const std::vector<unsigned>& meshes, const AssimpMaterials& materials,
                            const std::string& path, ForeignMesh& out);

}  // namespace m3d
