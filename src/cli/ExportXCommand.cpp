#include "editor/OptionCommands.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/CommandPrompt.h"
#include "cli/JsonWriter.h"
#include "cli/ProjectLoading.h"
#include "cli/TextureReport.h"
#include "editor/EditorSession.h"

#include <cstdio>

namespace m3d {

namespace {

constexpr const char* kUsage =
    "export-x PROJECT.anm OUT.x [--time-scale N] [--scale S] [--overwrite]   (N: 1 ... 1000, default 200; S: every "
    "length times S, above 0, default 1; --overwrite: "
    "replace OUT.x when it is read-only)";

int Usage()
{
    std::fprintf(stderr, "usage: marionettica3d-cli %s\n", kUsage);
    return 2;
}

int ExportX(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    int timeScale = kDefaultTimeScaleFactor;
    bool overwrite = false;
    std::vector<std::string> rest = args;
    float scale = 1.0f;
    if (!TakeScaleOption(rest, "--scale", scale)) return Usage();
    if (!ParseWordsAndIntOption(rest, "--time-scale", timeScale, paths, &overwrite)) return Usage();
    if (paths.size() != 2) return Usage();
    if (timeScale < kMinTimeScaleFactor || timeScale > kMaxTimeScaleFactor) {
        std::fprintf(stderr, "--time-scale %d: must be %d ... %d\n", timeScale, kMinTimeScaleFactor,
                     kMaxTimeScaleFactor);
        return 2;
    }
    const std::string& projectPath = paths[0];
    const std::string& outPath = paths[1];

    if (RefuseReadOnlyOutput(outPath, overwrite)) return 1;
    EditorSession session;
    if (!LoadProjectForCommand(session, projectPath, ProjectOpening::Reading)) return 1;
    CommandPrompt prompt(false, overwrite);
    const ExportXResult result = ExportXCommand(session, outPath, timeScale, prompt, scale);
    // A refusal for want of Parts or Motions concerns the project; the other
    // messages name their own files.
    if (!result.written) {
        const bool aboutProject = result.refused && ExportXRefusal(session.GetScene()) != nullptr;
        const std::string hint = prompt.askedToReplace ? " (--overwrite replaces it)" : "";
        PrintFailure((aboutProject ? projectPath + ": " + result.message : result.message) + hint);
        return 1;
    }
    PrintWarning(ExportWarning(result.textureProblems, result.images));
    JsonWriter json;
    json.BeginObject();
    json.Key("written").String(outPath);
    json.Key("parts").Int(result.partCount);
    json.Key("motions").Int(result.motionCount);
    json.Key("animationKeys").Int(result.animationKeyCount);
    WriteImageSources(json, result.images);
    WriteTextureProblems(json, result.textureProblems);
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

const CliCommandRegistration registration("export-x", kUsage, ExportX);

}  // namespace

}  // namespace m3d
