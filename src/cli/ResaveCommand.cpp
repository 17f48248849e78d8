#include "cli/CliCommand.h"
#include "cli/ProjectLoading.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "scene/UserPrompt.h"

#include <cstdio>

namespace {

constexpr const char* USAGE = "resave PROJECT.anm OUT.anm [--overwrite]";

// Answers the save's questions without a person: existing .mesh files are
// kept, or all replaced with --overwrite; a message is a failure.
class CommandPrompt : public UserPrompt {
public:
    explicit CommandPrompt(bool overwrite) : overwrite(overwrite) {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
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

int Resave(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    bool overwrite = false;
    for (const std::string& arg : args) {
        if (arg == "--overwrite")
            overwrite = true;
        else
            paths.push_back(arg);
    }
    if (paths.size() != 2) {
        std::fprintf(stderr, "usage: marionettica3d-cli %s\n", USAGE);
        return 2;
    }
    Scene scene;
    if (!LoadProjectForCommand(scene, paths[0])) return 1;
    CommandPrompt prompt(overwrite);
    const bool saved = SaveProject(scene, paths[1], prompt);
    if (!saved || !scene.lastSaveError.empty()) {
        PrintFailure(!scene.lastSaveError.empty() ? scene.lastSaveError : paths[1] + ": " + prompt.message);
        return 1;
    }
    return 0;
}

const CliCommandRegistration registration("resave", USAGE, Resave);

}  // namespace
