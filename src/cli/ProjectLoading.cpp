#include "cli/ProjectLoading.h"

#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "io/WriteTarget.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "scene/UserPrompt.h"

#include <cmath>
#include <cstdio>

namespace {

// Answers the save's questions without a person; a message is a failure.
// The only Yes/No question of a save is whether read-only files may be replaced.
class CommandPrompt : public UserPrompt {
public:
    CommandPrompt(bool overwrite, bool replaceReadOnly) : overwrite(overwrite), replaceReadOnly(replaceReadOnly) {}
    bool AskYesNo(const std::string&, const std::string&) override
    {
        askedReadOnly = true;
        return replaceReadOnly;
    }
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
    bool askedReadOnly = false;

private:
    bool overwrite;
    bool replaceReadOnly;
};

}  // namespace

bool SaveProjectForCommand(Scene& scene, const std::string& path, bool overwriteMeshes, bool replaceReadOnly)
{
    CommandPrompt prompt(overwriteMeshes, replaceReadOnly);
    const bool saved = SaveProject(scene, path, prompt);
    if (saved && scene.lastSaveError.empty()) return true;
    std::string failure = !scene.lastSaveError.empty() ? scene.lastSaveError : path + ": " + prompt.message;
    if (prompt.askedReadOnly && !replaceReadOnly) failure += " (--overwrite replaces read-only files)";
    PrintFailure(failure);
    return false;
}

bool RefuseReadOnlyOutput(const std::string& path, bool overwrite)
{
    const WriteTarget target = InspectWriteTarget(path);
    if (overwrite || target.kind != WriteTarget::REGULAR || !target.readOnly) return false;
    std::fprintf(stderr, "%s: the file is read-only; nothing was written (--overwrite replaces it)\n", path.c_str());
    return true;
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

