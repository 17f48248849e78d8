#include "scene/MeshOutput.h"

#include "io/FileReading.h"
#include "io/FileSetWriter.h"
#include "meshlib/CMesh.h"
#include "scene/MeshFileNames.h"
#include "scene/Scene.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <filesystem>
#include <set>
#include <system_error>

namespace m3d {

namespace {
// A kept file larger than this is taken to differ rather than read whole.
constexpr size_t kMaxComparedMeshFileBytes = size_t(1) << 30;
}  // namespace

MeshOutputPlan PlanMeshFiles(const Scene& scene, const MeshFileNames& names, const std::string& directory,
                             UserPrompt& prompt)
{
    MeshOutputPlan plan;
    // Parts of one name have one mesh (NameMeshFiles): its first Part writes it.
    std::set<std::string> planned;
    bool yesToAll = false;
    for (size_t i = 0; i < scene.Parts().size(); ++i) {
        const Part& part = *scene.Parts()[i];
        if (!part.mesh || !planned.insert(names.baseNames[i]).second) continue;
        const std::string file = (directory.empty() ? std::string() : directory + "/") + names.baseNames[i] + ".mesh";
        std::error_code ec;
        if (!yesToAll && std::filesystem::exists(file, ec)) {
            const MeshOverwriteAnswer answer =
                prompt.AskMeshOverwrite(WithArguments(UiText("core", "%1は存在しています。上書きしますか？"), {file}));
            if (answer == MeshOverwriteAnswer::No) {
                plan.kept.emplace_back(static_cast<int>(i), file);
                continue;
            }
            if (answer == MeshOverwriteAnswer::YesToAll) yesToAll = true;
            if (answer != MeshOverwriteAnswer::Yes && answer != MeshOverwriteAnswer::YesToAll) {
                plan.cancelled = true;
                return plan;
            }
        }
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

std::vector<std::string> KeptMeshFilesThatDiffer(const Scene& scene, const MeshOutputPlan& plan)
{
    std::vector<std::string> differing;
    for (const auto& [index, file] : plan.kept) {
        const Expected<std::string> now = scene.Parts()[static_cast<size_t>(index)]->mesh->MeshFileBytes(file);
        const Expected<std::string> onDisk = ReadWholeFile(file, kMaxComparedMeshFileBytes);
        if (!now || !onDisk || *now != *onDisk) differing.push_back(file);
    }
    return differing;
}

}  // namespace m3d
