// Playback of the sample figure as the window shows it: the four views in
// faces mode in a render window of 1280 x 960, one frame of the walk after
// another as fast as the window shows them (the pose of the next frame, then
// the event loop until the render window's frame is out, then glFinish).
// Baseline in the same run: an empty native OpenGL window of the same size,
// cleared and shown the same way. Goal: at least 0.8 of the baseline's rate.
#include "anim/PoseEvaluation.h"
#include "app/CAppForm.h"
#include "app/CAppFrameWnd.h"
#include "app/CAppWinApp.h"
#include "app/RenderWidget.h"
#include "editor/EditorSession.h"
#include "render/RenderFrameworkState.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLWindow>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <memory>

using namespace m3d;

namespace {

constexpr int kRenderWidth = 1280;
constexpr int kRenderHeight = 960;

void Settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A window that only clears itself, counting its frames.
class EmptyWindow : public QOpenGLWindow {
public:
    EmptyWindow() : QOpenGLWindow(QOpenGLWindow::NoPartialUpdate) { setFormat(RenderWidget::RequestedFormat()); }
    int frames = 0;

protected:
    void paintGL() override
    {
        QOpenGLFunctions* gl = context()->functions();
        gl->glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
        gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        ++frames;
    }
};

void EmptyWindowFrames(benchmark::State& state)
{
    EmptyWindow window;
    window.resize(kRenderWidth, kRenderHeight);
    window.show();
    Settle(300);
    for (auto _ : state) {
        const int before = window.frames;
        window.update();
        while (window.frames == before) QCoreApplication::processEvents();
        window.makeCurrent();
        window.context()->functions()->glFinish();
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// The sample figure's window, opened once for the benchmarks below.
struct FigureWindow {
    TempFolder folder;
    EditorSession session;
    RenderFrameworkState framework;
    std::unique_ptr<CAppFrameWnd> frame;

    FigureWindow()
    {
        AppEnvironment environment;
        environment.session = &session;
        environment.framework = &framework;
        environment.settingsPath = folder.File("bench.ini");
        environment.helpPath = M3D_HELP_PAGE;
        frame = OpenMainWindow(environment, std::string(M3D_SAMPLE_FIGURE));
        frame->resize(frame->width() + kRenderWidth + 90 - Form().width(),
                      frame->height() + kRenderHeight + 200 - Form().height());
        Settle(500);
        for (ViewDisplay& display : Form().Displays()) display.drawMode = 1;
        session.SelectMotion(0);
        session.FitWholeModel();
        Settle(200);
    }
    ~FigureWindow() { frame->close(); }
    CAppForm& Form() { return *frame->Form(); }
    RenderWidget& Window() { return *Form().RenderWindow(); }
};

FigureWindow* figure = nullptr;

void FigurePlayback(benchmark::State& state)
{
    CAppForm& form = figure->Form();
    Scene& scene = figure->session.GetScene();
    const int length = std::max(1, scene.MotionAt(0).length);
    RenderWidget& window = figure->Window();
    int next = 0;
    for (auto _ : state) {
        next = (next + 1) % (length + 1);
        const int before = form.FramesDrawn();
        figure->session.SetCurrentFrame(next);
        EvaluatePose(scene, 0, next);
        form.RequestRedraw();
        while (form.FramesDrawn() == before) QCoreApplication::processEvents();
        window.makeCurrent();
        window.context()->functions()->glFinish();
    }
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["render_width"] = window.width();
    state.counters["render_height"] = window.height();
}

// Where a playback frame's time goes: the four views alone, drawn into the
// render window's back buffer without showing it.
void FigureViewsOnly(benchmark::State& state)
{
    RenderWidget& window = figure->Window();
    window.makeCurrent();
    for (auto _ : state) {
        figure->Form().RunFrame();
        window.context()->functions()->glFinish();
    }
}

}  // namespace

BENCHMARK(EmptyWindowFrames)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(300)->Repetitions(3);
BENCHMARK(FigurePlayback)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(300)->Repetitions(3);
BENCHMARK(FigureViewsOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(300)->Repetitions(3);

int main(int argc, char** argv)
{
    QSurfaceFormat::setDefaultFormat(RenderWidget::RequestedFormat());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    FigureWindow shared;
    figure = &shared;
    benchmark::RunSpecifiedBenchmarks();
    figure = nullptr;
    benchmark::Shutdown();
    return 0;
}
