#pragma once

#include "io/Outcome.h"

#include <string>
#include <utility>
#include <vector>

namespace m3d {

class FileSetWriter;
class Scene;
class UserPrompt;
struct MeshFileNames;

// Which .mesh files a save writes, decided before any is written.
struct MeshOutputPlan {
    std::vector<std::pair<int, std::string>> files;  // Part index and file, in Part order
    std::vector<std::pair<int, std::string>> kept;   // answered "いいえ": the file stays as it is
    bool cancelled = false;                          // answered "キャンセル": nothing is to be written
};

// Plans the meshes as directory/NAME.mesh, NAME being each Part's name in
// names (NameMeshFiles), in Part order; of Parts that share a name, the
// first writes the file for all. A file that exists is asked about
// ("%sは存在しています。上書きしますか？" with its path) unless "すべてはい"
// was answered earlier in this run. Parts without a mesh are left out.
MeshOutputPlan PlanMeshFiles(const Scene& scene, const MeshFileNames& names, const std::string& directory,
                             UserPrompt& prompt);

// Writes the planned files into set, to be put in place with the rest of the
// save; read-only ones only when replaceReadOnly is set. Stops at the first
// file that cannot be written, with a failure naming it.
Outcome StageMeshFiles(const Scene& scene, const MeshOutputPlan& plan, FileSetWriter& set, bool replaceReadOnly);

// The files of plan.kept whose contents differ from what their Part would
// write now (or that cannot be read): after such a save the project on disk
// is not the model on screen.
std::vector<std::string> KeptMeshFilesThatDiffer(const Scene& scene, const MeshOutputPlan& plan);

}  // namespace m3d
