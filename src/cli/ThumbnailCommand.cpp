#include "anim/PoseEvaluation.h"
#include "cli/CliCommand.h"
#include "cli/OffscreenForCommand.h"
#include "cli/ProjectLoading.h"
#include "cli/ThumbnailLimits.h"
#include "editor/EditorSession.h"
#include "editor/PartCommands.h"
#include "gl/OffscreenDrawing.h"
#include "io/AtomicFile.h"
#include "io/FileReading.h"
#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/PngEncoder.h"
#include "scene/ProjectFile.h"
#include "scene/ProjectFileFormat.h"
#include "view/PictureViews.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <strings.h>

namespace m3d {

namespace {

constexpr const char* kUsage =
    "thumbnail -s SIZE INPUT OUTPUT.png   (INPUT: .mesh, .mqo, or .anm with its .mesh files beside it, drawn at "
    "frame 0 of its first Motion; SIZE 1 ... 4096, the picture's side in pixels. Safe to run unattended: reads "
    "nothing outside INPUT's folder and changes nothing there (an interrupted save of a project stays as it is, with "
    "a warning); within 1 GiB of memory and 10 s, for at most 2000 Parts and 2000000 triangles, or exit 1 with "
    "nothing written; textures of more than 8 megapixels are left out)";
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

// The refusal of a project that claims more Parts than a thumbnail draws,
// from the count after its header, before anything else of it is read.
Outcome CheckPartCount(const std::string& path)
{
    const Expected<std::string> start = ReadFilePrefix(path, kProjectPartCountEnd);
    if (!start) return start.Status();
    const std::optional<int32_t> parts = ClaimedPartCount(*start);
    if (parts && *parts > kMaxThumbnailParts)
        return Outcome::Failure(path + ": " + std::to_string(*parts) + " Parts; a thumbnail draws at most " +
                                std::to_string(kMaxThumbnailParts) + "; nothing was written");
    return {};
}

// The model of path in session: an object file as one Part, a project at
// frame 0 of its first Motion, read as it stands. false, with a line on
// stderr, when it cannot be read or is more than a thumbnail draws.
bool LoadModel(EditorSession& session, const std::string& path)
{
    Scene& scene = session.GetScene();
    if (HasExtension(path, ".anm")) {
        if (const Outcome counted = CheckPartCount(path); !counted) {
            PrintFailure(counted.Message());
            return false;
        }
        if (!LoadProjectForCommand(session, path, ProjectOpening::Reading)) return false;
        if (scene.MotionCount() > 0) EvaluatePose(scene, 0, 0);
    } else if (!HasExtension(path, ".mesh") && !HasExtension(path, ".mqo")) {
        PrintFailure(path + ": thumbnails are drawn of .anm, .mesh and .mqo files");
        return false;
    } else if (const Outcome added = AddObject(session, path); !added) {
        PrintFailure(added.Message());
        return false;
    }
    int64_t triangles = 0;
    for (const auto& part : scene.Parts()) triangles += part->mesh ? part->mesh->GetFaceNum() : 0;
    if (triangles > kMaxThumbnailTriangles) {
        PrintFailure(path + ": " + std::to_string(triangles) + " triangles; a thumbnail draws at most " +
                     std::to_string(kMaxThumbnailTriangles) + "; nothing was written");
        return false;
    }
    return true;
}

int DrawThumbnail(const std::string& input, const std::string& output, int size)
{
    std::unique_ptr<OffscreenForCommand> offscreen = MakeOffscreenForCommand(output, size, size);
    if (!offscreen) return 1;
    EditorSession session;
    Scene& scene = session.GetScene();
    scene.SetRenderDevice(&offscreen->device);
    scene.SetTextureBudget(std::min(scene.MeshBase().TextureBudget(), kThumbnailTextureBytes));
    if (!LoadModel(session, input)) return 1;
    PictureViewOptions options;
    options.width = options.height = size;
    options.background = 0u;  // transparent: the file manager's own background shows
    options.grid = false;
    const PictureViews views = MakePictureViews(scene, options);
    const TextureImage picture = DrawOffscreen(offscreen->device, *offscreen->target, views.Inputs(scene));
    Expected<std::string> png = EncodePng(picture);
    // A PNG whatever the name: file managers hand over temporary names.
    const Outcome written =
        png ? WriteWithinThumbnailTime(input, output, [&] { return WriteFileAtomically(output, *png); })
            : Outcome::Failure(output + ": " + png.Message());
    if (!written) {
        PrintFailure(written.Message());
        return 1;
    }
    return 0;
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
    HoldToThumbnailLimits(input);
    try {
        return DrawThumbnail(input, paths[1], size);
    } catch (const std::bad_alloc&) {
        PrintFailure(ThumbnailMemoryRefusal(input).Message());
        return 1;
    }
}

const CliCommandRegistration registration("thumbnail", kUsage, Thumbnail);

}  // namespace

}  // namespace m3d
