// Costs of the whole-motion operations on a large Motion: 100 Parts with
// geometry, 600 frames, a key on every frame of every track (the most any
// Motion of that length can hold). Each operation is timed on a fresh copy of
// the keys; pose evaluation of one frame is the baseline they are built from.
#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "anim/WholeMotionOperations.h"
#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/LoadedModel.h"
#include "scene/Scene.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace m3d;

namespace {

constexpr int kParts = 100;
constexpr int kFrames = 600;

// A closed sphere of 12 x 8 bands (86 vertices) of the given radius, written
// as an object file by the mesh library.
void WriteSphereFile(const std::string& path, float radius)
{
    constexpr int kAround = 12, kRings = 8;
    LoadedModel model;
    model.materials.resize(1);
    const auto vertex = [&](float polar, float azimuth) {
        const Vec3 n{std::sin(polar) * std::cos(azimuth), std::cos(polar), std::sin(polar) * std::sin(azimuth)};
        model.vertices.push_back({n.x * radius, n.y * radius, n.z * radius, n.x, n.y, n.z});
    };
    vertex(0, 0);
    for (int r = 1; r < kRings; ++r)
        for (int a = 0; a < kAround; ++a) vertex(3.14159265f * r / kRings, 6.2831853f * a / kAround);
    vertex(3.14159265f, 0);
    const uint32_t bottom = static_cast<uint32_t>(model.vertices.size()) - 1;
    const auto at = [](int ring, int a) { return uint32_t(1 + (ring - 1) * kAround + a % kAround); };
    const auto triangle = [&](uint32_t a, uint32_t b, uint32_t c) {
        model.indices.insert(model.indices.end(), {a, b, c});
        model.triangleMaterials.push_back(0);
    };
    for (int a = 0; a < kAround; ++a) {
        triangle(0, at(1, a + 1), at(1, a));
        for (int r = 1; r + 1 < kRings; ++r) {
            triangle(at(r, a), at(r, a + 1), at(r + 1, a + 1));
            triangle(at(r, a), at(r + 1, a + 1), at(r + 1, a));
        }
        triangle(bottom, at(kRings - 1, a), at(kRings - 1, a + 1));
    }
    CMeshBase base;
    CMesh mesh;
    base.InitMesh(&mesh, 1);
    Outcome saved = mesh.LoadModel(model, path, 1.0f);
    if (saved) saved = mesh.SaveMeshFile(path);
    if (!saved) std::fprintf(stderr, "%s\n", saved.Message().c_str());
}

Matrix4 KeyPose(int part, int frame)
{
    Matrix4 m = MatrixRotationYawPitchRoll(0.01f * frame + part, 0.02f * part, -0.005f * frame);
    // Every other stretch of 20 frames moves in a straight line, so some keys are redundant.
    const float y = (frame / 20) % 2 == 0 ? 0.5f * frame : 0.5f * frame + 0.1f * std::sin(float(frame));
    m.SetTranslation({0.1f * part, y, -0.25f * part});
    return m;
}

// 100 Parts in chains of four (each under the one before it), neighbours as
// left/right partners, and one Motion keyed on every frame.
struct LargeModel {
    std::string folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    Motion keys;
    Outcome loaded;  // of the sphere, the same file for every Part
    LargeModel()
    {
        folder = (std::filesystem::temp_directory_path() / ("m3d-bench-motion-" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(folder);
        WriteSphereFile(folder + "/sphere.mesh", 2.0f);
        for (int i = 0; i < kParts; ++i) {
            scene.SelectTreeItem(i % 4 == 0 ? scene.rootPart.treeItem : scene.Parts()[i - 1]->treeItem);
            loaded = scene.AddPartFromFile(folder + "/sphere.mesh").loaded;
        }
        for (int i = 0; i < kParts; ++i) scene.Parts()[i]->symmetryIndex = i % 2 == 0 ? i + 1 : i - 1;
        NewMotionCommand(session, "bench");
        SetMotionLength(scene, 0, kFrames);
        for (int i = 0; i < kParts; ++i)
            for (int f = 0; f <= kFrames; ++f) SetKeyMatrix(scene, 0, i, f, KeyPose(i, f));
        keys = scene.Motions()[0];
        scene.SelectTreeItem(scene.Parts()[5]->treeItem);
        session.SetCurrentFrame(0);
    }
    ~LargeModel() { std::filesystem::remove_all(folder); }
};

LargeModel& Model()
{
    static LargeModel model;
    return model;
}

template <typename Operation>
void RunOnFreshKeys(benchmark::State& state, Operation operation)
{
    LargeModel& model = Model();
    if (model.scene.Parts()[0]->mesh->GetVertexNum() == 0) state.SkipWithError(model.loaded.Message().c_str());
    for (auto _ : state) {
        state.PauseTiming();
        model.scene.MutableMotions()[0] = model.keys;
        state.ResumeTiming();
        operation(model.session);
    }
    size_t keys = 0;
    for (const MotionTrack& track : model.scene.Motions()[0].tracks) keys += track.keys.size();
    state.counters["keys_after"] = double(keys);
}

void BM_DeleteRedundantKeys(benchmark::State& state) { RunOnFreshKeys(state, DeleteRedundantKeysCommand); }
BENCHMARK(BM_DeleteRedundantKeys)->Unit(benchmark::kMillisecond);

void BM_MirrorMotion(benchmark::State& state) { RunOnFreshKeys(state, MirrorMotionCommand); }
BENCHMARK(BM_MirrorMotion)->Unit(benchmark::kMillisecond);

void BM_GroundAllKeyframes(benchmark::State& state) { RunOnFreshKeys(state, GroundAllKeyframesCommand); }
BENCHMARK(BM_GroundAllKeyframes)->Unit(benchmark::kMillisecond);

void BM_LevelPartInAllKeyframes(benchmark::State& state) { RunOnFreshKeys(state, LevelPartInAllKeyframesCommand); }
BENCHMARK(BM_LevelPartInAllKeyframes)->Unit(benchmark::kMillisecond);

void BM_TurnMotionAround(benchmark::State& state) { RunOnFreshKeys(state, TurnMotionAroundCommand); }
BENCHMARK(BM_TurnMotionAround)->Unit(benchmark::kMillisecond);

// The baseline: evaluating the pose of all 100 Parts at every frame once.
void BM_EvaluateEveryFrame(benchmark::State& state)
{
    LargeModel& model = Model();
    for (auto _ : state)
        for (int f = 0; f <= kFrames; ++f) EvaluatePose(model.scene, 0, f);
}
BENCHMARK(BM_EvaluateEveryFrame)->Unit(benchmark::kMillisecond);

}  // namespace
