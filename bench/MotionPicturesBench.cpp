// The render command's pictures of the sample figure's walk: 120 frames
// (the walk's frames 0-39 three times) at 640 x 480 drawn offscreen on the
// surfaceless EGL context and read back, alone and then encoded as an
// animated WebP written into a file set, as `render` does: lossless (the
// default, argument -1) and lossy at quality 80.
#include "gl/EglContext.h"
#include "gl/GlRenderDevice.h"
#include "gl/OffscreenDrawing.h"
#include "gl/OffscreenTarget.h"
#include "io/FileSetWriter.h"
#include "anim/PoseEvaluation.h"
#include "pictures/MotionPictures.h"
#include "pictures/MovieFile.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "view/PictureViews.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

using namespace m3d;

namespace {

constexpr int kRounds = 3;
constexpr int kFramesARound = 40;

// The context, the device, the framebuffer and the loaded sample, made once.
struct Pictures {
    std::unique_ptr<EglContext> context;
    GlRenderDevice device;
    std::unique_ptr<OffscreenTarget> target;
    Scene scene;
    std::optional<PictureViews> views;
    bool ready = false;

    Pictures()
    {
        Expected<std::unique_ptr<EglContext>> made = EglContext::Create();
        if (!made) return;
        context = std::move(*made);
        Expected<std::unique_ptr<OffscreenTarget>> framebuffer = OffscreenTarget::Create(640, 480);
        if (!device.Initialize() || !framebuffer) return;
        target = std::move(*framebuffer);
        scene.SetRenderDevice(&device);
        if (!LoadProject(scene, M3D_SAMPLE_FIGURE, ProjectOpening::Reading).outcome) return;
        EvaluatePose(scene, 0, 0);
        views = MakePictureViews(scene, PictureViewOptions());
        ready = true;
    }
};

Pictures& Shared()
{
    static Pictures pictures;
    return pictures;
}

void BM_DrawFramesAlone(benchmark::State& state)
{
    Pictures& p = Shared();
    if (!p.ready) return state.SkipWithError("no offscreen OpenGL context or no sample figure");
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round)
            for (int frame = 0; frame < kFramesARound; ++frame) {
                EvaluatePose(p.scene, 0, frame);
                benchmark::DoNotOptimize(DrawOffscreen(p.device, *p.target, p.views->Inputs(p.scene)));
            }
    }
    state.counters["frames"] = kRounds * kFramesARound;
}

void BM_RenderToWebP(benchmark::State& state)
{
    Pictures& p = Shared();
    if (!p.ready) return state.SkipWithError("no offscreen OpenGL context or no sample figure");
    const std::string folder = std::filesystem::temp_directory_path() / ("m3d-pictures-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/walk.webp";
    for (auto _ : state) {
        MovieOptions options;
        if (state.range(0) >= 0) options.quality = int(state.range(0));
        Expected<std::unique_ptr<MovieWriter>> writer = OpenMovieWriter(path, options);
        Outcome done = writer.Status();
        for (int round = 0; round < kRounds && done; ++round)
            done = WriteMotionPictures(p.scene, {0, 0, kFramesARound - 1}, *p.views, p.device, *p.target, **writer);
        FileSetWriter set;
        if (done) done = (*writer)->Finish(set);
        if (done) done = set.Commit();
        if (!done) return state.SkipWithError(done.Message().c_str());
    }
    state.counters["bytes"] = double(std::filesystem::file_size(path));
    std::filesystem::remove_all(folder);
}

}  // namespace

BENCHMARK(BM_DrawFramesAlone)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_RenderToWebP)->Arg(-1)->Arg(80)->Unit(benchmark::kMillisecond)->MinTime(2.0);
