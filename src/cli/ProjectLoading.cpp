#include "cli/ProjectLoading.h"

#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "scene/UserPrompt.h"

#include <cmath>
#include <cstdio>

namespace {

// Answers the save's questions without a person; a message is a failure.
class CommandPrompt : public UserPrompt {
public:
    explicit CommandPrompt(bool overwrite) : overwrite(overwrite) {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    YesNoCancel AskYesNoCancel(const std::string&, const std::string&) override { return YesNoCancel::Cancel; }
    void ShowMessage(const std::string& text, const std::string&) override
    {
        if (message.empty()) message = text;
    }
    std::string AskSavePath(const std::string&, const std::string&) override { return std::string(); }
    int AskMeshOverwrite(const std::string&) override
    {
        return overwrite ? MESH_OVERWRITE_YES_TO_ALL : MESH_OVERWRITE_NO;
    }

    std::string message;

private:
    bool overwrite;
};

}  // namespace

bool SaveProjectForCommand(Scene& scene, const std::string& path, bool overwriteMeshes)
{
    CommandPrompt prompt(overwriteMeshes);
    const bool saved = SaveProject(scene, path, prompt);
    if (saved && scene.lastSaveError.empty()) return true;
    PrintFailure(!scene.lastSaveError.empty() ? scene.lastSaveError : path + ": " + prompt.message);
    return false;
}

int FindMotionForCommand(const Scene& scene, const std::string& path, const std::string& name)
{
    for (size_t m = 0; m < scene.motions.size(); ++m)
        if (scene.motions[m].name == name) return static_cast<int>(m);
    std::fprintf(stderr, "%s: no Motion named \"%s\"\n", path.c_str(), name.c_str());
    return -1;
}

bool LoadProjectForCommand(EditorSession& session, const std::string& path)
{
    const int loaded = OpenProject(session, path);
    const Scene& scene = session.GetScene();
    if (loaded && scene.lastLoadError.empty()) return true;
    PrintFailure(scene.lastLoadError.empty() ? path + ": cannot be loaded" : scene.lastLoadError);
    return false;
}

void PrintFailure(const std::string& text)
{
    std::string line;
    for (char c : text) {
        if (c != '\n')
            line += c;
        else if (!line.empty() && line.back() != ' ')
            line += "; ";
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == ';')) line.pop_back();
    std::fprintf(stderr, "%s\n", line.c_str());
}

