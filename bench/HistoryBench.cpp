// Undo and redo of every kind of step on the large project (100 Parts with
// geometry, 10 Motions of 600 frames, a key every 5 frames): each benchmark
// makes its step once, then times Undo followed by Redo, as the buttons run
// them (the panels' refresh events and the title with its unsaved mark
// included). Evaluating one frame of the Motion is the baseline.
#include "LargeExportProject.h"

#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "editor/MotionCommands.h"
#include "editor/OptionCommands.h"
#include "editor/PartCommands.h"
#include "editor/SymmetryEditor.h"
#include "meshlib/CMesh.h"
#include "scene/DocumentFingerprint.h"

#include <benchmark/benchmark.h>

#include <functional>

using namespace m3d;

namespace {

// A fresh large project with nothing unsaved, its Motion 9 current at frame 300 and Part 5 selected.
std::unique_ptr<largeexport::LargeProject> FreshProject()
{
    auto project = std::make_unique<largeexport::LargeProject>();
    project->session.SelectPart(5);
    project->session.SetCurrentFrame(300);
    EvaluatePose(project->scene, 9, 300);
    project->session.History().Clear();
    project->session.History().MarkSaved();
    return project;
}

// farFromSave: an earlier step (a key set) lies between the save and the
// step timed, so the unsaved mark cannot be told from the steps alone.
void UndoRedo(benchmark::State& state, const std::function<void(largeexport::LargeProject&)>& makeStep)
{
    auto project = FreshProject();
    const bool farFromSave = state.range(0) != 0;
    if (farFromSave) {
        project->session.SelectPart(7);
        project->session.Timeline().SetKeyHere();
        project->session.SelectPart(5);
    }
    makeStep(*project);
    DocumentHistory& history = project->session.History();
    if (history.StepCount() != 1 + farFromSave) state.SkipWithError("the command recorded no step");
    for (auto _ : state) {
        history.Undo();
        history.Redo();
    }
    state.counters["step_bytes"] = double(history.Bytes());
}

void BM_UndoRedoSetKey(benchmark::State& state)
{
    UndoRedo(state, [](largeexport::LargeProject& p) {
        p.scene.Parts()[5]->localPosition.x += 1;
        p.session.Timeline().SetKeyHere();
    });
}
BENCHMARK(BM_UndoRedoSetKey)->Arg(0)->Arg(1)->ArgNames({"far_from_save"})->Unit(benchmark::kMicrosecond);

void BM_UndoRedoPoseEdit(benchmark::State& state)
{
    UndoRedo(state, [](largeexport::LargeProject& p) {
        p.scene.Parts()[5]->localPosition.x += 1;
        p.session.History().PushUndo("move");
    });
}
BENCHMARK(BM_UndoRedoPoseEdit)->Arg(0)->Arg(1)->ArgNames({"far_from_save"})->Unit(benchmark::kMicrosecond);

void BM_UndoRedoMirrorMotion(benchmark::State& state)
{
    UndoRedo(state, [](largeexport::LargeProject& p) { MirrorMotionCommand(p.session); });
}
BENCHMARK(BM_UndoRedoMirrorMotion)->Arg(0)->Arg(1)->ArgNames({"far_from_save"})->Unit(benchmark::kMicrosecond);

void BM_UndoRedoShortenMotion(benchmark::State& state)
{
    UndoRedo(state, [](largeexport::LargeProject& p) { SetMotionLengthCommand(p.session, 100); });
}
BENCHMARK(BM_UndoRedoShortenMotion)->Arg(0)->Arg(1)->ArgNames({"far_from_save"})->Unit(benchmark::kMicrosecond);

void BM_UndoRedoDeleteMotion(benchmark::State& state)
{
    UndoRedo(state, [](largeexport::LargeProject& p) { DeleteMotionCommand(p.session); });
}
BENCHMARK(BM_UndoRedoDeleteMotion)->Arg(0)->Arg(1)->ArgNames({"far_from_save"})->Unit(benchmark::kMicrosecond);

void BM_UndoRedoDeletePartWithSubtree(benchmark::State& state)
{
    UndoRedo(state, [](largeexport::LargeProject& p) {
        p.session.SelectPart(4);  // a chain of four
        DeleteCurrentPart(p.session);
    });
}
BENCHMARK(BM_UndoRedoDeletePartWithSubtree)->Arg(0)->Arg(1)->ArgNames({"far_from_save"})->Unit(benchmark::kMicrosecond);

void BM_UndoRedoAddPart(benchmark::State& state)
{
    UndoRedo(state, [](largeexport::LargeProject& p) {
        const std::string path = p.folder + "/added.mesh";
        Outcome added = p.scene.Parts()[0]->mesh->SaveMeshFile(path);
        if (added) added = AddObject(p.session, path);
        if (!added) std::fprintf(stderr, "%s\n", added.Message().c_str());
    });
}
BENCHMARK(BM_UndoRedoAddPart)->Arg(0)->Arg(1)->ArgNames({"far_from_save"})->Unit(benchmark::kMicrosecond);

void BM_UndoRedoScale(benchmark::State& state)
{
    UndoRedo(state, [](largeexport::LargeProject& p) { ScaleCommand(p.session, 3.0f); });
}
BENCHMARK(BM_UndoRedoScale)->Arg(0)->Arg(1)->ArgNames({"far_from_save"})->Unit(benchmark::kMicrosecond);

void BM_UndoRedoSymmetry(benchmark::State& state)
{
    UndoRedo(state, [](largeexport::LargeProject& p) {
        SymmetryEditor editor(p.session);
        SymmetryEditor::EditValues values = editor.VisibleValues();
        values[0] = 1;
        values[1] = 0;
        editor.Apply(values);
    });
}
BENCHMARK(BM_UndoRedoSymmetry)->Arg(0)->Arg(1)->ArgNames({"far_from_save"})->Unit(benchmark::kMicrosecond);

// Baseline: showing one frame of the Motion (what every playback step does).
void BM_EvaluateOneFrame(benchmark::State& state)
{
    auto project = FreshProject();
    int frame = 0;
    for (auto _ : state) EvaluatePose(project->scene, 9, frame++ % 600);
}
BENCHMARK(BM_EvaluateOneFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

namespace {

// What the unsaved mark costs when the steps alone cannot tell: the whole document digested afresh.
void BM_DocumentFingerprint(benchmark::State& state)
{
    auto project = FreshProject();
    for (auto _ : state) benchmark::DoNotOptimize(DocumentFingerprint(project->scene));
    state.SetBytesProcessed(int64_t(state.iterations()) * 10 * 100 * 121 * int64_t(sizeof(KeyFrame)));
}
BENCHMARK(BM_DocumentFingerprint)->Unit(benchmark::kMicrosecond);

}  // namespace
