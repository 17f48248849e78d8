#pragma once

#include "foreign/ForeignModel.h"
#include "foreign/readers/AssimpFbxHelpers.h"
#include "io/Outcome.h"

#include <string>
#include <vector>

struct aiScene;

namespace m3d {

// The scene's node animations as channels of the model's nodes, nodes[i]
// being model node i. Times are ticks / ticks per second (25 when the file
// gives 0, assimp's rule). assimp 5.2 keys carry no interpolation of their
// own: every channel is Linear.
//
// A channel moves the first node of its name, depth first (a note when the
// name repeats). A kept node alone in its chain with nothing above it keeps
// the file's keys, path by path; a path whose keys all equal the node's
// resting value is left out. Otherwise the chain is folded: see the .cpp.
// Keys out of order are sorted and keys at one time collapse to the last of
// them, with a note. Mesh and morph animation is noted and left out.
//
// Fails, naming path, on a missing array, a time or value that is not finite,
// a zero rotation or negative ticks per second.
Outcome ReadAssimpAnimations(const aiScene& scene, const std::vector<FoldedNode>& nodes, const std::string& path,
                             ForeignModel& model);

}  // namespace m3d
