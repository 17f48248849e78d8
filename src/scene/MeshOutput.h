#pragma once

#include <string>

class Scene;
class UserPrompt;

// What one run of WriteMeshFiles did.
struct MeshOutputResult {
    int written = 0;
    int skipped = 0;         // answered "いいえ"
    bool cancelled = false;  // answered "キャンセル": later Parts were not written
    // One line per file that could not be written (file and reason); "" when none.
    std::string errors;
};

// Writes every Part's mesh as directory/baseName.mesh, in Part order. An
// existing file is asked about ("%sは存在しています。上書きしますか？" with
// its path) unless "すべてはい" was answered earlier in this run.
MeshOutputResult WriteMeshFiles(Scene& scene, const std::string& directory, UserPrompt& prompt);
