// Evaluating a frame of the large project with every key of one kind: the
// smooth, ease, step and auto-clamped Bezier evaluations against the linear
// one, in the same run.
#include "LargeExportProject.h"

#include "anim/PoseEvaluation.h"

#include <benchmark/benchmark.h>

using namespace m3d;
using namespace m3d::largeexport;

namespace {

KeyInterpolation OfKind(int kind)
{
    switch (kind) {
    case 1: return KeyInterpolation::Smooth();
    case 2: return KeyInterpolation::EaseInOut();
    case 3: return KeyInterpolation::Step();
    case 4: return KeyInterpolation::AutoClamped();
    default: return KeyInterpolation::Linear();
    }
}

// Every frame of the last Motion in turn (7 frames apart, so that the
// segments change from call to call), the world transforms composed as the
// window's playback does.
void BM_EvaluateFrameByInterpolation(benchmark::State& state)
{
    LargeProject project;
    for (Motion& motion : project.scene.MutableMotions())
        for (MotionTrack& track : motion.tracks)
            for (KeyFrame& key : track.keys) key.interpolation = OfKind(static_cast<int>(state.range(0)));
    int frame = 0;
    for (auto _ : state) {
        EvaluatePose(project.scene, 9, frame);
        frame = (frame + 7) % 601;
    }
    benchmark::DoNotOptimize(project.scene.Parts()[99]->localPosition);
    state.SetLabel(InterpolationName(OfKind(static_cast<int>(state.range(0)))));
}
BENCHMARK(BM_EvaluateFrameByInterpolation)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

}  // namespace
