#include "scene/MeshOutput.h"

#include "io/FileSetWriter.h"
#include "meshlib/CMesh.h"
#include "scene/Scene.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <filesystem>
#include <set>
#include <system_error>

namespace m3d {

MeshOutputPlan PlanMeshFiles(const Scene& scene, const std::string& directory, UserPrompt& prompt)
{
    MeshOutputPlan plan;
    std::set<std::string> planned;
    bool yesToAll = false;
    for (size_t i = 0; i < scene.Parts().size(); ++i) {
        const Part& part = *scene.Parts()[i];
        const std::string file = (directory.empty() ? std::string() : directory + "/") + part.baseName + ".mesh";
        std::error_code ec;
        if (!yesToAll && (planned.count(file) != 0 || std::filesystem::exists(file, ec))) {
            const MeshOverwriteAnswer answer =
                prompt.AskMeshOverwrite(WithArguments(UiText("core", "%1は存在しています。上書きしますか？"), {file}));
            if (answer == MeshOverwriteAnswer::No) {
                ++plan.skipped;
                continue;
            }
            if (answer == MeshOverwriteAnswer::YesToAll) yesToAll = true;
            if (answer != MeshOverwriteAnswer::Yes && answer != MeshOverwriteAnswer::YesToAll) {
                plan.cancelled = true;
                break;
            }
        }
        if (!part.mesh) continue;
        planned.insert(file);
        plan.files.emplace_back(static_cast<int>(i), file);
    }
    return plan;
}

Outcome StageMeshFiles(const Scene& scene, const MeshOutputPlan& plan, FileSetWriter& set, bool replaceReadOnly)
{
    FileSetOptions options;
    options.replaceReadOnly = replaceReadOnly;
    for (const auto& [index, file] : plan.files) {
        const CMesh& mesh = *scene.Parts()[static_cast<size_t>(index)]->mesh;
        const Expected<std::string> bytes = mesh.MeshFileBytes(file);
        if (!bytes) return bytes.Status();
        if (Outcome added = set.Add(file, *bytes, options); !added) return added;
    }
    return Outcome();
}

}  // namespace m3d
