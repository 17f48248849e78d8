#include "anim/PoseEvaluation.h"
#include "cli/CliCommand.h"
#include "cli/OffscreenForCommand.h"
#include "cli/ProjectLoading.h"
#include "editor/EditorSession.h"
#include "editor/PartCommands.h"
#include "gl/OffscreenDrawing.h"
#include "io/FileSetWriter.h"
#include "pictures/PngMovie.h"
#include "view/PictureViews.h"

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace m3d {

namespace {

constexpr const char* kUsage =
    "thumbnail -s SIZE INPUT OUTPUT.png   (INPUT: .mesh, .mqo, or .anm with its .mesh files beside it, drawn at "
    "frame 0 of its first Motion; SIZE 1 ... 4096, the picture's side in pixels)";
constexpr int kLargestThumbnail = 4096;

int Usage()
{
    std::fprintf(stderr, "usage: marionettica3d-cli %s\n", kUsage);
    return 2;
}

bool HasExtension(const std::string& path, const char* extension)
{
    const size_t length = std::strlen(extension);
    return path.size() > length && strcasecmp(path.c_str() + path.size() - length, extension) == 0;
}

// The model of path in session: an object file as one Part, a project at
// frame 0 of its first Motion. false, with a line on stderr, when it cannot be read.
bool LoadModel(EditorSession& session, const std::string& path)
{
    if (HasExtension(path, ".anm")) {
        if (!LoadProjectForCommand(session, path)) return false;
        if (session.GetScene().MotionCount() > 0) EvaluatePose(session.GetScene(), 0, 0);
        return true;
    }
    if (!HasExtension(path, ".mesh") && !HasExtension(path, ".mqo")) {
        PrintFailure(path + ": thumbnails are drawn of .anm, .mesh and .mqo files");
        return false;
    }
    if (const Outcome added = AddObject(session, path); !added) {
        PrintFailure(added.Message());
        return false;
    }
    return true;
}

int Thumbnail(const std::vector<std::string>& args)
{
    int size = 0;
    std::vector<std::string> paths;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-s" && i + 1 < args.size()) {
            if (!ParseInteger(args[++i], size)) return Usage();
        } else if (args[i].rfind("-", 0) != 0) {
            paths.push_back(args[i]);
        } else {
            return Usage();
        }
    }
    if (paths.size() != 2 || size < 1 || size > kLargestThumbnail) return Usage();
    const std::string& input = paths[0];
    const std::string& output = paths[1];

    std::unique_ptr<OffscreenForCommand> offscreen = MakeOffscreenForCommand(output, size, size);
    if (!offscreen) return 1;
    EditorSession session;
    session.GetScene().SetRenderDevice(&offscreen->device);
    if (!LoadModel(session, input)) return 1;
    PictureViewOptions options;
    options.width = options.height = size;
    options.background = 0u;  // transparent: the file manager's own background shows
    options.grid = false;
    const PictureViews views = MakePictureViews(session.GetScene(), options);
    const TextureImage picture = DrawOffscreen(offscreen->device, *offscreen->target, views.Inputs(session.GetScene()));

    // A PNG whatever the name: file managers hand over temporary names.
    PngMovie png(output, false, 0);
    Outcome written = png.Add(picture);
    FileSetWriter set;
    if (written) written = png.Finish(set);
    if (written) written = set.Commit();
    if (!written) {
        PrintFailure(written.Message());
        return 1;
    }
    return 0;
}

const CliCommandRegistration registration("thumbnail", kUsage, Thumbnail);

}  // namespace

}  // namespace m3d
