#pragma once

#include "io/Outcome.h"

#include <string>
#include <vector>

namespace m3d {

class Scene;

// The base names a save gives the Parts' records and .mesh files.
struct MeshFileNames {
    // One a Part, in Part order: its own baseName, or the new one it is to take.
    std::vector<std::string> baseNames;
    // The Parts given a new name, in Part order.
    std::vector<int> renamed;
};

// Names the files of a save into directory. Parts whose baseNames are equal
// ignoring ASCII case (one file where the file system ignores case) share
// their file while their meshes would write the same bytes: the same model
// added twice saves one .mesh. Where the meshes differ, each mesh that is
// the file of one of its Parts' names now keeps its Parts' names (unless
// another mesh kept one of them), else the first Part's mesh does; every
// other mesh takes a new name no Part has ("%s%05d"), shared by the Parts
// that have it. Parts without a mesh keep their names. Fails, naming the
// Part, only when no such name is left.
[[nodiscard]] Outcome NameMeshFiles(const Scene& scene, const std::string& directory, MeshFileNames& names);

}  // namespace m3d
