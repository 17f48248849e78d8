#include "scene/ProjectFile.h"

#include "io/FileReading.h"
#include "io/FileSetWriter.h"
#include "io/FolderIndex.h"
#include "io/PathLookup.h"
#include "io/WriteTarget.h"
#include "scene/MeshFileNames.h"
#include "scene/MessageLists.h"
#include "scene/ProjectAssembly.h"
#include "scene/MeshOutput.h"
#include "scene/ProjectExtrasFile.h"
#include "scene/ProjectFileFormat.h"
#include "scene/RecoveryNotes.h"
#include "scene/SaveTargets.h"
#include "scene/Scene.h"
#include "scene/TextureOutput.h"
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
    return ApplyProjectExtras(*text, extrasPath, projectBytes, data);
}

// Gives the Parts the names a save wrote their files under, and tells which
// Parts have a file of their own now.
void TakeMeshFileNames(Scene& scene, const MeshFileNames& names, const std::string& directory, UserPrompt& prompt)
{
    if (names.renamed.empty()) return;
    std::vector<std::string> lines;
    for (int index : names.renamed) {
        Part& part = *scene.Parts()[size_t(index)];
        lines.push_back(part.displayName + ": " + part.baseName + ".mesh -> " +
                        (directory.empty() ? std::string() : directory + "/") + names.baseNames[size_t(index)] +
                        ".mesh");
        part.baseName = names.baseNames[size_t(index)];
    }
    prompt.ShowNote(WithArguments(UiText("core",
                                         "次のパーツは同じ名前の他のパーツと形が違うため、"
                                         "別のmeshファイルに保存した。\n%1"),
                                  {FirstLines(lines)}),
                    UiText("core", "上書き保存"));
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
    const std::string directory = DirectoryOf(path);
    MeshFileNames names;
    if (Outcome named = NameMeshFiles(scene, directory, names); !named) return refuse(named.Message(), 0);
    std::vector<ProjectPartRecord> records = ProjectPartRecordsOf(scene);
    for (size_t i = 0; i < records.size(); ++i) records[i].baseName = names.baseNames[i];
    const Expected<std::string> bytes = BuildProjectFile(records, scene.Motions());
    if (!bytes) {
        save.outcome = Outcome::Failure(path + ": " + bytes.Message());
        prompt.ShowMessage(save.outcome.Message(), UiText("core", "Error"));
        return save;
    }
    // What the project file cannot hold goes beside it; a project with
    // nothing of the kind has no side file.
    const std::string extras = BuildProjectExtras(records, scene.Motions(), scene.metresPerUnit, *bytes);
    const std::string extrasPath = ProjectExtrasPath(path);
    if (const SaveTargetCheck check = CheckSaveTargets({path}); !check.refusal.empty())
        return refuse(check.refusal, check.refusalErrorNumber);
    const MeshOutputPlan plan = PlanMeshFiles(scene, names, directory, prompt);
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
    TakeMeshFileNames(scene, names, directory, prompt);
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

    const std::string directory = DirectoryOf(path);
    // Listed once: thousands of object files are then found in O(1) each.
    const FolderIndex folder(directory);
    const auto meshOf = [&](size_t index, const ProjectPartRecord& record,
                            std::string& missing) -> std::optional<RecordMesh> {
        const std::string& name = record.baseName;
        const std::optional<std::string> objectFile = FindObjectFile(folder, name);
        if (!objectFile) {
            missing = path + ": Part " + std::to_string(index) + ": neither " + name + ".mesh nor " + name +
                      ".mqo is in " + (directory.empty() ? "." : directory);
            return std::nullopt;
        }
        return RecordMesh{*objectFile, scene.LoadObjectMesh(*objectFile),
                          StorableFileName(PartBaseNameOf(*objectFile))};
    };
    ProjectAssembly assembly = AssembleProject(scene, std::move(data), meshOf);
    load.sceneReplaced = true;
    std::vector<std::string>& brokenObjects = assembly.problems;  // named a few at most in the message
    if (!assembly.complete) {
        load.outcome = Outcome::Failure(FirstLines(brokenObjects));
        return load;
    }
    load.complete = true;
    scene.projectPath = path;
    scene.projectFileName = FileNameOf(path);
    if (!brokenObjects.empty()) load.outcome = Outcome::Failure(FirstLines(brokenObjects));
    return load;
}

}  // namespace m3d
