#include "scene/ProjectFile.h"

#include "io/FileReading.h"
#include "io/FileSetWriter.h"
#include "io/FolderIndex.h"
#include "io/PathLookup.h"
#include "scene/DisplayNameIndex.h"
#include "scene/MessageLists.h"
#include "scene/MeshOutput.h"
#include "scene/ProjectFileFormat.h"
#include "scene/SaveTargets.h"
#include "scene/Scene.h"
#include "scene/TextureOutput.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <optional>

namespace m3d {

const char* const kProjectFileFilter = QT_TRANSLATE_NOOP("core", "ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)|*.anm||");
const char* const kProjectFileDefaultExtension = "anm";

namespace {

// Project files beyond this are refused before they are read into memory.
constexpr size_t kMaxProjectFileBytes = size_t(1) << 30;

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
    const auto refuse = [&](const std::string& why, int errorNumber) {
        scene.lastSaveError = why;
        prompt.ShowMessage(
            WriteFailureHeading(errorNumber, QT_TRANSLATE_NOOP("core", "ファイルがオープンできない")) + "\n" + why,
            UiText("core", "Error"));
        return false;
    };
    if (const SaveTargetCheck check = CheckSaveTargets({path}); !check.refusal.empty())
        return refuse(check.refusal, check.refusalErrorNumber);
    const std::string directory = DirectoryOf(path);
    const MeshOutputPlan plan = PlanMeshFiles(scene, directory, prompt);
    std::vector<std::string> targets{path};
    for (const auto& planned : plan.files) targets.push_back(planned.second);
    const SaveTargetCheck check = CheckSaveTargets(targets);
    if (!check.refusal.empty()) return refuse(check.refusal, check.refusalErrorNumber);
    if (!AskReplaceReadOnly(check.readOnly, prompt)) {
        scene.lastSaveError = ReadOnlyRefusal(check.readOnly);
        return false;
    }

    // Everything is written beside its target first and put in place
    // together, the project file last: a failure at any point leaves the old
    // project and its files as they were.
    FileSetWriter set;
    FileSetOptions options;
    options.replaceReadOnly = true;
    const bool staged = StageMeshFiles(scene, plan, set, true) &&
                        StageTextures(PlanMissingTextures(scene, directory), set, prompt.Progress()) &&
                        set.Add(path, bytes, options);
    if (set.Cancelled()) {
        scene.lastSaveError = set.Error();
        return false;
    }
    if (!staged || !set.Commit()) return refuse(set.Error(), set.ErrorNumber());
    scene.projectPath = path;
    scene.projectFileName = FileNameOf(path);
    return true;
}

int LoadProject(Scene& scene, const std::string& path, bool* sceneReplaced)
{
    if (sceneReplaced) *sceneReplaced = false;
    scene.lastLoadError.clear();
    std::string bytes;
    std::string error;
    ProjectData data;
    if (!ReadWholeFile(path, bytes, error, kMaxProjectFileBytes) || !ParseProjectFile(bytes, path, data, error)) {
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
    std::vector<std::string> brokenObjects;  // named a few at most in the message
    for (size_t i = 0; i < data.parts.size(); ++i) {
        const ProjectPartRecord& record = data.parts[i];
        const std::optional<std::string> objectFile = FindObjectFile(folder, record.baseName);
        if (!objectFile) {
            // Partners among the Parts not loaded would name no Part.
            for (auto& part : scene.parts)
                if (part->symmetryIndex >= scene.PartCount()) part->symmetryIndex = -1;
            scene.UpdateHierarchy(0);
            brokenObjects.push_back(path + ": Part " + std::to_string(i) + ": neither " + record.baseName +
                                    ".mesh nor " + record.baseName + ".mqo is in " +
                                    (directory.empty() ? "." : directory));
            scene.lastLoadError = FirstLines(brokenObjects);
            return 0;
        }
        // Composed once after the last Part rather than once for each.
        const int added = scene.AppendPart(record.parentIndex, *objectFile, scene.LoadObjectMesh(*objectFile),
                                           names.Take(PartBaseNameOf(*objectFile)));
        scene.SelectTreeItem(scene.parts[added]->treeItem);
        if (!scene.lastLoadError.empty()) brokenObjects.push_back(scene.lastLoadError);
        scene.parts.back()->symmetryIndex = record.symmetryIndex;
    }
    scene.UpdateHierarchy(0);

    // The reader has checked every name, length and track.
    scene.motions = std::move(data.motions);
    scene.lastLoadError = FirstLines(brokenObjects);
    return 1;
}

}  // namespace m3d
