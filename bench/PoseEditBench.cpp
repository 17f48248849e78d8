// Pose editing: recording an undo step with 500 Parts once all 100 slots are
// used (every push then discards the oldest slot), against a plain copy of
// the 99 slots that shifting the slot contents would cost; and picking a
// Part on models of 1,000,000 triangles (one Part, and 20 Parts of 50,000).
#include "meshlib/CMesh.h"
#include "meshlib/LoadedModel.h"
#include "scene/Scene.h"
#include "view/PartPicking.h"
#include "editor/EditorSession.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <new>
#include <string>
#include <unistd.h>
#include <vector>

using namespace m3d;

// Counts the allocations made while counting is on, to show that a push
// allocates nothing.
namespace {
std::atomic<bool> countAllocations{false};
std::atomic<long> allocationCount{0};
}  // namespace

void* operator new(std::size_t size)
{
    if (countAllocations.load(std::memory_order_relaxed)) allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
// The library's operator delete releases with free, which fits malloc.

namespace {

// A folder of its own for the generated .mesh files, removed at exit.
struct BenchFolder {
    BenchFolder()
    {
        path = std::filesystem::temp_directory_path() / ("m3d-pose-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
    }
    ~BenchFolder() { std::filesystem::remove_all(path); }
    std::string File(const std::string& name) const { return (path / name).string(); }
    std::filesystem::path path;
};

BenchFolder& Folder()
{
    static BenchFolder folder;
    return folder;
}

// A wavy grid of columns x rows quads in the plane z = 0 around (x0, y0), its
// front facing -Z.
LoadedModel GridModel(int columns, int rows, float x0, float y0)
{
    LoadedModel model;
    for (int y = 0; y <= rows; ++y)
        for (int x = 0; x <= columns; ++x) {
            _MESH_VERTEX v;
            v.x = x0 + static_cast<float>(x - columns / 2);
            v.y = y0 + static_cast<float>(y - rows / 2);
            v.z = 3.0f * std::sin(x * 0.05f) * std::cos(y * 0.07f);
            v.nz = -1;
            model.vertices.push_back(v);
        }
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x) {
            const uint32_t a = y * (columns + 1) + x, b = a + columns + 1;
            for (uint32_t k : {a, b, b + 1, a, b + 1, a + 1}) model.indices.push_back(k);
            model.triangleMaterials.insert(model.triangleMaterials.end(), 2, 0);
        }
    model.materials.resize(1);
    return model;
}

// Writes model as a .mesh file and adds it to scene as a Part under parent.
void AddPart(Scene& scene, const LoadedModel& model, const std::string& name, int parent)
{
    const std::string path = Folder().File(name + ".mesh");
    if (!std::filesystem::exists(path)) {
        CMesh mesh;
        mesh.LoadModel(model, path, 1.0f);
        mesh.SaveMeshFile(path);
    }
    scene.SelectTreeItem(parent < 0 ? scene.rootPart.treeItem : scene.parts[parent]->treeItem);
    scene.AddPartFromFile(path);
}

// One Part moved and recorded, with 500 Parts and a history holding its
// most steps (each push drops the oldest).
void BM_PushUndoWithFullHistory(benchmark::State& state)
{
    const int partCount = static_cast<int>(state.range(0));
    EditorSession session;
    Scene& scene = session.GetScene();
    const LoadedModel cube = GridModel(2, 2, 0, 0);
    // Chains of five: a top-level Part and four descendants.
    for (int i = 0; i < partCount; ++i) {
        AddPart(scene, cube, "small", i % 5 == 0 ? -1 : i - 1);
        scene.parts.back()->localPosition = {static_cast<float>(i), 1, 2};
    }
    scene.UpdateHierarchy(0);
    session.History().Clear();
    float x = 0;
    const auto edit = [&] {
        scene.parts[7]->localPosition.x = ++x;
        session.History().PushUndo("move");
    };
    for (int i = 0; i < DocumentHistory::kMaxSteps; ++i) edit();

    allocationCount = 0;
    countAllocations = true;
    for (auto _ : state) {
        edit();
        benchmark::ClobberMemory();
    }
    countAllocations = false;
    state.counters["steps"] = session.History().StepCount();
    state.counters["allocations_per_push"] =
        static_cast<double>(allocationCount.load()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_PushUndoWithFullHistory)->Arg(500)->Unit(benchmark::kMicrosecond);

// The baseline every push pays: the pose of all Parts compared with the last one recorded.
void BM_ComparePoseOfAllParts(benchmark::State& state)
{
    const size_t count = static_cast<size_t>(state.range(0));
    std::vector<Matrix4> a(count), b(count);
    std::vector<Vec3> pa(count), pb(count);
    for (auto _ : state) {
        benchmark::DoNotOptimize(std::memcmp(a.data(), b.data(), count * sizeof(Matrix4)) +
                                 std::memcmp(pa.data(), pb.data(), count * sizeof(Vec3)));
        a = b;
        pa = pb;
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComparePoseOfAllParts)->Arg(500)->Unit(benchmark::kMicrosecond);

// A perspective view of the model from the front, 400 x 300 pixels.
ViewState AimedViews()
{
    ViewState views;
    views.SetRenderSize(804, 600);
    View& view = views.views[1];
    view.type = ViewType::Pers;
    view.eye = {10, 20, -900};
    view.target = {10, 20, 0};
    return views;
}

void RunPicks(benchmark::State& state, Scene& scene, int expected)
{
    const ViewState views = AimedViews();
    PartPicker picker;
    // Off the centre: the centre's ray meets the grid exactly on the line of an
    // edge, which counts for no triangle.
    const Ray ray = views.PixelToRay(1, 590, 140);
    int picked = -1;
    for (auto _ : state) {
        picked = picker.Pick(scene, ray, views.views[1].eye);
        benchmark::DoNotOptimize(picked);
    }
    if (picked != expected) state.SkipWithError("the pick missed the Part under the cursor");
    state.counters["triangles"] = 0;
    for (const auto& part : scene.parts) state.counters["triangles"] += part->mesh->GetFaceNum();
}

void BM_PickOnePartOfAMillionTriangles(benchmark::State& state)
{
    static Scene* scene = [] {
        auto* s = new Scene;
        AddPart(*s, GridModel(1000, 500, 0, 0), "grid1000x500", -1);
        return s;
    }();
    RunPicks(state, *scene, 0);
}
BENCHMARK(BM_PickOnePartOfAMillionTriangles)->Unit(benchmark::kMillisecond);

void BM_PickAmongTwentyPartsOfFiftyThousandTriangles(benchmark::State& state)
{
    static Scene* scene = [] {
        auto* s = new Scene;
        // Five columns of four patches of 250 x 100 quads, side by side.
        for (int i = 0; i < 20; ++i)
            AddPart(*s,
                    GridModel(250, 100, static_cast<float>((i % 5 - 2) * 250), static_cast<float>((i / 5 - 1) * 100)),
                    "patch" + std::to_string(i), -1);
        return s;
    }();
    // The ray meets the grid near (-16, 42), on patch 7 (column 2, row 1).
    RunPicks(state, *scene, 7);
}
BENCHMARK(BM_PickAmongTwentyPartsOfFiftyThousandTriangles)->Unit(benchmark::kMillisecond);

}  // namespace
