#include "scene/MeshOutput.h"

#include "scene/Scene.h"
#include "scene/UserPrompt.h"

#include <filesystem>
#include <system_error>

MeshOutputResult WriteMeshFiles(Scene& scene, const std::string& directory, UserPrompt& prompt)
{
    MeshOutputResult result;
    bool yesToAll = false;
    for (const auto& part : scene.parts) {
        const std::string file = (directory.empty() ? std::string() : directory + "/") + part->baseName + ".mesh";
        std::error_code ec;
        if (!yesToAll && std::filesystem::exists(file, ec)) {
            const int answer = prompt.AskMeshOverwrite(file + "は存在しています。上書きしますか？");
            if (answer == MESH_OVERWRITE_NO) {
                ++result.skipped;
                continue;
            }
            if (answer == MESH_OVERWRITE_YES_TO_ALL) yesToAll = true;
            if (answer != MESH_OVERWRITE_YES && answer != MESH_OVERWRITE_YES_TO_ALL) {
                result.cancelled = true;
                break;
            }
        }
        if (!part->mesh) continue;
        if (part->mesh->SaveMeshFile(file))
            ++result.written;
        else
            result.errors += part->mesh->GetLastError() + "\n";
    }
    return result;
}
