#pragma once

#include "scene/ProjectFile.h"
#include "scene/RecoverySnapshot.h"

#include <string>

namespace m3d {

class Scene;

// Replaces the scene with the document snapshot holds (read from path, which
// messages name), as LoadProject replaces it with a project: the project,
// its side file and every mesh are checked by their own readers, and each
// Part's textures are read from the files they were read from (the Part's
// folder when those are gone), or from the snapshot for those that came
// inside a model. A complete
// restore is titled with the snapshot's original path ("" leaves it
// untitled). A project that cannot be read, or Parts that do not match it,
// leave the scene as it was.
[[nodiscard]] ProjectLoad RestoreSnapshot(Scene& scene, const DocumentSnapshot& snapshot, const std::string& path);

}  // namespace m3d
