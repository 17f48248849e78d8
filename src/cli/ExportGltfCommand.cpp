#include "anim/ExportLengthScale.h"
#include "cli/CliArguments.h"
#include "cli/CliCommand.h"
#include "cli/CommandPrompt.h"
#include "cli/JsonWriter.h"
#include "cli/ProjectLoading.h"
#include "cli/TextureReport.h"
#include "editor/EditorSession.h"
#include "editor/OptionCommands.h"
#include "editor/PlaybackController.h"

#include <cstdio>

namespace m3d {

namespace {

constexpr const char* kUsage =
    "export-gltf PROJECT.anm OUT.gltf|OUT.glb [--fps N] [--scale S] [--loop-suffix TEXT] [--bake] [--overwrite]   "
    "(N: 1 ... 120, default 30; TEXT: added to the names of the Motions that loop, whose animations also say "
    "\"loop\": true in their extras; --bake: every channel as LINEAR at every frame, for importers that read "
    "splines their own way; S: "
    "every length times S, above 0; by default the project's unit in metres, so that the file is in metres, or 1 "
    "when the project has no unit; --overwrite: "
    "replace read-only outputs, and files beside a .gltf that the .gltf it replaces does not name)";

int Usage()
{
    std::fprintf(stderr, "usage: marionettica3d-cli %s\n", kUsage);
    return 2;
}

int ExportGltf(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    int fps = kDefaultGltfFramesPerSecond;
    bool overwrite = false;
    std::vector<std::string> rest = args;
    GltfChoices choices;
    choices.lengthScale = 0.0f;  // not given: from the project's unit
    if (!TakeScaleOption(rest, "--scale", choices.lengthScale)) return Usage();
    TakeTextOption(rest, "--loop-suffix", choices.loopSuffix);
    choices.bakeEveryFrame = TakeFlag(rest, "--bake");
    if (!ParseWordsAndIntOption(rest, "--fps", fps, paths, &overwrite)) return Usage();
    if (paths.size() != 2) return Usage();
    if (fps < kMinFrameRate || fps > kMaxFrameRate) {
        std::fprintf(stderr, "--fps %d: must be %d ... %d\n", fps, kMinFrameRate, kMaxFrameRate);
        return 2;
    }
    const std::string& projectPath = paths[0];
    const std::string& outPath = paths[1];

    if (RefuseReadOnlyOutput(outPath, overwrite)) return 1;
    EditorSession session;
    if (!LoadProjectForCommand(session, projectPath, ProjectOpening::Reading)) return 1;
    session.Playback().SetFramesPerSecond(fps);
    if (choices.lengthScale == 0.0f)
        choices.lengthScale = DefaultExportScale(session.GetScene().metresPerUnit, kGltfMetresPerUnit);
    CommandPrompt prompt(false, overwrite);
    const ExportGltfResult result = ExportGltfCommand(session, outPath, prompt, choices);
    if (!result.written) {
        // A refusal for want of Parts concerns the project; the other messages name their file.
        const bool aboutProject = result.refused && ExportGltfRefusal(session.GetScene()) != nullptr;
        const std::string hint = prompt.askedToReplace ? " (--overwrite replaces them)" : "";
        PrintFailure((aboutProject ? projectPath + ": " + result.message : result.message) + hint);
        return 1;
    }
    PrintWarning(ExportWarning(result.textureProblems, result.images));
    JsonWriter json;
    json.BeginObject();
    json.Key("written").String(outPath);
    json.Key("parts").Int(result.partCount);
    json.Key("meshes").Int(result.meshCount);
    json.Key("animations").Int(result.motionCount);
    json.Key("images").Int(result.imageCount);
    json.Key("sideFiles").Int(result.sideFileCount);
    // How far the channels written at every frame stray from the editor's curves between frames.
    json.Key("bakedDeviation").BeginObject();
    json.Key("length").Double(result.baked.length);
    json.Key("degrees").Double(result.baked.degrees);
    json.EndObject();
    WriteImageSources(json, result.images);
    WriteTextureProblems(json, result.textureProblems);
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

const CliCommandRegistration registration("export-gltf", kUsage, ExportGltf);

}  // namespace

}  // namespace m3d
