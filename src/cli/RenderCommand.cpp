#include "cli/CliCommand.h"
#include "cli/CommandPrompt.h"
#include "cli/JsonWriter.h"
#include "cli/OffscreenForCommand.h"
#include "cli/ProjectLoading.h"
#include "cli/TextureReport.h"
#include "editor/EditorSession.h"
#include "editor/PlaybackController.h"
#include "io/FileSetWriter.h"
#include "pictures/MotionPictures.h"
#include "pictures/MovieFile.h"
#include "scene/RecoveryNotes.h"
#include "text/NumberText.h"
#include "view/PictureViews.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace m3d {

namespace {

constexpr const char* kUsage =
    "render PROJECT.anm OUT --motion NAME [--frames A-B] [--fps N] [--size WxH] [--view TYPE] "
    "[--camera EYE_X EYE_Y EYE_Z TARGET_X TARGET_Y TARGET_Z] [--background RRGGBB|transparent] [--overwrite] "
    "[--quality Q]   (OUT: .png (one frame, --frames F), NAME%04d.png (one PNG a frame), .webp, .gif, .mp4, .webm; "
    "every frame of the Motion unless --frames; N 1 ... 120, default 30; 640x480 unless --size; TYPE Top ... Pers, "
    "default Pers framed on the model over all the frames drawn; Q 0 ... 100: lossy WebP)";

int Usage()
{
    std::fprintf(stderr, "usage: marionettica3d-cli %s\n", kUsage);
    return 2;
}

const char* KindName(MovieKind kind)
{
    switch (kind) {
    case MovieKind::Png: return "png";
    case MovieKind::PngSequence: return "png-sequence";
    case MovieKind::WebP: return "webp";
    case MovieKind::Gif: return "gif";
    case MovieKind::Mp4: return "mp4";
    case MovieKind::WebM: return "webm";
    }
    return "";
}

// "A-B" or "F".
bool ParseFrames(const std::string& text, int& first, int& last)
{
    const size_t dash = text.find('-', 1);
    if (dash == std::string::npos) return ParseInteger(text, first) && ParseInteger(text, last);
    return ParseInteger(text.substr(0, dash), first) && ParseInteger(text.substr(dash + 1), last);
}

bool ParseSize(const std::string& text, int& width, int& height)
{
    const size_t x = text.find_first_of("xX");
    return x != std::string::npos && ParseInteger(text.substr(0, x), width) &&
           ParseInteger(text.substr(x + 1), height) && width > 0 && height > 0;
}

bool ParseViewType(const std::string& text, ViewType& type)
{
    for (int i = 0; i < kViewTypeCount; ++i) {
        if (strcasecmp(text.c_str(), ViewTypeName(ViewType(i))) != 0) continue;
        type = ViewType(i);
        return true;
    }
    return false;
}

// RRGGBB as opaque ARGB, or "transparent" as a clear black.
bool ParseBackground(const std::string& text, uint32_t& argb)
{
    if (text == "transparent") {
        argb = 0;
        return true;
    }
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return false;
    argb = 0xFF000000u | uint32_t(std::strtoul(text.c_str(), nullptr, 16));
    return true;
}

struct RenderRequest {
    std::string project;
    std::string output;
    std::string motionName;
    bool haveMotion = false;
    bool haveFrames = false;
    int first = 0, last = 0;
    int fps = 30;
    PictureViewOptions view;
    std::optional<int> quality;
    bool overwrite = false;
};

// A line on stderr naming option and the value it could not read; false.
bool Unreadable(const std::string& option, const std::string& value)
{
    std::fprintf(stderr, "%s: \"%s\" cannot be read\n", option.c_str(), value.c_str());
    return false;
}

// Reads the words into request; false for a misuse (a value that cannot be read is named).
bool ParseRequest(const std::vector<std::string>& args, RenderRequest& r)
{
    std::vector<std::string> paths;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--motion" && hasValue) {
            r.motionName = args[++i];
            r.haveMotion = true;
        } else if (a == "--frames" && hasValue) {
            if (!ParseFrames(args[++i], r.first, r.last)) return Unreadable(a, args[i]);
            r.haveFrames = true;
        } else if (a == "--fps" && hasValue) {
            if (!ParseInteger(args[++i], r.fps)) return Unreadable(a, args[i]);
        } else if (a == "--size" && hasValue) {
            if (!ParseSize(args[++i], r.view.width, r.view.height)) return Unreadable(a, args[i]);
        } else if (a == "--view" && hasValue) {
            if (!ParseViewType(args[++i], r.view.type)) return Unreadable(a, args[i]);
        } else if (a == "--camera" && i + 6 < args.size()) {
            float v[6];
            for (float& value : v)
                if (!ParseFloat(args[++i], value)) return Unreadable(a, args[i]);
            r.view.camera = PictureCamera{{v[0], v[1], v[2]}, {v[3], v[4], v[5]}};
        } else if (a == "--background" && hasValue) {
            uint32_t argb = 0;
            if (!ParseBackground(args[++i], argb)) return Unreadable(a, args[i]);
            r.view.background = argb;
        } else if (a == "--quality" && hasValue) {
            int quality = 0;
            if (!ParseInteger(args[++i], quality)) return Unreadable(a, args[i]);
            r.quality = quality;
        } else if (a == "--overwrite") {
            r.overwrite = true;
        } else if (a.rfind("--", 0) != 0) {
            paths.push_back(a);
        } else {
            return false;
        }
    }
    if (paths.size() != 2 || !r.haveMotion) return false;
    r.project = paths[0];
    r.output = paths[1];
    return true;
}

// Checks what the Motion cannot tell; a line on stderr and false for a value out of range.
bool CheckOptions(const RenderRequest& r, MovieKind kind)
{
    const char* problem = nullptr;
    if (r.fps < kMinFrameRate || r.fps > kMaxFrameRate)
        problem = "--fps: must be 1 ... 120";
    else if (r.view.width > 16384 || r.view.height > 16384)
        problem = "--size: at most 16384 x 16384";
    else if (kind == MovieKind::WebP && (r.view.width > 16383 || r.view.height > 16383))
        problem = "--size: a .webp is at most 16383 x 16383";
    else if (r.view.camera && r.view.camera->eye == r.view.camera->target)
        problem = "--camera: the eye and the target must be two points";
    else if (r.quality && kind != MovieKind::WebP)
        problem = "--quality: only a .webp has a quality";
    else if (r.quality && (*r.quality < 0 || *r.quality > 100))
        problem = "--quality: must be 0 ... 100";
    else if (r.view.background == 0u && !MovieKindHoldsTransparency(kind))
        problem = "--background transparent: a video has no transparency; give a colour";
    if (problem == nullptr) return true;
    PrintFailure(r.output + ": " + problem);
    return false;
}

int Render(const std::vector<std::string>& args)
{
    RenderRequest r;
    if (!ParseRequest(args, r)) return Usage();
    const std::optional<MovieKind> kind = MovieKindOf(r.output);
    if (!kind) {
        PrintFailure(NoMovieKindMessage(r.output));
        return 1;
    }
    if (!CheckOptions(r, *kind)) return 1;
    FitMovieFrameSize(*kind, r.view.width, r.view.height);

    // The context comes first: the meshes are loaded into the device that draws them.
    std::unique_ptr<OffscreenForCommand> offscreen = MakeOffscreenForCommand(r.output, r.view.width, r.view.height);
    if (!offscreen) return 1;
    EditorSession session;
    Scene& scene = session.GetScene();
    scene.SetRenderDevice(&offscreen->device);
    if (!LoadProjectForCommand(session, r.project, ProjectOpening::Reading)) return 1;
    const int motion = FindMotionForCommand(scene, r.project, r.motionName);
    if (motion < 0) return 1;
    const int length = scene.MotionAt(motion).length;
    if (!r.haveFrames) {
        r.first = 0;
        r.last = *kind == MovieKind::Png ? 0 : length;
    }
    if (r.first < 0 || r.first > r.last || r.last > length) {
        PrintFailure(r.project + ": --frames " + std::to_string(r.first) + "-" + std::to_string(r.last) +
                     ": the Motion \"" + r.motionName + "\" has the frames 0-" + std::to_string(length));
        return 1;
    }
    if (*kind == MovieKind::Png && r.first != r.last) {
        PrintFailure(r.output + ": a .png holds one frame; give --frames F, or NAME%04d.png for one PNG a frame");
        return 1;
    }
    if (const std::vector<std::string> existing = ExistingMovieFiles(r.output, *kind, r.first, r.last);
        !existing.empty() && !r.overwrite) {
        PrintFailure(existing.front() + ": is there already (--overwrite replaces it)");
        return 1;
    }
    if (RefuseReadOnlyOutput(r.output, r.overwrite)) return 1;

    MovieOptions movie;
    movie.framesPerSecond = r.fps;
    movie.quality = r.quality;
    movie.transparent = r.view.background == 0u;
    movie.firstNumber = r.first;
    Expected<std::unique_ptr<MovieWriter>> writer = OpenMovieWriter(r.output, movie);
    if (!writer) {
        PrintFailure(writer.Message());
        return 1;
    }

    const MotionFrameRange range{motion, r.first, r.last};
    PictureViews views = MakePictureViews(scene, r.view);
    // Without a camera the picture holds the model wherever the Motion takes it.
    if (!r.view.camera) FrameWholeMotion(scene, range, views.views);
    const bool showProgress = isatty(STDERR_FILENO) != 0;
    const auto progress = [&](int done) {
        std::fprintf(stderr, "\rrendering %s: frame %d of %d", r.output.c_str(), done, range.Count());
        if (done == range.Count()) std::fputc('\n', stderr);
        return true;
    };
    Outcome drawn = WriteMotionPictures(scene, range, views, offscreen->device, *offscreen->target, **writer,
                                        showProgress ? std::function<bool(int)>(progress) : nullptr);
    FileSetWriter set;
    if (drawn) drawn = (*writer)->Finish(set);
    if (drawn) drawn = set.Commit();
    CommandPrompt prompt(false, r.overwrite);
    ShowRecoveryNotes(set.Recoveries(), prompt);
    if (!drawn) {
        PrintFailure(drawn.Message());
        return 1;
    }

    JsonWriter json;
    json.BeginObject();
    json.Key("written").String(r.output);
    json.Key("kind").String(KindName(*kind));
    json.Key("frames").Int(range.Count());
    json.Key("firstFrame").Int(range.first);
    json.Key("size").BeginArray().Int(r.view.width).Int(r.view.height).EndArray();
    json.Key("fps").Int(r.fps);
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
    return 0;
}

const CliCommandRegistration registration("render", kUsage, Render);

}  // namespace

}  // namespace m3d
