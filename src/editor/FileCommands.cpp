#include "editor/FileCommands.h"

#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "scene/ProjectFile.h"
#include "scene/UserPrompt.h"
#include "text/UiText.h"

#include <filesystem>
#include <system_error>

bool AskDiscardCurrentData(UserPrompt& prompt)
{
    return prompt.AskYesNo(UiText("core", "現在のデータは失われます。よろしいですか？"), UiText("core", "新規作成"));
}

void NewProject(EditorSession& session, UserPrompt& prompt)
{
    if (AskDiscardCurrentData(prompt)) {
        session.GetScene().ClearScene();
        session.SelectionMayHaveChanged();
        session.SelectMotion(-1);
        session.SetCurrentFrame(0);
    }
    // A freed history would record nothing until the Parts change again.
    session.History().RestartHistory();
}

void SaveWithPrompt(EditorSession& session, UserPrompt& prompt)
{
    Scene& scene = session.GetScene();
    if (scene.projectPath.empty()) return;
    std::error_code ec;
    const auto size = std::filesystem::file_size(scene.projectPath, ec);
    if (!ec && size > 0 && !prompt.AskYesNo(WithArguments(UiText("core", "%1は存在します。上書きしますか？"), {scene.projectPath}),
                                           UiText("core", "上書き保存")))
        return;
    SaveProject(scene, scene.projectPath, prompt);
}

void SaveAs(EditorSession& session, UserPrompt& prompt)
{
    const std::string path = prompt.AskSavePath(UiText("core", PROJECT_FILE_FILTER), PROJECT_FILE_DEFAULT_EXTENSION);
    if (!path.empty()) SaveProject(session.GetScene(), path, prompt);
}

void SaveCommand(EditorSession& session, UserPrompt& prompt)
{
    if (session.GetScene().projectPath.empty())
        SaveAs(session, prompt);
    else
        SaveWithPrompt(session, prompt);
    session.UpdateTitle();
}

void SaveAsCommand(EditorSession& session, UserPrompt& prompt)
{
    SaveAs(session, prompt);
    session.UpdateTitle();
}

void AskSaveBeforeClosing(EditorSession& session, UserPrompt& prompt)
{
    const Scene& scene = session.GetScene();
    if (scene.motions.empty() || scene.parts.empty()) return;
    if (prompt.AskYesNo(UiText("core", "現在のデータを保存しますか？"), UiText("core", "終了"))) SaveCommand(session, prompt);
}

int OpenProject(EditorSession& session, const std::string& path)
{
    Scene& scene = session.GetScene();
    bool replaced = false;
    const int result = LoadProject(scene, path, &replaced);
    // A file refused before anything was touched leaves the scene, its history and its views as they were.
    if (!replaced) return result;
    session.SelectionMayHaveChanged();
    session.SelectMotion(static_cast<int>(scene.motions.size()) - 1);
    session.SetCurrentFrame(0);
    EvaluatePose(scene, session.CurrentMotion(), 0);
    session.ShowCurrentTransform();
    session.History().RestartHistory();
    session.UpdateTitle();
    session.FitViews();
    return result;
}
