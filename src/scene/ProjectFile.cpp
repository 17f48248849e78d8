#include "scene/ProjectFile.h"

#include "io/AtomicFile.h"
#include "io/PathLookup.h"
#include "scene/MeshOutput.h"
#include "scene/ProjectFileFormat.h"
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
    if (!WriteFileAtomically(path, bytes, error)) {
        scene.lastSaveError = error;
        prompt.ShowMessage("ファイルがオープンできない", "Error");
        return false;
    }
    scene.projectPath = path;
    scene.projectFileName = FileNameOf(path);

    // Textures go beside the project too, whatever folder the program happens to be in.
    const std::string directory = DirectoryOf(path);
    const MeshOutputResult meshes = WriteMeshFiles(scene, directory, prompt);
    scene.lastSaveError = AppendLine(scene.lastSaveError, meshes.errors);
    scene.lastSaveError = AppendLine(scene.lastSaveError, WriteMissingTextures(scene, directory));
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
