// One step of a gizmo drag on the large project (LargeExportProject.h: 100
// Parts, 10 Motions of 600 frames) as the window makes it: a mouse move sent
// to the render window with a handle of the selected Part's gizmo held, the
// pose it gives (the Part, the three below it, the transform panel's fields),
// and the four views drawn again, up to glFinish: pose_ms is the mouse move's
// handling, draw_ms what the event loop does next until the render window's
// frame is out. Goal: one frame at 60 fps.
#include "LargeExportProject.h"

#include "anim/PoseEvaluation.h"
#include "app/CAppForm.h"
#include "app/CAppFrameWnd.h"
#include "app/CAppWinApp.h"
#include "app/RenderWidget.h"
#include "render/RenderFrameworkState.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLVersionFunctionsFactory>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>

using namespace m3d;

namespace {

constexpr int kRenderWidth = 1280;
constexpr int kRenderHeight = 960;
constexpr int kFrontView = 2;
// The first Part of the second chain: three Parts hang below it.
constexpr int kDragged = 4;

void Settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Bench {
    largeexport::LargeProject project;
    EditorSession& session = project.session;
    RenderFrameworkState framework;
    std::unique_ptr<CAppFrameWnd> frame;

    Bench()
    {
        AppEnvironment environment;
        environment.session = &session;
        environment.framework = &framework;
        environment.settingsPath = project.folder + "/bench.ini";
        environment.helpPath = M3D_HELP_PAGE;
        frame = OpenMainWindow(environment, std::nullopt);
        frame->resize(frame->width() + kRenderWidth + 90 - Form().width(),
                      frame->height() + kRenderHeight + 200 - Form().height());
        Settle(500);
        for (ViewDisplay& display : Form().Displays()) display.drawMode = 1;
        session.SetCurrentFrame(300);
        EvaluatePose(session.GetScene(), session.CurrentMotion(), 300);
        session.FitWholeModel();
        session.SelectPart(kDragged);
        Settle(200);
    }
    CAppForm& Form() { return *frame->Form(); }
    RenderWidget& Window() { return *Form().RenderWindow(); }

    // A pixel of the Front view on handle of the selected Part's gizmo.
    QPoint HandlePixel(GizmoHandle handle)
    {
        const Vec3 pivot = session.GetScene().WorldMatrixOf(kDragged).Translation();
        const PixelPoint c = *session.Views().PixelOf(kFrontView, pivot);
        for (int radius = 30; radius <= 100; radius += 2)
            for (int k = 0; k < 90; ++k) {
                const int x = int(std::lround(c.x + float(radius) * std::cos(float(k) * 0.0698132f)));
                const int y = int(std::lround(c.y + float(radius) * std::sin(float(k) * 0.0698132f)));
                if (session.Posing().HandleAt(kFrontView, x, y) == handle) return {x, y};
            }
        std::abort();
    }
    void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(type, QPointF(p), QPointF(Window().mapToGlobal(p)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&Window(), &event);
    }
};

Bench* bench = nullptr;

// Holds handle and times steps that go back and forth over 60 pixels.
void DragSteps(benchmark::State& state, GizmoHandle handle)
{
    const QPoint press = bench->HandlePixel(handle);
    bench->Send(QEvent::MouseButtonPress, press, Qt::LeftButton, Qt::LeftButton);
    RenderWidget& window = bench->Window();
    double poseSeconds = 0, drawSeconds = 0, worst = 0;
    int step = 0;
    for (auto _ : state) {
        ++step;
        const int offset = 60 - std::abs(step % 120 - 60);
        const int framesBefore = bench->Form().FramesDrawn();
        QElapsedTimer timer;
        timer.start();
        bench->Send(QEvent::MouseMove, press + QPoint(offset, offset / 3), Qt::NoButton, Qt::LeftButton);
        const double posed = double(timer.nsecsElapsed()) * 1e-9;
        // What the event loop does next: the render window's frame (and the fields' repaint).
        while (bench->Form().FramesDrawn() == framesBefore) QCoreApplication::processEvents();
        window.makeCurrent();
        QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_3_3_Core>(window.context())->glFinish();
        const double total = double(timer.nsecsElapsed()) * 1e-9;
        poseSeconds += posed;
        drawSeconds += total - posed;
        worst = std::max(worst, total);
    }
    bench->Send(QEvent::MouseButtonRelease, press, Qt::LeftButton, Qt::NoButton);
    bench->session.History().Undo();
    const double steps = double(state.iterations());
    state.counters["pose_ms"] = poseSeconds / steps * 1e3;
    state.counters["draw_ms"] = drawSeconds / steps * 1e3;
    state.counters["step_ms"] = (poseSeconds + drawSeconds) / steps * 1e3;
    state.counters["worst_step_ms"] = worst * 1e3;
}

// Baselines: the four views alone, drawn straight into the render window's
// buffer; and the render window repainted with nothing changed, as the event
// loop does it (the views, then Qt composing the window and handing it to X).
void ViewsOnly(benchmark::State& state)
{
    RenderWidget& window = bench->Window();
    window.makeCurrent();
    auto* gl = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_3_3_Core>(window.context());
    for (auto _ : state) {
        bench->Form().RunFrame();
        gl->glFinish();
    }
}
BENCHMARK(ViewsOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(100)->Repetitions(2);

void RepaintOnly(benchmark::State& state)
{
    RenderWidget& window = bench->Window();
    for (auto _ : state) {
        const int framesBefore = bench->Form().FramesDrawn();
        window.RequestFrame();
        while (bench->Form().FramesDrawn() == framesBefore) QCoreApplication::processEvents();
        window.makeCurrent();
        QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_3_3_Core>(window.context())->glFinish();
    }
}
BENCHMARK(RepaintOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(100)->Repetitions(2);

void ArrowDragStep(benchmark::State& state) { DragSteps(state, GizmoHandle::MoveX); }
void RingDragStep(benchmark::State& state) { DragSteps(state, GizmoHandle::RotateZ); }

}  // namespace

BENCHMARK(ArrowDragStep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200)->Repetitions(3);
BENCHMARK(RingDragStep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200)->Repetitions(3);

int main(int argc, char** argv)
{
    QSurfaceFormat::setDefaultFormat(RenderWidget::RequestedFormat());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Bench shared;
    bench = &shared;
    benchmark::RunSpecifiedBenchmarks();
    bench = nullptr;
    benchmark::Shutdown();
    return 0;
}
