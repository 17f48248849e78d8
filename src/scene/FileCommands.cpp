#include "scene/FileCommands.h"

#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "scene/UserPrompt.h"

#include <filesystem>
#include <system_error>

void NewProject(Scene& scene, UserPrompt& prompt)
{
    if (prompt.AskYesNo("現在のデータは失われます。よろしいですか？", "新規作成")) scene.ClearScene();
    scene.poseHistory.FreeHistory();
}

void SaveWithPrompt(Scene& scene, UserPrompt& prompt)
{
    if (scene.projectPath.empty()) return;
    std::error_code ec;
    const auto size = std::filesystem::file_size(scene.projectPath, ec);
    if (!ec && size > 0 && !prompt.AskYesNo(scene.projectPath + "は存在します。上書きしますか？", "上書き保存"))
        return;
    SaveProject(scene, scene.projectPath, prompt);
}

void SaveAs(Scene& scene, UserPrompt& prompt)
{
    const std::string path = prompt.AskSavePath(PROJECT_FILE_FILTER, PROJECT_FILE_DEFAULT_EXTENSION);
    if (!path.empty()) SaveProject(scene, path, prompt);
}

void SaveCommand(Scene& scene, UserPrompt& prompt)
{
    if (scene.projectPath.empty())
        SaveAs(scene, prompt);
    else
        SaveWithPrompt(scene, prompt);
    scene.UpdateTitle();
}

void SaveAsCommand(Scene& scene, UserPrompt& prompt)
{
    SaveAs(scene, prompt);
    scene.UpdateTitle();
}

void AskSaveBeforeClosing(Scene& scene, UserPrompt& prompt)
{
    if (scene.motions.empty() || scene.parts.empty()) return;
    if (prompt.AskYesNo("現在のデータを保存しますか？", "終了")) SaveCommand(scene, prompt);
}
