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
    for (size_t i = 0; i < scene.parts.size(); ++i) {
        const Part& part = *scene.parts[i];
        const std::string file = (directory.empty() ? std::string() : directory + "/") + part.baseName + ".mesh";
        std::error_code ec;
        if (!yesToAll && (planned.count(file) != 0 || std::filesystem::exists(file, ec))) {
            const int answer =
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

bool StageMeshFiles(const Scene& scene, const MeshOutputPlan& plan, FileSetWriter& set, bool replaceReadOnly)
{
    FileSetOptions options;
    options.replaceReadOnly = replaceReadOnly;
    for (const auto& [index, file] : plan.files) {
        const CMesh& mesh = *scene.parts[static_cast<size_t>(index)]->mesh;
        std::string bytes;
        std::string error;
        if (!mesh.MeshFileBytes(file, bytes, error)) return set.Refuse(error);
        if (!set.Add(file, bytes, options)) return false;
    }
    return true;
}

}  // namespace m3d
