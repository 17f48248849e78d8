#pragma once

#include "io/Outcome.h"

#include <string>

namespace m3d {

class CMesh;

// Loads any file a Part can be made of into mesh (registered with its mesh
// manager): our .mesh and .mqo files by their content, other programs'
// formats (foreign/ForeignFormats.h) through the reader process with their
// whole content merged into one mesh at its rest pose (every mesh where its
// nodes put it, each face keeping its material). On failure the mesh is
// empty and the message names the file and the reason.
Outcome LoadObjectFile(CMesh& mesh, const std::string& path);

}  // namespace m3d
