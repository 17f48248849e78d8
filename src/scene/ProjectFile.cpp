#include "scene/ProjectFile.h"

#include "io/FileReading.h"
#include "io/FileSetWriter.h"
#include "io/FolderIndex.h"
#include "io/PathLookup.h"
#include "io/WriteTarget.h"
#include "scene/MessageLists.h"
#include "scene/MeshOutput.h"
#include "scene/ProjectExtrasFile.h"
#include "scene/ProjectFileFormat.h"
#include "scene/RecoveryNotes.h"
#include "scene/SaveTargets.h"
#include "scene/Scene.h"
#include "scene/TextureOutput.h"
#include "scene/UniqueNames.h"
#include "scene/UserPrompt.h"
#include "text/StoredName.h"
#include "text/UiText.h"

#include <filesystem>
#include <optional>

namespace m3d {

const char* const kProjectFileFilter = QT_TRANSLATE_NOOP("core", "ｱﾆﾒｰｼｮﾝﾌｧｲﾙ(*.anm)|*.anm||");
const char* const kProjectFileDefaultExtension = "anm";

namespace {

// Project files beyond this are refused before they are read into memory.
constexpr size_t kMaxProjectFileBytes = size_t(1) << 30;
// And side files beyond this (a key's entry takes some 40 bytes).
constexpr size_t kMaxExtrasFileBytes = size_t(256) << 20;

std::optional<std::string> FindObjectFile(const FolderIndex& folder, const std::string& name)
{
    if (auto mesh = folder.FindFile(name + ".mesh")) return mesh;
    return folder.FindFile(name + ".mqo");
}

bool IsRegularFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

void RemoveFileIfPresent(const std::string& path)
{
    std::error_code error;
    if (IsRegularFile(path)) std::filesystem::remove(path, error);
}

// Gives data's keys their interpolations and its Parts their joint limits
// from the project's side file, when it has one; what could not be read or
// applied is the failure.
Outcome ReadProjectExtras(const std::string& projectPath, std::string_view projectBytes, ProjectData& data)
{
    const std::string extrasPath = ProjectExtrasPath(projectPath);
    if (!IsRegularFile(extrasPath)) return {};
    const Expected<std::string> text = ReadWholeFile(extrasPath, kMaxExtrasFileBytes);
    if (!text)
        return Outcome::Failure(text.Message() + "\n" + extrasPath + ": every key stays linear and every Part free");
    return ApplyProjectExtras(*text, extrasPath, projectBytes, data.parts, data.motions);
}

}  // namespace

std::vector<ProjectPartRecord> ProjectPartRecordsOf(const Scene& scene)
{
    std::vector<ProjectPartRecord> records;
    records.reserve(scene.Parts().size());
    for (const auto& part : scene.Parts())
        records.push_back({part->baseName, part->parentIndex, part->symmetryIndex, part->jointLimit});
    return records;
}

ProjectSave SaveProject(Scene& scene, const std::string& path, UserPrompt& prompt)
{
    ProjectSave save;
    const auto refuseEmpty = [&](const std::string& text) {
        prompt.ShowMessage(text, UiText("core", "Error"));
        save.outcome = Outcome::Failure(path + ": " + text);
        return std::move(save);
    };
    if (scene.Motions().empty()) return refuseEmpty(UiText("core", "モーションが存在しない"));
    if (scene.Parts().empty()) return refuseEmpty(UiText("core", "オブジェクトが存在しない"));
    const Expected<std::string> bytes = BuildProjectFile(ProjectPartRecordsOf(scene), scene.Motions());
    if (!bytes) {
        save.outcome = Outcome::Failure(path + ": " + bytes.Message());
        prompt.ShowMessage(save.outcome.Message(), UiText("core", "Error"));
        return save;
    }
    // Every file is looked at and asked about before the first is written.
    // Textures go beside the project too, whatever folder the program happens
    // to be in; they are written only where no file is, so they need no question.
    const auto refuse = [&](const std::string& why, int errorNumber) {
        prompt.ShowMessage(
            WriteFailureHeading(errorNumber, QT_TRANSLATE_NOOP("core", "ファイルがオープンできない")) + "\n" + why,
            UiText("core", "Error"));
        save.outcome = Outcome::Failure(why, errorNumber);
        return std::move(save);
    };
    // What the project file cannot hold goes beside it; a project with
    // nothing of the kind has no side file.
    const std::string extras = BuildProjectExtras(ProjectPartRecordsOf(scene), scene.Motions(), *bytes);
    const std::string extrasPath = ProjectExtrasPath(path);
    if (const SaveTargetCheck check = CheckSaveTargets({path}); !check.refusal.empty())
        return refuse(check.refusal, check.refusalErrorNumber);
    const std::string directory = DirectoryOf(path);
    const MeshOutputPlan plan = PlanMeshFiles(scene, directory, prompt);
    if (!plan.sharedFile.empty()) return refuse(plan.sharedFile + ": two Parts would be saved into this one file", 0);
    if (plan.cancelled) {
        save.outcome = Outcome::Cancellation(path + ": the save was cancelled; nothing was written");
        return save;
    }
    std::vector<std::string> targets{path};
    if (!extras.empty()) targets.push_back(extrasPath);
    for (const auto& planned : plan.files) targets.push_back(planned.second);
    const SaveTargetCheck check = CheckSaveTargets(targets);
    if (!check.refusal.empty()) return refuse(check.refusal, check.refusalErrorNumber);
    if (!AskReplaceReadOnly(check.readOnly, prompt)) {
        save.outcome = Outcome::Failure(ReadOnlyRefusal(check.readOnly));
        return save;
    }

    // Everything is written beside its target first and put in place
    // together, the project file last: a failure at any point leaves the old
    // project and its files as they were.
    FileSetWriter set;
    FileSetOptions options;
    options.replaceReadOnly = true;
    Outcome written = StageMeshFiles(scene, plan, set, true);
    if (written) written = StageTextures(PlanMissingTextures(scene, directory), set, prompt.Progress());
    if (written && !extras.empty()) written = set.Add(extrasPath, extras, options);
    if (written) written = set.Add(path, *bytes, options);
    if (written) written = set.Commit();
    ShowRecoveryNotes(set.Recoveries(), prompt);
    if (written.Cancelled()) {
        save.outcome = std::move(written);
        return save;
    }
    if (!written) return refuse(written.Message(), written.ErrorNumber());
    // A side file left from an earlier save no longer belongs to the project
    // (the project file's checksum in it says so, should this fail).
    if (extras.empty()) RemoveFileIfPresent(extrasPath);
    scene.projectPath = path;
    scene.projectFileName = FileNameOf(path);
    save.projectWritten = true;
    if (const std::vector<std::string> differing = KeptMeshFilesThatDiffer(scene, plan); !differing.empty()) {
        const std::string text = WithArguments(UiText("core",
                                                      "「いいえ」と答えた次のmeshファイルは古い形のまま残り、"
                                                      "画面のモデルと一致しません。保存は完全ではありません。\n%1"),
                                               {FirstLines(differing)});
        prompt.ShowMessage(text, UiText("core", "caution"));
        save.outcome = Outcome::Failure(text);
    }
    return save;
}

ProjectLoad LoadProject(Scene& scene, const std::string& path, ProjectOpening opening)
{
    ProjectLoad load;
    // A save of this project that was killed while it put its files in place
    // is ended first for editing; reading only reports it.
    const std::string file = InspectWriteTarget(path).file;
    if (opening == ProjectOpening::Editing)
        load.recoveries = RecoverCommitsIn(FolderOfFile(file));
    else if (std::optional<CommitRecoveryNote> note = PendingCommitOf(file))
        load.recoveries.push_back(std::move(*note));
    ProjectData data;
    {
        const Expected<std::string> bytes = ReadWholeFile(path, kMaxProjectFileBytes);
        if (!bytes) {
            load.outcome = bytes.Status();
            return load;
        }
        if (Outcome parsed = ParseProjectFile(*bytes, path, data); !parsed) {
            load.outcome = std::move(parsed);
            return load;
        }
        load.extras = ReadProjectExtras(path, *bytes, data);
    }

    scene.ClearScene();
    load.sceneReplaced = true;
    // Until every Part is in, the scene is no copy of the file: saving an
    // incomplete load over it would lose the Parts and Motions not read.
    scene.projectPath.clear();
    scene.projectFileName = kUntitledProjectName;
    const std::string directory = DirectoryOf(path);
    // Listed once: thousands of object files are then found in O(1) each.
    const FolderIndex folder(directory);
    // The scene is empty, so every name is free until a Part takes it. A
    // project written before base names were kept apart may name one file
    // for two Parts: the second is then given a name (and so a file) of its own.
    UniqueNames baseNames(NameCase::IgnoreAscii);
    UniqueNames displayNames(NameCase::Exact);
    std::vector<std::string> brokenObjects;  // named a few at most in the message
    for (size_t i = 0; i < data.parts.size(); ++i) {
        const ProjectPartRecord& record = data.parts[i];
        const std::optional<std::string> objectFile = FindObjectFile(folder, record.baseName);
        if (!objectFile) {
            // Partners among the Parts not loaded would name no Part.
            for (auto& part : scene.Parts())
                if (part->symmetryIndex >= scene.PartCount()) part->symmetryIndex = -1;
            scene.UpdateHierarchy(0);
            brokenObjects.push_back(path + ": Part " + std::to_string(i) + ": neither " + record.baseName +
                                    ".mesh nor " + record.baseName + ".mqo is in " +
                                    (directory.empty() ? "." : directory));
            load.outcome = Outcome::Failure(FirstLines(brokenObjects));
            return load;
        }
        // Composed once after the last Part rather than once for each.
        ObjectMesh object = scene.LoadObjectMesh(*objectFile);
        std::string baseName = baseNames.Take(StorableFileName(PartBaseNameOf(*objectFile)));
        std::string displayName = displayNames.Take(baseName);
        const int added = scene.AppendPart(record.parentIndex, *objectFile, std::move(object.mesh),
                                           {std::move(baseName), std::move(displayName)});
        scene.SelectTreeItem(scene.Parts()[added]->treeItem);
        if (!object.loaded) brokenObjects.push_back(object.loaded.Message());
        scene.Parts().back()->symmetryIndex = record.symmetryIndex;
        scene.Parts().back()->jointLimit = record.jointLimit;
    }
    scene.UpdateHierarchy(0);

    // The reader has checked every name, length and track.
    scene.MutableMotions() = std::move(data.motions);
    load.complete = true;
    scene.projectPath = path;
    scene.projectFileName = FileNameOf(path);
    if (!brokenObjects.empty()) load.outcome = Outcome::Failure(FirstLines(brokenObjects));
    return load;
}

}  // namespace m3d
