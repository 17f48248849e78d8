// Dragging a key in the curve panel of a 600-frame Motion: each mouse move
// edits the track and samples its curves again for the preview, against
// sampling the curves alone, in the same run. A redraw at 60 frames a second
// leaves 16.7 ms for both.
#include "LargeExportProject.h"

#include "anim/PartCurves.h"
#include "anim/PoseEvaluation.h"
#include "editor/CurvePanelState.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace m3d;
using namespace m3d::largeexport;

namespace {

constexpr int kPart = 50;

// The large project with every key auto-clamped Bezier, Part kPart current.
struct BezierProject : LargeProject {
    BezierProject()
    {
        for (Motion& motion : scene.MutableMotions())
            for (MotionTrack& track : motion.tracks)
                for (KeyFrame& key : track.keys) key.interpolation = KeyInterpolation::AutoClamped();
        session.SelectPart(kPart);
    }
};

// The key at frame 300 picked on its y curve and dragged up and down by a
// few pixels, the preview's curves asked for after each move as a paint does.
void BM_CurvePanelKeyDrag(benchmark::State& state)
{
    BezierProject project;
    CurvePanelState panel(project.session);
    panel.SetPlotArea({100, 10, 1100, 190});
    const PartCurves* curves = panel.Curves();
    const int x = int(std::lround(panel.Plot().XOf(300)));
    const int y = int(std::lround(panel.Plot().YOf(curves->Value(CurveChannel::Y, 300))));
    panel.LeftDown(x, y);
    if (panel.Selection().empty()) state.SkipWithError("no key under the mouse");
    int step = 0;
    for (auto _ : state) {
        panel.MouseMove(x, y - 10 - step % 20);
        benchmark::DoNotOptimize(panel.Curves()->Value(CurveChannel::Y, 300));
        ++step;
    }
    panel.LeftUp();
}
BENCHMARK(BM_CurvePanelKeyDrag)->Unit(benchmark::kMillisecond);

// The baseline: the same Part's curves over the 600 frames, sampled once.
void BM_SampleCurvesOf600Frames(benchmark::State& state)
{
    BezierProject project;
    const Motion& motion = project.scene.MotionAt(9);
    for (auto _ : state)
        benchmark::DoNotOptimize(SampleTrackCurves(motion.tracks[kPart], motion.length, {}, LoopLengthOf(motion)));
}
BENCHMARK(BM_SampleCurvesOf600Frames)->Unit(benchmark::kMillisecond);

}  // namespace
