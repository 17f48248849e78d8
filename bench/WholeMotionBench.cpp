// Costs of the whole-motion operations on a large Motion: 100 Parts with
// geometry, 600 frames, a key on every frame of every track (the most any
// Motion of that length can hold). Each operation is timed on a fresh copy of
// the keys; pose evaluation of one frame is the baseline they are built from.
#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "anim/WholeMotionOperations.h"
#include "scene/Scene.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int kParts = 100;
constexpr int kFrames = 600;

// A closed sphere of 12 x 8 quads (98 vertices) of the given radius as model text.
std::string SphereModelText(float radius)
{
    constexpr int kAround = 12, kRings = 8;
    std::string vertices, faces;
    int vertexCount = 0, faceCount = 0;
    const auto vertex = [&](float x, float y, float z) {
        vertices += "\t\t" + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(z) + "\r\n";
        return vertexCount++;
    };
    const int top = vertex(0, radius, 0);
    for (int r = 1; r < kRings; ++r)
        for (int a = 0; a < kAround; ++a) {
            const float polar = 3.14159265f * r / kRings, azimuth = 6.2831853f * a / kAround;
            vertex(radius * std::sin(polar) * std::cos(azimuth), radius * std::cos(polar),
                   radius * std::sin(polar) * std::sin(azimuth));
        }
    const int bottom = vertex(0, -radius, 0);
    const auto at = [](int ring, int a) { return 1 + (ring - 1) * kAround + a % kAround; };
    const auto face = [&](std::initializer_list<int> v) {
        faces += "\t\t" + std::to_string(v.size()) + " V(";
        for (int i : v) faces += std::to_string(i) + " ";
        faces.back() = ')';
        faces += " M(0)\r\n";
        ++faceCount;
    };
    for (int a = 0; a < kAround; ++a) {
        face({top, at(1, a + 1), at(1, a)});
        for (int r = 1; r + 1 < kRings; ++r) face({at(r, a), at(r, a + 1), at(r + 1, a + 1), at(r + 1, a)});
        face({bottom, at(kRings - 1, a), at(kRings - 1, a + 1)});
    }
    return "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\nMaterial 1 {\r\n\t\"m\" col(1 1 1 1) dif(0.8)\r\n}\r\n"
           "Object \"s\" {\r\n\tvertex " + std::to_string(vertexCount) + " {\r\n" + vertices + "\t}\r\n\tface " +
           std::to_string(faceCount) + " {\r\n" + faces + "\t}\r\n}\r\nEof\r\n";
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
    Scene scene;
    Motion keys;
    LargeModel()
    {
        folder = (std::filesystem::temp_directory_path() / ("m3d-bench-motion-" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(folder);
        std::ofstream(folder + "/sphere.mqo", std::ios::binary) << SphereModelText(2.0f);
        for (int i = 0; i < kParts; ++i) {
            scene.SelectTreeItem(i % 4 == 0 ? scene.rootPart.treeItem : scene.parts[i - 1]->treeItem);
            scene.AddPartFromFile(folder + "/sphere.mqo");
        }
        for (int i = 0; i < kParts; ++i) scene.parts[i]->symmetryIndex = i % 2 == 0 ? i + 1 : i - 1;
        NewMotion(scene, "bench");
        SetMotionLength(scene, 0, kFrames);
        for (int i = 0; i < kParts; ++i)
            for (int f = 0; f <= kFrames; ++f) SetKeyMatrix(scene, 0, i, f, KeyPose(i, f));
        keys = scene.motions[0];
        scene.SelectTreeItem(scene.parts[5]->treeItem);
        scene.currentFrame = 0;
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
    for (auto _ : state) {
        state.PauseTiming();
        model.scene.motions[0] = model.keys;
        state.ResumeTiming();
        operation(model.scene);
    }
    size_t keys = 0;
    for (const MotionTrack& track : model.scene.motions[0].tracks) keys += track.keys.size();
    state.counters["keys_after"] = double(keys);
}

void BM_DeleteRedundantKeys(benchmark::State& state)
{
    RunOnFreshKeys(state, [](Scene& scene) { DeleteRedundantKeys(scene); });
}
BENCHMARK(BM_DeleteRedundantKeys)->Unit(benchmark::kMillisecond);

void BM_MirrorMotion(benchmark::State& state) { RunOnFreshKeys(state, MirrorMotion); }
BENCHMARK(BM_MirrorMotion)->Unit(benchmark::kMillisecond);

void BM_GroundAllKeyframes(benchmark::State& state) { RunOnFreshKeys(state, GroundAllKeyframes); }
BENCHMARK(BM_GroundAllKeyframes)->Unit(benchmark::kMillisecond);

void BM_LevelPartInAllKeyframes(benchmark::State& state) { RunOnFreshKeys(state, LevelPartInAllKeyframes); }
BENCHMARK(BM_LevelPartInAllKeyframes)->Unit(benchmark::kMillisecond);

void BM_TurnMotionAround(benchmark::State& state) { RunOnFreshKeys(state, TurnMotionAround); }
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
