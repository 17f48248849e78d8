#include "cli/CliCommand.h"
#include "cli/ProjectLoading.h"
#include "editor/EditorSession.h"

#include <cstdio>

namespace {

constexpr const char* USAGE =
    "resave PROJECT.anm OUT.anm [--overwrite]   (--overwrite: replace the .mesh files already in OUT.anm's "
    "folder, and read-only files)";

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
    EditorSession session;
    if (!LoadProjectForCommand(session, paths[0])) return 1;
    return SaveProjectForCommand(session.GetScene(), paths[1], overwrite, overwrite) ? 0 : 1;
}

const CliCommandRegistration registration("resave", USAGE, Resave);

}  // namespace
