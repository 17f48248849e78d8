#include "editor/FileCommands.h"

#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "scene/ProjectFile.h"
#include "scene/RecoveryNotes.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <filesystem>
#include <system_error>

namespace m3d {

bool AskDiscardCurrentData(UserPrompt& prompt)
{
    return prompt.AskYesNo(UiText("core", "現在のデータは失われます。よろしいですか？"), UiText("core", "新規作成"));
}

void NewProject(EditorSession& session, UserPrompt& prompt)
{
    // On No nothing changes, not even the history: the work stays undoable.
    if (session.History().IsModified() && !AskDiscardCurrentData(prompt)) return;
    Scene& scene = session.GetScene();
    scene.ClearScene();
    // The new document is no file yet: a reflexive Save must not replace the
    // previous project with it, so Save asks for a name.
    scene.projectPath.clear();
    scene.projectFileName = kUntitledProjectName;
    session.SetProjectFileAtOpen(std::nullopt);
    session.SelectionMayHaveChanged();
    session.SelectMotion(-1);
    session.SetCurrentFrame(0);
    session.History().Clear();
    session.History().MarkSaved();
    session.UpdateTitle();
}

namespace {

// SaveProject, then the checks every save command shares.
bool SaveAndRemember(EditorSession& session, const std::string& path, UserPrompt& prompt)
{
    const ProjectSave save = SaveProject(session.GetScene(), path, prompt);
    if (save.projectWritten) {
        session.RecentProjects().Add(path);
        session.SetProjectFileAtOpen(FileStateOf(path));
    }
    // A partial save leaves the mark: what is on disk is not what is on screen.
    if (!save) return false;
    session.History().MarkSaved();
    return true;
}

}  // namespace

bool SaveWithPrompt(EditorSession& session, UserPrompt& prompt)
{
    Scene& scene = session.GetScene();
    if (scene.projectPath.empty()) return false;
    std::error_code ec;
    const auto size = std::filesystem::file_size(scene.projectPath, ec);
    if (!ec && size > 0) {
        // A file someone changed since it was opened (or since the snapshot
        // a restored document came from) is asked about as such.
        const std::optional<FileState>& opened = session.ProjectFileAtOpen();
        const char* question = opened && FileStateOf(scene.projectPath) != *opened
                                   ? QT_TRANSLATE_NOOP("core", "%1は開いた後に変更されています。上書きしますか？")
                                   : QT_TRANSLATE_NOOP("core", "%1は存在します。上書きしますか？");
        if (!prompt.AskYesNo(WithArguments(UiText("core", question), {scene.projectPath}),
                             UiText("core", "上書き保存")))
            return false;
    }
    return SaveAndRemember(session, scene.projectPath, prompt);
}

bool SaveAs(EditorSession& session, UserPrompt& prompt)
{
    const std::string path = prompt.AskSavePath(UiText("core", kProjectFileFilter), kProjectFileDefaultExtension);
    return !path.empty() && SaveAndRemember(session, path, prompt);
}

bool SaveCommand(EditorSession& session, UserPrompt& prompt)
{
    const bool saved =
        session.GetScene().projectPath.empty() ? SaveAs(session, prompt) : SaveWithPrompt(session, prompt);
    session.UpdateTitle();
    return saved;
}

bool SaveAsCommand(EditorSession& session, UserPrompt& prompt)
{
    const bool saved = SaveAs(session, prompt);
    session.UpdateTitle();
    return saved;
}

bool AskSaveBeforeDiscarding(EditorSession& session, UserPrompt& prompt, const std::string& caption)
{
    const Scene& scene = session.GetScene();
    // Nothing to lose, or nothing a save could keep (a project needs a Motion and a Part).
    if (!session.History().IsModified() || scene.Motions().empty() || scene.Parts().empty()) return true;
    switch (prompt.AskYesNoCancel(UiText("core", "現在のデータを保存しますか？"), UiText("core", caption.c_str()))) {
    case YesNoCancel::Yes: return SaveCommand(session, prompt);
    case YesNoCancel::No: return true;
    case YesNoCancel::Cancel: return false;
    }
    return false;
}

bool AskSaveBeforeClosing(EditorSession& session, UserPrompt& prompt)
{
    return AskSaveBeforeDiscarding(session, prompt, QT_TRANSLATE_NOOP("core", "終了"));
}

bool AskSaveBeforeOpening(EditorSession& session, UserPrompt& prompt)
{
    return AskSaveBeforeDiscarding(session, prompt, QT_TRANSLATE_NOOP("core", "開く"));
}

bool ReadyToOpenRecentProject(EditorSession& session, UserPrompt& prompt, const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        // path may be the list's own entry: the message is made before it goes.
        const std::string message =
            WithArguments(UiText("core", "「%1」が見つかりません。最近使ったファイルの一覧から削除しました。"), {path});
        session.RecentProjects().Remove(path);
        prompt.ShowMessage(message, UiText("core", "開く"));
        return false;
    }
    return AskSaveBeforeOpening(session, prompt);
}

void TakeLoadedDocument(EditorSession& session, std::optional<FileState> onDisk, bool saved)
{
    Scene& scene = session.GetScene();
    session.SelectionMayHaveChanged();
    session.SelectMotion(scene.MotionCount() - 1);
    session.SetCurrentFrame(0);
    EvaluatePose(scene, session.CurrentMotion(), 0);
    session.ShowCurrentTransform();
    session.History().Clear();
    if (saved)
        session.History().MarkSaved();
    else
        session.History().MarkUnsaved();
    session.SetProjectFileAtOpen(onDisk);
    session.UpdateTitle();
    // An opened project is framed once; "視点調整" later only centres.
    session.FitWholeModel();
}

ProjectLoad OpenProject(EditorSession& session, const std::string& path, ProjectOpening opening)
{
    ProjectLoad load = LoadProject(session.GetScene(), path, opening);
    if (load.complete) session.RecentProjects().Add(path);
    // A file refused before anything was touched leaves the scene, its history and its views as they were.
    if (!load.sceneReplaced) return load;
    // What was read is what is on disk, also when loading stopped at a
    // missing object file: the project file itself is still whole.
    TakeLoadedDocument(session, load.complete ? std::optional<FileState>(FileStateOf(path)) : std::nullopt, true);
    return load;
}

void ShowProjectLoadNotes(const ProjectLoad& load, UserPrompt& prompt)
{
    ShowRecoveryNotes(load.recoveries, prompt);
    if (!load.extras) prompt.ShowMessage(load.extras.Message(), UiText("core", "caution"));
}

bool OpenProjectCommand(EditorSession& session, UserPrompt& prompt, const std::string& path)
{
    const ProjectLoad load = OpenProject(session, path, ProjectOpening::Editing);
    ShowProjectLoadNotes(load, prompt);
    if (!load.outcome) prompt.ShowMessage(load.outcome.Message(), UiText("core", "Error"));
    return load.outcome.Ok();
}

}  // namespace m3d
