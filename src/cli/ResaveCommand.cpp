#include "cli/CliCommand.h"
#include "cli/ProjectLoading.h"
#include "editor/EditorSession.h"

#include <cstdio>

namespace m3d {

namespace {

constexpr const char* kUsage =
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
        std::fprintf(stderr, "usage: marionettica3d-cli %s\n", kUsage);
        return 2;
    }
    EditorSession session;
    if (!LoadProjectForCommand(session, paths[0], ProjectOpening::Editing)) return 1;
    if (!SaveProjectForCommand(session.GetScene(), paths[1], overwrite, overwrite)) return 1;
    PrintWrittenProject(paths[1], session.GetScene());
    return 0;
}

const CliCommandRegistration registration("resave", kUsage, Resave);

}  // namespace

}  // namespace m3d
