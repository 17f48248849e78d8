#pragma once

#include <assimp/types.h>

#include <string>
#include <vector>

struct aiScene;

namespace m3d {

// The change an FBX file's global settings ask for, from its own axes and
// unit into right-handed +Y up: a signed permutation of the axes times the
// unit scale, to be put above the top-level nodes (not into the meshes, so
// that pivots and animation stay the file's own). assimp reads these
// settings but applies none of them.
//
// The unit: UnitScaleFactor is centimetres per unit and FBX's own default is
// the centimetre (1), so lengths are scaled by UnitScaleFactor / 1 and every
// FBX comes out in centimetres: a file saved at 1 unit = 1 cm stands as it
// is, one saved in metres (100) grows a hundredfold. Nothing turns them into
// metres; choosing the model's size is the importer's business.
//
// Settings that are missing take FBX's defaults (Y up, Z front, X right, 1
// cm); settings that name no usable axis set or a unit that is not a positive
// number are ignored, with a line in dropped.
aiMatrix4x4 FbxAxesToYUp(const aiScene& scene, std::vector<std::string>& dropped);

}  // namespace m3d
