#pragma once

#include "foreign/ForeignModel.h"

#include <string>
#include <vector>

namespace m3d {

class Scene;

// Frames a second at which an imported animation is sampled unless given.
constexpr int kDefaultImportFrameRate = 30;

// What an import added, by index in the Scene, and what it could not bring.
struct ModelImport {
    std::vector<int> parts;    // the new Parts, in order
    std::vector<int> motions;  // the new Motions, in order
    // One English line for each thing left behind: the readers' notes, the
    // animated scales that were dropped, Parts whose files could not be read.
    std::vector<std::string> dropped;
};

// Which nodes of model become Parts: one that carries a mesh, and one without
// that is animated or has several children; any other node's transform is
// folded into its children. Returns, per node, the index among the Parts to
// be made (-1 for a node that is folded).
std::vector<int> ImportedPartOfNode(const ForeignModel& model);

// Adds model (in the editor's space: ForeignSpace.h) to scene as Parts and
// Motions; path is the file it came from (named in messages, where its
// textures are looked up).
// - One Part per node ImportedPartOfNode keeps, under the Part of its nearest
//   kept ancestor (top-level Parts at the root), named after the node (made
//   storable and unique). Its pivot and axes are its node's: the rotations of
//   the node's chain and the place of its origin; whatever scale the chain
//   has at rest is baked into the geometry, so every vertex stands where the
//   file puts it.
// - Each animation becomes a Motion named after it (storable, unique, at most
//   16 bytes), every Part sampled at every frame of framesPerSecond over the
//   animation's time by the file's rules, then thinned by the removal of
//   redundant keys (kRedundantKeyTolerance). Animated scale is not kept: the
//   rest scale stays, and a line in dropped says which nodes lost it.
// - A model without animations added to a scene without Motions brings one,
//   named after the file, holding the rest pose (a project needs a Motion).
// - Existing Motions get a frame-0 key of each new Part's rest pose; the new
//   Motions a frame-0 key of each existing Part's current pose.
// The Parts' world transforms are composed; the model is left at its rest pose.
ModelImport ImportModel(Scene& scene, const ForeignModel& model, const std::string& path, int framesPerSecond);

}  // namespace m3d
