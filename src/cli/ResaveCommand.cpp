#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
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
    const Scene& scene = session.GetScene();
    if (!SaveProjectForCommand(session.GetScene(), paths[1], overwrite, overwrite)) return 1;
    JsonWriter json;
    json.BeginObject().Key("written").String(paths[1]).Key("parts").Int(scene.PartCount());
    json.Key("motions").Int(static_cast<int64_t>(scene.Motions().size())).EndObject();
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

const CliCommandRegistration registration("resave", kUsage, Resave);

}  // namespace

}  // namespace m3d
