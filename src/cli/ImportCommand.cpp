// import MODEL OUT.anm [--fps N] [--scale S] [--animations NAME,...] [--keep-leading-hold]
// [--allow-outside-images] [--overwrite]: another program's model file as a
// project, its Parts, tree, pivots and animations as the window's
// "モデルを読み込む" makes them, written as one set of files.

#include "anim/ImportedAnimations.h"
#include "cli/CliCommand.h"
#include "cli/JsonWriter.h"
#include "cli/ProjectLoading.h"
#include "editor/EditorSession.h"
#include "editor/ModelImportCommands.h"
#include "editor/PlaybackController.h"
#include "foreign/ForeignReaderProcess.h"
#include "scene/Scene.h"
#include "text/NumberText.h"

#include <cstdio>
#include <optional>

namespace m3d {

namespace {

constexpr const char* kUsage =
    "import MODEL OUT.anm [--fps N] [--scale S] [--animations NAME,...] [--keep-leading-hold] "
    "[--allow-outside-images] [--overwrite]   (N: 1 ... 120, default 30; S: lengths times S, default 1; "
    "--animations: only the animations named become Motions, else each one that moves a Part and repeats no other "
    "does; --keep-leading-hold: a Motion starts at its animation's time 0, not at its first key; "
    "--allow-outside-images: also read the images the model names outside its folder, which are left out otherwise; "
    "--overwrite: replace the .mesh files already in OUT.anm's folder, and read-only files)";

int Usage()
{
    std::fprintf(stderr, "usage: marionettica3d-cli %s\n", kUsage);
    return 2;
}

// The words of a comma-separated list ("a,b" is a and b; "" is one empty word).
std::vector<std::string> CommaSeparated(const std::string& text)
{
    std::vector<std::string> words{std::string()};
    for (const char c : text) {
        if (c == ',')
            words.emplace_back();
        else
            words.back() += c;
    }
    return words;
}

// The report: what was written, the new Parts and Motions, every animation of the file (its length,
// the Parts it moves, whether it was chosen) and what was left behind.
void WriteReport(const Scene& scene, const ModelImport& import, const std::vector<ImportableAnimation>& animations,
                 const std::vector<bool>& chosen, const std::string& written)
{
    JsonWriter json;
    json.BeginObject().Key("written").String(written).Key("parts").BeginArray();
    for (int index : import.parts) {
        const Part& part = *scene.PartAt(index);
        const Part* parent = scene.PartAt(part.parentIndex);
        json.BeginObject().Key("name").String(part.displayName);
        json.Key("parent").String(parent ? parent->displayName : std::string());
        json.Key("vertices").Int(part.mesh ? part.mesh->GetVertexNum() : 0).EndObject();
    }
    json.EndArray().Key("motions").BeginArray();
    for (int index : import.motions) {
        const Motion& motion = scene.MotionAt(index);
        size_t keys = 0;
        for (const MotionTrack& track : motion.tracks) keys += track.keys.size();
        json.BeginObject().Key("name").String(motion.name).Key("length").Int(motion.length);
        json.Key("keys").Int(static_cast<int64_t>(keys)).EndObject();
    }
    json.EndArray().Key("animations").BeginArray();
    for (size_t a = 0; a < animations.size(); ++a) {
        json.BeginObject().Key("name").String(animations[a].name).Key("length").Int(animations[a].length);
        json.Key("parts").BeginArray();
        for (const int part : animations[a].movedParts)
            json.String(scene.PartAt(import.parts[static_cast<size_t>(part)])->displayName);
        json.EndArray().Key("chosen").Bool(chosen[a]).EndObject();
    }
    json.EndArray().Key("dropped").BeginArray();
    for (const std::string& line : ImportNotes(import)) json.String(line);
    json.EndArray().EndObject();
    std::printf("%s\n", json.Text().c_str());
}

int Import(const std::vector<std::string>& args)
{
    std::vector<std::string> paths;
    ModelImportOptions options;
    std::optional<std::vector<std::string>> names;
    bool overwrite = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--overwrite") {
            overwrite = true;
        } else if (args[i] == "--allow-outside-images") {
            options.outsideImagesAllowed = true;
        } else if (args[i] == "--keep-leading-hold") {
            options.fromFirstKey = false;
        } else if (args[i] == "--fps" && i + 1 < args.size()) {
            if (!ParseInteger(args[++i], options.framesPerSecond)) return Usage();
        } else if (args[i] == "--scale" && i + 1 < args.size()) {
            if (!ParseFloat(args[++i], options.scale)) return Usage();
        } else if (args[i] == "--animations" && i + 1 < args.size()) {
            names = CommaSeparated(args[++i]);
        } else if (args[i].rfind("--", 0) == 0) {
            return Usage();
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.size() != 2) return Usage();
    if (options.framesPerSecond < kMinFrameRate || options.framesPerSecond > kMaxFrameRate) {
        std::fprintf(stderr, "--fps %d: must be %d ... %d\n", options.framesPerSecond, kMinFrameRate, kMaxFrameRate);
        return 2;
    }
    ForeignModel model;
    if (Outcome read = ReadForeignModelInChild(paths[0], model); !read) {
        PrintFailure(read.Message());
        return 1;
    }
    const std::vector<ImportableAnimation> animations =
        ImportableAnimations(model, options.framesPerSecond, options.fromFirstKey);
    if (names) {
        const Expected<std::vector<bool>> named = AnimationsNamed(model, *names, paths[0]);
        if (!named) {
            PrintFailure(named.Status().Message());
            return 1;
        }
        options.animations = *named;
    } else {
        options.animations = OfferedAnimations(animations);
    }
    EditorSession session;
    const Expected<ModelImport> import = ImportReadModelCommand(session, paths[0], std::move(model), options);
    if (!import) {
        PrintFailure(import.Status().Message());
        return 1;
    }
    if (!SaveProjectForCommand(session.GetScene(), paths[1], overwrite, overwrite)) return 1;
    WriteReport(session.GetScene(), *import, animations, *options.animations, paths[1]);
    return 0;
}

const CliCommandRegistration registration("import", kUsage, Import);

}  // namespace

}  // namespace m3d
