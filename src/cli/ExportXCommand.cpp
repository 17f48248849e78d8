#include "editor/OptionCommands.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
#include "cli/ProjectLoading.h"
#include "editor/EditorSession.h"

#include <cstdio>

namespace {

constexpr const char* USAGE =
    "export-x PROJECT.anm OUT.x [--time-scale N] [--overwrite]   (N: 1 ... 1000, default 200; --overwrite: "
    "replace OUT.x when it is read-only)";

int Usage()
{
    std::fprintf(stderr, "usage: marionettica3d-cli %s\n", USAGE);
    return 2;
}

int ExportX(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    int timeScale = DEFAULT_TIME_SCALE_FACTOR;
    bool overwrite = false;
    if (!ParseWordsAndIntOption(args, "--time-scale", timeScale, paths, &overwrite)) return Usage();
    if (paths.size() != 2) return Usage();
    if (timeScale < MIN_TIME_SCALE_FACTOR || timeScale > MAX_TIME_SCALE_FACTOR) {
        std::fprintf(stderr, "--time-scale %d: must be %d ... %d\n", timeScale, MIN_TIME_SCALE_FACTOR,
                     MAX_TIME_SCALE_FACTOR);
        return 2;
    }
    const std::string& projectPath = paths[0];
    const std::string& outPath = paths[1];

    if (RefuseReadOnlyOutput(outPath, overwrite)) return 1;
    EditorSession session;
    if (!LoadProjectForCommand(session, projectPath)) return 1;
    const ExportXResult result = ExportXCommand(session, outPath, timeScale, overwrite);
    // A refusal concerns the project; a failed write and a texture that could
    // not be saved name their own files.
    if (result.refused) {
        PrintFailure(projectPath + ": " + result.message);
        return 1;
    }
    if (!result.written) {
        PrintFailure(result.message);
        return 1;
    }
    if (!result.textureErrors.empty()) {
        PrintFailure(result.textureErrors);
        return 1;
    }
    JsonWriter json;
    json.BeginObject();
    json.Key("written").String(outPath);
    json.Key("parts").Int(result.partCount);
    json.Key("motions").Int(result.motionCount);
    json.Key("animationKeys").Int(result.animationKeyCount);
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

const CliCommandRegistration registration("export-x", USAGE, ExportX);

}  // namespace
