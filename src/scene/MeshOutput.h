#pragma once

#include "io/Outcome.h"

#include <string>
#include <utility>
#include <vector>

namespace m3d {

class FileSetWriter;
class Scene;
class UserPrompt;

// Which .mesh files a save writes, decided before any is written.
struct MeshOutputPlan {
    std::vector<std::pair<int, std::string>> files;  // Part index and file, in Part order
    int skipped = 0;                                 // answered "いいえ"
    bool cancelled = false;                          // answered "キャンセル": later Parts are not written
};

// Plans every Part's mesh as directory/baseName.mesh, in Part order. A file
// that exists (or that an earlier Part of this plan writes) is asked about
// ("%sは存在しています。上書きしますか？" with its path) unless "すべてはい"
// was answered earlier in this run. Parts without a mesh are left out.
MeshOutputPlan PlanMeshFiles(const Scene& scene, const std::string& directory, UserPrompt& prompt);

// Writes the planned files into set, to be put in place with the rest of the
// save; read-only ones only when replaceReadOnly is set. Stops at the first
// file that cannot be written, with a failure naming it.
Outcome StageMeshFiles(const Scene& scene, const MeshOutputPlan& plan, FileSetWriter& set, bool replaceReadOnly);

}  // namespace m3d
