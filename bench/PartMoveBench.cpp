// Re-parenting a Part with 10,000 keys, as the drop in the parts tree runs
// it: the Part's keys re-expressed under the new parent, the Parts
// renumbered and the undo step recorded; and moving that Part's pivot, as
// Parts > Move Pivot runs it. The project is the large one's 100
// Parts in chains of four, with one Motion of 10,000 frames in which every
// Part has a key every 10 frames and the moved Part one on every frame.
#include "LargeExportProject.h"

#include "anim/PartReparenting.h"
#include "editor/PartShapeCommands.h"
#include "editor/PartTreeCommands.h"

#include <benchmark/benchmark.h>

using namespace m3d;

namespace {

constexpr int kMoved = 3;      // the end of the first chain: 0 > 1 > 2 > 3
constexpr int kNewParent = 7;  // the end of the second: 4 > 5 > 6 > 7

std::unique_ptr<largeexport::LargeProject> LongMotionProject()
{
    auto project = std::make_unique<largeexport::LargeProject>();
    Motion motion;
    motion.name = "long";
    motion.length = 9999;
    motion.tracks.resize(100);
    for (int p = 0; p < 100; ++p)
        for (int f = 0; f <= motion.length; f += p == kMoved ? 1 : 10)
            motion.tracks[p].keys.push_back({f, largeexport::KeyPose(p, f)});
    project->scene.MutableMotions().assign(1, std::move(motion));
    project->session.SelectMotion(0);
    project->session.History().Clear();
    return project;
}

void BM_ReparentPartWith10000Keys(benchmark::State& state)
{
    auto project = LongMotionProject();
    EditorSession& session = project->session;
    const TreeItem moved = project->scene.Parts()[kMoved]->treeItem;
    for (auto _ : state) {
        session.SelectTreeItem(moved);
        if (!ReparentCurrentPart(session, kNewParent)) state.SkipWithError("not moved");
        state.PauseTiming();
        session.History().Undo();
        state.ResumeTiming();
    }
    state.counters["keys"] = double(project->scene.Motions()[0].tracks[kMoved].keys.size());
}
BENCHMARK(BM_ReparentPartWith10000Keys)->Unit(benchmark::kMillisecond);

// The keys alone, without the renumbering and the undo step.
void BM_KeysUnderNewParent10000(benchmark::State& state)
{
    auto project = LongMotionProject();
    for (auto _ : state) benchmark::DoNotOptimize(TracksUnderNewParent(project->scene, kMoved, kNewParent));
}
BENCHMARK(BM_KeysUnderNewParent10000)->Unit(benchmark::kMillisecond);

void BM_UndoRedoReparentPart(benchmark::State& state)
{
    auto project = LongMotionProject();
    EditorSession& session = project->session;
    session.SelectPart(kMoved);
    if (!ReparentCurrentPart(session, kNewParent)) state.SkipWithError("not moved");
    for (auto _ : state) {
        session.History().Undo();
        session.History().Redo();
    }
}
BENCHMARK(BM_UndoRedoReparentPart)->Unit(benchmark::kMillisecond);

// Moving the pivot of the Part with a key on every frame: its keys
// re-expressed and checked at every frame, one undo step. Each run moves it
// and back, so two moves a run.
void BM_MovePivotOfPartWith10000Keys(benchmark::State& state)
{
    auto project = LongMotionProject();
    EditorSession& session = project->session;
    session.SelectPart(kMoved);
    for (auto _ : state) {
        if (!MovePivotCommand(session, {0.5f, -2.0f, 0.25f}) || !MovePivotCommand(session, {-0.5f, 2.0f, -0.25f}))
            state.SkipWithError("not moved");
    }
    state.counters["keys"] = double(project->scene.Motions()[0].tracks[kMoved].keys.size());
}
BENCHMARK(BM_MovePivotOfPartWith10000Keys)->Unit(benchmark::kMillisecond);

}  // namespace
