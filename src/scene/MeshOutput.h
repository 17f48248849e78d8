#pragma once

#include <string>
#include <utility>
#include <vector>

class Scene;
class UserPrompt;

// Which .mesh files a save writes, decided before any is written.
struct MeshOutputPlan {
    std::vector<std::pair<int, std::string>> files;  // Part index and file, in Part order
    int skipped = 0;         // answered "いいえ"
    bool cancelled = false;  // answered "キャンセル": later Parts are not written
};

// What one run of WriteMeshFiles did.
struct MeshOutputResult {
    int written = 0;
    int skipped = 0;
    bool cancelled = false;
    // One line per file that could not be written (file and reason); "" when none.
    std::string errors;
};

// Plans every Part's mesh as directory/baseName.mesh, in Part order. A file
// that exists (or that an earlier Part of this plan writes) is asked about
// ("%sは存在しています。上書きしますか？" with its path) unless "すべてはい"
// was answered earlier in this run. Parts without a mesh are left out.
MeshOutputPlan PlanMeshFiles(const Scene& scene, const std::string& directory, UserPrompt& prompt);

// Writes the planned files; read-only ones only when replaceReadOnly is set.
MeshOutputResult WriteMeshFiles(Scene& scene, const MeshOutputPlan& plan, bool replaceReadOnly);
