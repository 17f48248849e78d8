#include "scene/ProjectFile.h"

#include "io/AtomicFile.h"
#include "io/PathLookup.h"
#include "scene/MeshOutput.h"
#include "scene/ProjectFileFormat.h"
#include "scene/SaveTargets.h"
#include "scene/Scene.h"
#include "scene/UserPrompt.h"

#include <optional>

const char* const PROJECT_FILE_FILTER = "ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)|*.anm||";
const char* const PROJECT_FILE_DEFAULT_EXTENSION = "anm";

namespace {

// Project files beyond this are refused before they are read into memory.
constexpr size_t MAX_PROJECT_FILE_BYTES = size_t(1) << 30;

std::string AppendLine(const std::string& lines, const std::string& line)
{
    if (line.empty()) return lines;
    std::string result = lines;
    if (!result.empty() && result.back() != '\n') result += '\n';
    return result + line;
}

std::optional<std::string> FindObjectFile(const std::string& directory, const std::string& name)
{
    if (auto mesh = FindFileIgnoringCase(directory, name + ".mesh")) return mesh;
    return FindFileIgnoringCase(directory, name + ".mqo");
}

}  // namespace

std::vector<ProjectPartRecord> ProjectPartRecordsOf(const Scene& scene)
{
    std::vector<ProjectPartRecord> records;
    records.reserve(scene.parts.size());
    for (const auto& part : scene.parts) records.push_back({part->baseName, part->parentIndex, part->symmetryIndex});
    return records;
}

bool SaveProject(Scene& scene, const std::string& path, UserPrompt& prompt)
{
    scene.lastSaveError.clear();
    if (scene.motions.empty()) {
        prompt.ShowMessage("モーションが存在しない", "Error");
        return false;
    }
    if (scene.parts.empty()) {
        prompt.ShowMessage("オブジェクトが存在しない", "Error");
        return false;
    }
    std::string bytes;
    std::string error;
    if (!BuildProjectFile(ProjectPartRecordsOf(scene), scene.motions, bytes, error)) {
        scene.lastSaveError = path + ": " + error;
        prompt.ShowMessage(scene.lastSaveError, "Error");
        return false;
    }
    // Every file is looked at and asked about before the first is written.
    // Textures go beside the project too, whatever folder the program happens
    // to be in; they are written only where no file is, so they need no question.
    const auto refuse = [&](const std::string& why) {
        scene.lastSaveError = why;
        prompt.ShowMessage("ファイルがオープンできない\n" + why, "Error");
        return false;
    };
    if (const std::string refusal = CheckSaveTargets({path}).refusal; !refusal.empty()) return refuse(refusal);
    const std::string directory = DirectoryOf(path);
    const MeshOutputPlan plan = PlanMeshFiles(scene, directory, prompt);
    std::vector<std::string> targets{path};
    for (const auto& planned : plan.files) targets.push_back(planned.second);
    const SaveTargetCheck check = CheckSaveTargets(targets);
    if (!check.refusal.empty()) return refuse(check.refusal);
    if (!AskReplaceReadOnly(check.readOnly, prompt)) {
        scene.lastSaveError = ReadOnlyRefusal(check.readOnly);
        return false;
    }

    // The project file goes last: until it is replaced, the old project and
    // whatever .mesh files it finds still load, and a project is never
    // written whose geometry did not make it to disk.
    const MeshOutputResult meshes = WriteMeshFiles(scene, plan, true);
    if (!meshes.errors.empty()) return refuse(path + ": not saved, as a .mesh file could not be written\n" + meshes.errors);
    const std::string textureErrors = WriteMissingTextures(scene, directory);
    AtomicWriteOptions options;
    options.replaceReadOnly = true;
    if (!WriteFileAtomically(path, bytes, error, options)) return refuse(error);
    scene.projectPath = path;
    scene.projectFileName = FileNameOf(path);
    scene.lastSaveError = textureErrors;
    return true;
}

int LoadProject(Scene& scene, const std::string& path, bool* sceneReplaced)
{
    if (sceneReplaced) *sceneReplaced = false;
    scene.lastLoadError.clear();
    std::string bytes;
    std::string error;
    ProjectData data;
    if (!ReadWholeFile(path, bytes, error, MAX_PROJECT_FILE_BYTES) || !ParseProjectFile(bytes, path, data, error)) {
        scene.lastLoadError = error;
        return 0;
    }
    bytes = std::string();

    scene.ClearScene();
    if (sceneReplaced) *sceneReplaced = true;
    scene.projectPath = path;
    scene.projectFileName = FileNameOf(path);
    const std::string directory = DirectoryOf(path);
    std::string brokenObjects;
    for (size_t i = 0; i < data.parts.size(); ++i) {
        const ProjectPartRecord& record = data.parts[i];
        const std::optional<std::string> objectFile = FindObjectFile(directory, record.baseName);
        if (!objectFile) {
            // Partners among the Parts not loaded would name no Part.
            for (auto& part : scene.parts)
                if (part->symmetryIndex >= scene.PartCount()) part->symmetryIndex = -1;
            scene.lastLoadError = AppendLine(
                brokenObjects, path + ": Part " + std::to_string(i) + ": neither " + record.baseName + ".mesh nor " +
                                   record.baseName + ".mqo is in " + (directory.empty() ? "." : directory));
            return 0;
        }
        scene.SelectTreeItem(record.parentIndex < 0 ? scene.rootPart.treeItem
                                                    : scene.parts[record.parentIndex]->treeItem);
        const int added = scene.AddPartFromFile(*objectFile);
        scene.SelectTreeItem(scene.parts[added]->treeItem);
        brokenObjects = AppendLine(brokenObjects, scene.lastLoadError);
        scene.parts.back()->symmetryIndex = record.symmetryIndex;
    }

    // The reader has checked every name, length and track.
    scene.motions = std::move(data.motions);
    scene.lastLoadError = brokenObjects;
    return 1;
}
