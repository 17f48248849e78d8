#pragma once

#include "io/Outcome.h"
#include "meshlib/LoadedModel.h"
#include "meshlib/MeshContent.h"

#include <string>
#include <vector>

namespace m3d {

// Checks a model a file reader produced and turns it into mesh content:
// materials become _MESH_MATERIALs, each distinct texture name one texture
// slot (texturePaths gets the path the model gave for each slot, to load the
// image from), and the triangles strips (Stripifier.h).
//
// Refused, with the message "<fileName>: <place>: <reason>" and out untouched:
// an index list that is not whole triangles, a material list per triangle of
// another length, a vertex or material number out of range, more than 128
// materials, a float that is not finite. A texture path without a usable file
// name leaves its material untextured.
Outcome BuildMeshContent(const LoadedModel& model, const std::string& fileName, MeshContent& out,
                         std::vector<std::string>& texturePaths);

}  // namespace m3d
