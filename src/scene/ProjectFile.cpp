#include "scene/ProjectFile.h"

#include "io/AtomicFile.h"
#include "io/FileReading.h"
#include "io/FolderIndex.h"
#include "io/PathLookup.h"
#include "scene/DisplayNameIndex.h"
#include "scene/MeshOutput.h"
#include "scene/ProjectFileFormat.h"
#include "scene/SaveTargets.h"
#include "scene/Scene.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <optional>

const char* const PROJECT_FILE_FILTER = QT_TRANSLATE_NOOP("core", "ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)|*.anm||");
const char* const PROJECT_FILE_DEFAULT_EXTENSION = "anm";

namespace {

// Project files beyond this are refused before they are read into memory.
constexpr size_t MAX_PROJECT_FILE_BYTES = size_t(1) << 30;

// Adds line (when not "") to lines as a line of its own, in place: a load
// listing thousands of unreadable files must not copy the list each time.
void AppendLine(std::string& lines, const std::string& line)
{
    if (line.empty()) return;
    if (!lines.empty() && lines.back() != '\n') lines += '\n';
    lines += line;
}

std::optional<std::string> FindObjectFile(const FolderIndex& folder, const std::string& name)
{
    if (auto mesh = folder.FindFile(name + ".mesh")) return mesh;
    return folder.FindFile(name + ".mqo");
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
        prompt.ShowMessage(UiText("core", "モーションが存在しない"), UiText("core", "Error"));
        return false;
    }
    if (scene.parts.empty()) {
        prompt.ShowMessage(UiText("core", "オブジェクトが存在しない"), UiText("core", "Error"));
        return false;
    }
    std::string bytes;
    std::string error;
    if (!BuildProjectFile(ProjectPartRecordsOf(scene), scene.motions, bytes, error)) {
        scene.lastSaveError = path + ": " + error;
        prompt.ShowMessage(scene.lastSaveError, UiText("core", "Error"));
        return false;
    }
    // Every file is looked at and asked about before the first is written.
    // Textures go beside the project too, whatever folder the program happens
    // to be in; they are written only where no file is, so they need no question.
    const auto refuse = [&](const std::string& why) {
        scene.lastSaveError = why;
        prompt.ShowMessage(UiText("core", "ファイルがオープンできない") + "\n" + why, UiText("core", "Error"));
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
    // Listed once: thousands of object files are then found in O(1) each.
    const FolderIndex folder(directory);
    // The scene is empty, so every name is free until a Part takes it.
    DisplayNameIndex names;
    std::string brokenObjects;
    for (size_t i = 0; i < data.parts.size(); ++i) {
        const ProjectPartRecord& record = data.parts[i];
        const std::optional<std::string> objectFile = FindObjectFile(folder, record.baseName);
        if (!objectFile) {
            // Partners among the Parts not loaded would name no Part.
            for (auto& part : scene.parts)
                if (part->symmetryIndex >= scene.PartCount()) part->symmetryIndex = -1;
            scene.UpdateHierarchy(0);
            AppendLine(brokenObjects, path + ": Part " + std::to_string(i) + ": neither " + record.baseName +
                                          ".mesh nor " + record.baseName + ".mqo is in " +
                                          (directory.empty() ? "." : directory));
            scene.lastLoadError = std::move(brokenObjects);
            return 0;
        }
        // Composed once after the last Part rather than once for each.
        const int added = scene.AppendPart(record.parentIndex, *objectFile, scene.LoadObjectMesh(*objectFile),
                                           names.Take(PartBaseNameOf(*objectFile)));
        scene.SelectTreeItem(scene.parts[added]->treeItem);
        AppendLine(brokenObjects, scene.lastLoadError);
        scene.parts.back()->symmetryIndex = record.symmetryIndex;
    }
    scene.UpdateHierarchy(0);

    // The reader has checked every name, length and track.
    scene.motions = std::move(data.motions);
    scene.lastLoadError = std::move(brokenObjects);
    return 1;
}
