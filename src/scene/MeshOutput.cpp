#include "scene/MeshOutput.h"

#include "meshlib/CMesh.h"
#include "scene/Scene.h"
#include "scene/UserPrompt.h"

#include <filesystem>
#include <set>
#include <system_error>

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
            const int answer = prompt.AskMeshOverwrite(file + "は存在しています。上書きしますか？");
            if (answer == MESH_OVERWRITE_NO) {
                ++plan.skipped;
                continue;
            }
            if (answer == MESH_OVERWRITE_YES_TO_ALL) yesToAll = true;
            if (answer != MESH_OVERWRITE_YES && answer != MESH_OVERWRITE_YES_TO_ALL) {
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

MeshOutputResult WriteMeshFiles(Scene& scene, const MeshOutputPlan& plan, bool replaceReadOnly)
{
    MeshOutputResult result;
    result.skipped = plan.skipped;
    result.cancelled = plan.cancelled;
    for (const auto& [index, file] : plan.files) {
        CMesh& mesh = *scene.parts[static_cast<size_t>(index)]->mesh;
        if (mesh.SaveMeshFile(file, replaceReadOnly))
            ++result.written;
        else
            result.errors += mesh.GetLastError() + "\n";
    }
    return result;
}
