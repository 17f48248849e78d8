// Inverse kinematics on a heavy figure (200 Parts, 1,000 keys each): a
// two-joint leg brought to a target, a limited chain of ten turning Parts
// brought to a target, and one drag step of the hips with both feet pinned
// (the solve and the Scene's recomposition), each against one evaluation of
// the figure's pose.
#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "ik/IkRequest.h"
#include "meshlib/CMesh.h"
#include "scene/Scene.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace m3d;

namespace {

constexpr int kParts = 200;
constexpr int kKeys = 1000;
constexpr int kHips = 0, kThighL = 1, kFootL = 3, kFootR = 6;
// The spine: ten turning Parts from kSpineRoot, then the head as its end.
constexpr int kSpineRoot = 7, kHead = 17;

// Where Part part sits in its parent and the parent itself.
struct Placement {
    int parent;
    Vec3 offset;
    float bend;  // about X, radians, at rest
};

Placement PlacementOf(int part)
{
    if (part == kHips) return {-1, {0, 10, 0}, 0.0f};
    if (part <= 6) {
        const int leg = (part - 1) % 3;  // thigh, shin, foot
        const float side = part <= 3 ? 0.5f : -0.5f;
        if (leg == 0) return {kHips, {side, 0, 0}, -0.3f};
        return {part - 1, {0, -2, 0}, leg == 1 ? 0.6f : -0.3f};
    }
    if (part == kSpineRoot) return {kHips, {0, 0.5f, 0}, 0.05f};
    if (part <= kHead) return {part - 1, {0, 1, 0}, 0.05f};
    // Everything else hangs off the spine and the head: carried, never solved.
    return {kSpineRoot + part % 11, {0.3f, 0.2f, 0.1f}, 0.2f};
}

Matrix4 KeyPose(int part, int key)
{
    const Placement placement = PlacementOf(part);
    Matrix4 m = MatrixRotationYawPitchRoll(0.002f * key, placement.bend + 0.1f * std::sin(0.05f * key), 0.0f);
    m.SetTranslation(placement.offset);
    return m;
}

// The figure, posed at frame 300 of its one Motion; the spine's Parts in
// turn free, hinged about X within -60 ... 60 degrees and about Z within
// -45 ... 45.
struct Figure {
    EditorSession session;
    Scene& scene = session.GetScene();
    IkRig rig;
    LocalPose pose;

    Figure()
    {
        for (int i = 0; i < kParts; ++i) {
            auto part = std::make_unique<Part>();
            part->mesh = std::make_unique<CMesh>();
            scene.MutableMeshBase().InitMesh(part->mesh.get(), 1);
            part->parentIndex = PlacementOf(i).parent;
            if (i >= kSpineRoot && i < kHead && (i - kSpineRoot) % 3 == 1) part->jointLimit = {JointAxis::X, -60, 60};
            if (i >= kSpineRoot && i < kHead && (i - kSpineRoot) % 3 == 2) part->jointLimit = {JointAxis::Z, -45, 45};
            scene.MutableParts().push_back(std::move(part));
        }
        Motion motion;
        motion.name = "walk";
        motion.length = 3 * kKeys;
        motion.tracks.resize(kParts);
        for (int p = 0; p < kParts; ++p)
            for (int k = 0; k < kKeys; ++k) motion.tracks[size_t(p)].keys.push_back({3 * k, KeyPose(p, k)});
        scene.MutableMotions().push_back(std::move(motion));
        EvaluatePose(scene, 0, 300);
        rig = RigOf(scene);
        pose = LocalPoseOf(scene);
    }
    Vec3 Pivot(int part) const { return PivotIn(rig, pose, part); }
};

// Brings one chain to its targets in turn, each solve from the same pose;
// the distance left is reported (mean over the targets).
void SolveChainInTurn(benchmark::State& state, int end, int root, const std::vector<Vec3>& offsets)
{
    Figure figure;
    const std::vector<int> parts = ChainParts(figure.rig, end, root);
    LocalPose work = figure.pose;
    const Vec3 origin = figure.Pivot(root);
    size_t next = 0;
    double distance = 0.0;
    for (auto _ : state) {
        const IkGoalResult result = SolveChain(figure.rig, work, {end, root, origin + offsets[next]});
        distance += result.distance;
        next = (next + 1) % offsets.size();
        for (const int p : parts) work[size_t(p)] = figure.pose[size_t(p)];
    }
    state.counters["distance"] = benchmark::Counter(distance, benchmark::Counter::kAvgIterations);
}

void BM_IkTwoJointLeg(benchmark::State& state)
{
    SolveChainInTurn(state, kFootL, kThighL, {{0.3f, -3, 0.8f}, {-0.2f, -3.5f, -0.5f}, {0.6f, -2.5f, 1.2f}});
}
BENCHMARK(BM_IkTwoJointLeg)->Unit(benchmark::kMicrosecond);

void BM_IkTenPartLimitedChain(benchmark::State& state)
{
    SolveChainInTurn(state, kHead, kSpineRoot, {{2, 6, 1}, {-3, 5, 2}, {1, 4, -3}, {4, 3, 0}});
}
BENCHMARK(BM_IkTenPartLimitedChain)->Unit(benchmark::kMicrosecond);

// The most a limited chain costs: targets out of reach, every restart of the
// descent made.
void BM_IkTenPartLimitedChainOutOfReach(benchmark::State& state)
{
    SolveChainInTurn(state, kHead, kSpineRoot, {{8, 10, 3}, {-12, 2, 5}});
}
BENCHMARK(BM_IkTenPartLimitedChainOutOfReach)->Unit(benchmark::kMicrosecond);

// One step of dragging the hips with both feet pinned: the move, the legs
// solved back to the feet, and the Scene given the new pose (world
// transforms recomposed). The hips circle around where they were.
void BM_IkDragHipsWithPinnedFeet(benchmark::State& state)
{
    Figure figure;
    const Vec3 hips = figure.Pivot(kHips);
    IkRequest request;
    request.pins = {kFootL, kFootR};
    float t = 0.0f;
    double distance = 0.0;
    for (auto _ : state) {
        LocalPose work = figure.pose;
        request.move =
            PivotMove{kHips, hips + Vec3{0.3f * std::sin(t), -0.4f + 0.2f * std::cos(t), 0.2f * std::sin(2 * t)}};
        const std::vector<IkReport> reports = SolveIk(figure.rig, work, request);
        for (const IkReport& report : reports)
            if (report.kind == IkGoalKind::Pin) distance += report.result.distance;
        ApplyLocalPose(figure.scene, work);
        t += 0.1f;
    }
    state.counters["pinDistance"] = benchmark::Counter(distance, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_IkDragHipsWithPinnedFeet)->Unit(benchmark::kMicrosecond);

// The baseline: one evaluation of the figure's pose, world transforms composed.
void BM_IkFigurePoseEvaluationBaseline(benchmark::State& state)
{
    Figure figure;
    int frame = 0;
    for (auto _ : state) {
        EvaluatePose(figure.scene, 0, frame);
        frame = (frame + 7) % (3 * kKeys);
    }
    benchmark::DoNotOptimize(figure.scene.Parts()[kParts - 1]->localPosition);
}
BENCHMARK(BM_IkFigurePoseEvaluationBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace
