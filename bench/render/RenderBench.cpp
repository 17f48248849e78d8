// Drawing the four views of 100 Parts with 1,000,000 triangles in all, faces
// mode, in a 1280 x 960 render window, against a bare OpenGL loop that draws
// the same strips in the same context with a minimal lit shader; and the CPU
// time the program spends in ten seconds of an idle window; and playback of a
// Motion of those Parts at 30 frames per second; and the onion skin's cost.
#include "app/CAppForm.h"
#include "app/CAppFrameWnd.h"
#include "app/CAppWinApp.h"
#include "app/CommandIds.h"
#include "app/MotionPanel.h"
#include "app/RenderWidget.h"
#include "meshlib/CMesh.h"
#include "meshlib/LoadedModel.h"
#include "render/RenderFrameworkState.h"
#include "scene/Scene.h"
#include "support/TempFolder.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QOpenGLFunctions_3_3_Core>
#include <QPushButton>
#include <QOpenGLShaderProgram>
#include <QOpenGLVersionFunctionsFactory>
#include <QSurfaceFormat>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cmath>
#include <ctime>
#include <memory>

using namespace m3d;

namespace {

constexpr int kParts = 100;
constexpr int kSlices = 100;
constexpr int kStacks = 51;  // kSlices x (2 kStacks - 2) = 10,000 triangles a Part
constexpr int kRenderWidth = 1280;
constexpr int kRenderHeight = 960;

// A closed sphere facing outward (clockwise seen from outside).
LoadedModel Sphere(float r)
{
    LoadedModel model;
    const float pi = 3.14159265f;
    auto vertex = [&](int s, int k) {
        const float phi = pi * float(s) / float(kStacks), theta = 2 * pi * float(k) / float(kSlices);
        _MESH_VERTEX v;
        v.nx = std::sin(phi) * std::cos(theta);
        v.ny = std::cos(phi);
        v.nz = std::sin(phi) * std::sin(theta);
        v.x = r * v.nx;
        v.y = r * v.ny;
        v.z = r * v.nz;
        return v;
    };
    for (int s = 0; s <= kStacks; ++s)
        for (int k = 0; k <= kSlices; ++k) model.vertices.push_back(vertex(s, k));
    auto id = [](int s, int k) { return uint32_t(s * (kSlices + 1) + k); };
    for (int s = 0; s < kStacks; ++s)
        for (int k = 0; k < kSlices; ++k) {
            if (s != 0) model.indices.insert(model.indices.end(), {id(s, k), id(s, k + 1), id(s + 1, k)});
            if (s != kStacks - 1)
                model.indices.insert(model.indices.end(), {id(s, k + 1), id(s + 1, k + 1), id(s + 1, k)});
        }
    model.triangleMaterials.assign(model.indices.size() / 3, 0);
    ModelMaterial m;
    m.diffuse = {0.8f, 0.7f, 0.6f, 1.0f};
    m.ambient = {0.8f, 0.7f, 0.6f, 1.0f};
    model.materials.push_back(m);
    return model;
}

// The program's window with the scene loaded, as the benchmarks share it.
struct Bench {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    RenderFrameworkState framework;
    std::unique_ptr<CAppFrameWnd> frame;
    int triangles = 0;

    Bench()
    {
        CMesh mesh;
        const std::string path = folder.File("ball.mesh");
        if (!mesh.LoadModel(Sphere(40.0f), path, 1.0f) || !mesh.SaveMeshFile(path)) std::abort();
        AppEnvironment environment;
        environment.session = &session;
        environment.framework = &framework;
        environment.settingsPath = folder.File("bench.ini");
        environment.helpPath = M3D_HELP_PAGE;
        frame = OpenMainWindow(environment, std::nullopt);
        for (int i = 0; i < kParts; ++i) {
            scene.SelectTreeItem(scene.rootPart.treeItem);
            scene.AddPartFromFile(path);
            scene.Parts().back()->localPosition = {float(i % 10) * 100.0f - 450.0f, 0.0f,
                                                   float(i / 10) * 100.0f - 450.0f};
            triangles += scene.Parts().back()->mesh->GetFaceNum();
        }
        scene.UpdateHierarchy(0);
        frame->resize(frame->width() + kRenderWidth + 90 - Form().width(),
                      frame->height() + kRenderHeight + 200 - Form().height());
        Settle(500);
        for (ViewDisplay& display : Form().Displays()) display.drawMode = 1;
        Form().Views().scale = 2.0f;
    }
    CAppForm& Form() { return *frame->Form(); }
    RenderWidget& Window() { return *Form().RenderWindow(); }
    static void Settle(int ms)
    {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }
};

Bench* bench = nullptr;

double ProcessCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The same strips, viewports, clears, depth test and culling, drawn by the
// least code that can: one VAO per sub-mesh, one shader with one light.
class BareLoop {
public:
    explicit BareLoop(QOpenGLFunctions_3_3_Core* functions) : gl(functions)
    {
        program.addShaderFromSourceCode(QOpenGLShader::Vertex, R"(#version 330 core
layout(location = 0) in vec3 p;
layout(location = 1) in vec3 n;
uniform mat4 mvp;
out vec3 c;
void main() { gl_Position = mvp * vec4(p, 1.0); c = vec3(0.2 + 0.8 * max(dot(n, vec3(0.4, 0.4, -0.8)), 0.0)); }
)");
        program.addShaderFromSourceCode(QOpenGLShader::Fragment, R"(#version 330 core
in vec3 c;
out vec4 o;
void main() { o = vec4(c, 1.0); }
)");
        program.link();
        Scene& scene = bench->scene;
        for (int i = 0; i < scene.PartCount(); ++i) {
            const CMesh& mesh = *scene.Parts()[i]->mesh;
            unsigned vbo = 0;
            gl->glGenBuffers(1, &vbo);
            gl->glBindBuffer(GL_ARRAY_BUFFER, vbo);
            gl->glBufferData(GL_ARRAY_BUFFER, mesh.GetVertexNum() * sizeof(_MESH_VERTEX), mesh.GetVertex(0),
                             GL_STATIC_DRAW);
            buffers.push_back(vbo);
            for (int k = 0; k < mesh.GetMeshNum(); ++k) {
                const _MESH_MESHDATA& sub = *mesh.GetMesh(k);
                Draw d{0, sub.indexCount, int(sub.baseVertex), i};
                gl->glGenVertexArrays(1, &d.vao);
                gl->glBindVertexArray(d.vao);
                gl->glBindBuffer(GL_ARRAY_BUFFER, vbo);
                gl->glEnableVertexAttribArray(0);
                gl->glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(_MESH_VERTEX), nullptr);
                gl->glEnableVertexAttribArray(1);
                gl->glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(_MESH_VERTEX), reinterpret_cast<void*>(12));
                unsigned ibo = 0;
                gl->glGenBuffers(1, &ibo);
                gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo);
                gl->glBufferData(GL_ELEMENT_ARRAY_BUFFER, sub.indexCount * 2, sub.indices.data(), GL_STATIC_DRAW);
                buffers.push_back(ibo);
                draws.push_back(d);
            }
        }
        gl->glBindVertexArray(0);
    }
    ~BareLoop()
    {
        for (const Draw& d : draws) gl->glDeleteVertexArrays(1, &d.vao);
        gl->glDeleteBuffers(GLsizei(buffers.size()), buffers.data());
    }

    void Frame()
    {
        Scene& scene = bench->scene;
        const ViewState& views = bench->session.Views();
        const int height = bench->Window().height();
        gl->glEnable(GL_DEPTH_TEST);
        gl->glEnable(GL_CULL_FACE);
        gl->glFrontFace(GL_CW);
        gl->glEnable(GL_SCISSOR_TEST);
        program.bind();
        const int mvp = program.uniformLocation("mvp");
        for (int v = 0; v < ViewState::kViewCount; ++v) {
            const PixelRect r = views.Viewport(v);
            gl->glViewport(r.left, height - r.bottom, r.Width(), r.Height());
            gl->glScissor(r.left, height - r.bottom, r.Width(), r.Height());
            gl->glClearColor(0.1f, 0.1f, 0.1f, 1.0f);
            gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            Matrix4 toGl;  // depth 0 ... 1 into -1 ... 1
            toGl.m[2][2] = 2.0f;
            toGl.m[3][2] = -1.0f;
            const Matrix4 viewProjection = views.ViewMatrix(v) * views.ProjectionMatrix(v) * toGl;
            int part = -1;
            for (const Draw& d : draws) {
                if (d.part != part) {
                    part = d.part;
                    float m[16];
                    (scene.Parts()[part]->mesh->GetMatrix() * viewProjection).ToArray(m);
                    gl->glUniformMatrix4fv(mvp, 1, GL_FALSE, m);
                }
                gl->glBindVertexArray(d.vao);
                gl->glDrawElementsBaseVertex(GL_TRIANGLE_STRIP, d.count, GL_UNSIGNED_SHORT, nullptr, d.base);
            }
        }
        gl->glBindVertexArray(0);
        gl->glDisable(GL_SCISSOR_TEST);
        gl->glDisable(GL_CULL_FACE);
        gl->glFinish();
    }

private:
    struct Draw {
        unsigned vao;
        int count;
        int base;
        int part;
    };
    QOpenGLFunctions_3_3_Core* gl;
    QOpenGLShaderProgram program;
    std::vector<Draw> draws;
    std::vector<unsigned> buffers;
};

// Program and bare frames alternate, so a change in the machine's load falls
// on both alike; the ratio of their sums is the figure to compare.
void ProgramAgainstBareLoop(benchmark::State& state)
{
    RenderWidget& window = bench->Window();
    window.makeCurrent();
    auto* gl = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_3_3_Core>(window.context());
    BareLoop bare(gl);
    bench->Form().RunFrame();  // uploads the meshes once
    gl->glFinish();
    bare.Frame();
    double programSeconds = 0, bareSeconds = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        bench->Form().RunFrame();
        gl->glFinish();
        programSeconds += double(timer.nsecsElapsed()) * 1e-9;
        timer.restart();
        bare.Frame();
        bareSeconds += double(timer.nsecsElapsed()) * 1e-9;
    }
    window.doneCurrent();
    const double frames = double(state.iterations());
    state.counters["program_ms"] = programSeconds / frames * 1e3;
    state.counters["bare_ms"] = bareSeconds / frames * 1e3;
    state.counters["ratio"] = programSeconds / bareSeconds;
    state.counters["triangles_per_view"] = bench->triangles;
    state.counters["gpu_meshes"] = double(bench->Form().Device().CachedGeometryCount());
}

// Ten seconds of the window with nothing to do.
void IdleWindow(benchmark::State& state)
{
    for (auto _ : state) {
        Bench::Settle(300);
        const int framesBefore = bench->Form().FramesDrawn();
        const double cpuBefore = ProcessCpuSeconds();
        Bench::Settle(10000);
        state.counters["cpu_seconds_in_10s"] = ProcessCpuSeconds() - cpuBefore;
        state.counters["frames_in_10s"] = bench->Form().FramesDrawn() - framesBefore;
    }
}

// A Motion of 61 frames that moves every Part 200 units up from frame 0 to 30.
void MakeMotion()
{
    EditorSession& session = bench->session;
    if (!session.GetScene().Motions().empty()) return;
    NewMotionCommand(session, "bench");
    for (int i = 0; i < kParts; ++i)
        SetKeyMatrix(bench->scene, 0, i, 30,
                     MatrixTranslation(0.0f, 200.0f, 0.0f) * bench->scene.Parts()[i]->mesh->GetMatrix());
}

// Five seconds of playback at 30 frames per second of a Motion that moves
// every Part; the step times are read from a monotonic clock at each step.
// The motion panel with a Motion of 61 frames that moves every Part (keys at 0 and 30), at 30 frames a second.
MotionPanel& PlaybackPanel()
{
    MakeMotion();
    MotionPanel& panel = *bench->Form().findChild<MotionPanel*>(IdName(IDD_MOTION_PANEL));
    bench->session.Playback().SetFramesPerSecond(30);
    return panel;
}

void PlaybackAt30Fps(benchmark::State& state)
{
    EditorSession& session = bench->session;
    MotionPanel& panel = PlaybackPanel();
    QElapsedTimer clock;
    clock.start();
    std::vector<double> stepTimes;
    EditorSubscription steps = session.Events().Subscribe([&](const EditorEvent& event) {
        if (std::holds_alternative<CurrentFrameChanged>(event) && session.IsPlaying())
            stepTimes.push_back(double(clock.nsecsElapsed()) * 1e-6);
    });
    for (auto _ : state) {
        const int framesBefore = bench->Form().FramesDrawn();
        const double cpuBefore = ProcessCpuSeconds();
        clock.restart();
        stepTimes.clear();
        panel.findChild<QPushButton*>(IdName(IDC_MOTION_PLAY))->click();
        Bench::Settle(5000);
        panel.findChild<QPushButton*>(IdName(IDC_MOTION_STOP))->click();
        const double seconds = double(clock.nsecsElapsed()) * 1e-9;
        state.counters["steps_per_second"] = double(stepTimes.size()) / seconds;
        state.counters["frames_drawn_per_second"] = double(bench->Form().FramesDrawn() - framesBefore) / seconds;
        state.counters["cpu_share"] = (ProcessCpuSeconds() - cpuBefore) / seconds;
        double minimum = 1e9, maximum = 0, sum = 0, squares = 0;
        for (size_t i = 1; i < stepTimes.size(); ++i) {
            const double interval = stepTimes[i] - stepTimes[i - 1];
            minimum = std::min(minimum, interval);
            maximum = std::max(maximum, interval);
            sum += interval;
            squares += interval * interval;
        }
        const double n = double(stepTimes.size() - 1);
        state.counters["interval_mean_ms"] = sum / n;
        state.counters["interval_min_ms"] = minimum;
        state.counters["interval_max_ms"] = maximum;
        state.counters["interval_sd_ms"] = std::sqrt(std::max(0.0, squares / n - (sum / n) * (sum / n)));
    }
}

// Real-time playback for 10 s: how much of the Motion's time was shown
// against the wall clock, from the first frame shown to the last.
void RealTimePlaybackAt30Fps(benchmark::State& state)
{
    EditorSession& session = bench->session;
    MotionPanel& panel = PlaybackPanel();
    session.Playback().SetRealTime(true);
    const int framesALoop = session.GetScene().Motions()[0].length + 1;
    QElapsedTimer clock;
    int64_t advanced = 0;
    int lastFrame = -1, shown = 0;
    double firstMs = 0, lastMs = 0;
    EditorSubscription steps = session.Events().Subscribe([&](const EditorEvent& event) {
        const auto* changed = std::get_if<CurrentFrameChanged>(&event);
        if (changed == nullptr || !session.IsPlaying()) return;
        const double now = double(clock.nsecsElapsed()) * 1e-6;
        if (lastFrame < 0)
            firstMs = now;
        else
            advanced += (changed->frame - lastFrame + framesALoop) % framesALoop;
        lastFrame = changed->frame;
        lastMs = now;
        ++shown;
    });
    for (auto _ : state) {
        advanced = 0;
        lastFrame = -1;
        shown = 0;
        clock.restart();
        panel.findChild<QPushButton*>(IdName(IDC_MOTION_PLAY))->click();
        Bench::Settle(10000);
        const double achieved = session.Playback().AchievedFramesPerSecond();
        panel.findChild<QPushButton*>(IdName(IDC_MOTION_STOP))->click();
        const double wallSeconds = (lastMs - firstMs) * 1e-3;
        const double motionSeconds = double(advanced) / 30.0;
        state.counters["wall_s"] = wallSeconds;
        state.counters["motion_s"] = motionSeconds;
        // The Motion's duration (61 frames, 2.033 s as set) as it played.
        state.counters["loop_s"] = double(framesALoop) / 30.0 * wallSeconds / motionSeconds;
        state.counters["duration_error_percent"] = 100.0 * (wallSeconds / motionSeconds - 1.0);
        state.counters["frames_drawn_per_second"] = double(shown - 1) / wallSeconds;
        state.counters["rate_shown_fps"] = achieved;
    }
    session.Playback().SetRealTime(false);
}
BENCHMARK(RealTimePlaybackAt30Fps)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1)->Repetitions(2);

// Frames with the onion skin on in all four views against the same frames
// without it, alternating. The current frame lies halfway between the keys,
// so the ghosts of frames 0 and 30 and the pose of frame 15 are all apart on
// screen; the cost is what the onion skin adds to one pose's frame.
void OnionSkinAgainstOnePose(benchmark::State& state)
{
    EditorSession& session = bench->session;
    MakeMotion();
    session.SelectMotion(0);
    session.SetCurrentFrame(15);
    EvaluatePose(bench->scene, 0, 15);
    RenderWidget& window = bench->Window();
    window.makeCurrent();
    auto* gl = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_3_3_Core>(window.context());
    ViewDisplays& displays = bench->Form().Displays();
    const auto timedFrame = [&](int onion) {
        for (ViewDisplay& display : displays) display.onionSkin = onion;
        QElapsedTimer timer;
        timer.start();
        bench->Form().RunFrame();
        gl->glFinish();
        return double(timer.nsecsElapsed()) * 1e-9;
    };
    timedFrame(1);
    double plainSeconds = 0, onionSeconds = 0;
    for (auto _ : state) {
        plainSeconds += timedFrame(0);
        onionSeconds += timedFrame(1);
    }
    for (ViewDisplay& display : displays) display.onionSkin = 0;
    window.doneCurrent();
    const double frames = double(state.iterations());
    state.counters["pose_ms"] = plainSeconds / frames * 1e3;
    state.counters["with_onion_ms"] = onionSeconds / frames * 1e3;
    state.counters["onion_cost_in_poses"] = (onionSeconds - plainSeconds) / plainSeconds;
}

}  // namespace

BENCHMARK(OnionSkinAgainstOnePose)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10)->Repetitions(3);
BENCHMARK(PlaybackAt30Fps)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1)->Repetitions(2);
BENCHMARK(ProgramAgainstBareLoop)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20)->Repetitions(3);
BENCHMARK(IdleWindow)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv)
{
    QSurfaceFormat::setDefaultFormat(RenderWidget::RequestedFormat());
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Bench shared;
    bench = &shared;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench = nullptr;
    return 0;
}
