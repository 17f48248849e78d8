// The curve panel and the motion path on a large project: 100 Parts in ten
// chains of ten, 10 Motions of 600 frames, every track keyed every 10 frames
// with linear, smooth and ease keys. Each measured step is one edit through
// the registry's interpolation command (one undo step, MotionKeysChanged)
// followed by what the window does next: the curve panel painted again
// (its curves sampled again), or the views' motion path worked out again.
// Against them, the same paint with nothing changed.
#include "app/CurvePanel.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "editor/MotionPathDisplay.h"
#include "anim/MotionOperations.h"
#include "support/SceneFixtures.h"
#include "view/RotationAngles.h"
#include "view/WindowLayout.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace m3d;

namespace {

constexpr int kChains = 10, kChainLength = 10, kMotions = 10, kLength = 600, kKeyStep = 10;

struct LargeProject {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    int deepest = -1;  // the last Part of the last chain, ten Parts down

    LargeProject()
    {
        for (int chain = 0; chain < kChains; ++chain) {
            session.SelectPart(-1);
            for (int link = 0; link < kChainLength; ++link)
                deepest = AddCube(session, folder, "p" + std::to_string(chain) + "_" + std::to_string(link) + ".mqo");
        }
        const KeyInterpolation kinds[] = {KeyInterpolation::Linear(), KeyInterpolation::Smooth(),
                                          KeyInterpolation::EaseInOut()};
        for (int m = 0; m < kMotions; ++m) {
            if (!NewMotionCommand(session, "m" + std::to_string(m)) || !SetMotionLengthCommand(session, kLength))
                std::abort();
            for (int part = 0; part < scene.PartCount(); ++part)
                for (int frame = 0; frame <= kLength; frame += kKeyStep) {
                    Matrix4 key = RotationFromAngles({float(frame + part), float(frame % 70) - 35, float(m * 7)});
                    key.SetTranslation({float(frame % 40), float(part), float(frame) * 0.1f});
                    SetKeyMatrix(scene, m, part, frame, key, kinds[(frame / kKeyStep + part) % 3]);
                }
        }
        session.SelectMotion(kMotions / 2);
        session.SelectPart(deepest);
        session.SetCurrentFrame(kLength / 2);
        session.History().Clear();
    }

    // One edit as the menu makes it: the current key between ease-in-out and smooth.
    void Edit(int i)
    {
        session.Timeline().SetInterpolation(i % 2 ? KeyInterpolation::EaseInOut() : KeyInterpolation::Smooth());
    }
};

LargeProject* project = nullptr;

// The panel as wide as in a 1600-pixel window, painted into an image of its
// size as its paint event paints it on screen.
struct PaintedPanel {
    CurvePanel panel{project->session, nullptr};
    QImage image{1600 - kRenderWindowLeft, kCurvePanelHeight, QImage::Format_ARGB32_Premultiplied};
    PaintedPanel()
    {
        panel.resize(image.size());
        Paint();
    }
    void Paint() { panel.render(&image); }
};

void CurvePanelAfterAnEdit(benchmark::State& state)
{
    PaintedPanel painted;
    int i = 0;
    for (auto _ : state) {
        project->Edit(++i);
        painted.Paint();
    }
}
BENCHMARK(CurvePanelAfterAnEdit)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50)->Repetitions(3);

void CurvePanelUnchanged(benchmark::State& state)
{
    PaintedPanel painted;
    for (auto _ : state) painted.Paint();
}
BENCHMARK(CurvePanelUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50)->Repetitions(3);

void EditAlone(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state) project->Edit(++i);
}
BENCHMARK(EditAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50)->Repetitions(3);

void MotionPathAfterAnEdit(benchmark::State& state)
{
    MotionPathDisplay path(project->session);
    project->session.Displays()[1].motionPath = 1;
    int i = 0;
    for (auto _ : state) {
        project->Edit(++i);
        benchmark::DoNotOptimize(path.Drawing());
    }
    project->session.Displays()[1].motionPath = 0;
}
BENCHMARK(MotionPathAfterAnEdit)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50)->Repetitions(3);

}  // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    LargeProject shared;
    project = &shared;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    project = nullptr;
    return 0;
}
