// What a recovery snapshot costs the window's thread: copying the large
// export project (100 Parts, 10 Motions of 600 frames, a key every 5 frames)
// with its meshes already laid out (every snapshot after the first) and
// with none laid out (the first, or after every mesh changed), against the
// floor of copying its Motions alone and against writing the whole
// snapshot on that thread, which the writing thread spares it. The same
// project with its Parts made of 20 distinct grids of 50,000 vertices each
// (a million in all) shows what laying out changed geometry costs.
#include "LargeExportProject.h"
#include "editor/RecoveryFolder.h"
#include "scene/SnapshotCapture.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>

using namespace m3d;

namespace {

largeexport::LargeProject& Project()
{
    static largeexport::LargeProject project;
    return project;
}

// A grid of side x side vertices, lifted by seed so that no two are alike.
LoadedModel Grid(int side, float seed)
{
    LoadedModel model;
    for (int z = 0; z < side; ++z)
        for (int x = 0; x < side; ++x) {
            _MESH_VERTEX v;
            v.x = float(x);
            v.z = float(z);
            v.y = seed * std::sin(0.1f * float(x + z));
            model.vertices.push_back(v);
        }
    for (int z = 0; z + 1 < side; ++z)
        for (int x = 0; x + 1 < side; ++x) {
            const uint32_t k = uint32_t(z * side + x), s = uint32_t(side);
            model.indices.insert(model.indices.end(), {k, k + s, k + 1, k + 1, k + s, k + s + 1});
        }
    model.triangleMaterials.assign(model.indices.size() / 3, 0);
    model.materials.resize(1);
    return model;
}

// The large project with its first 20 Parts made of grids of 224 x 224 vertices.
largeexport::LargeProject& HeavyProject()
{
    static largeexport::LargeProject project;
    static const bool heavy = [] {
        for (int i = 0; i < 20; ++i)
            (void)project.scene.Parts()[size_t(i)]->mesh->LoadModel(Grid(224, 1.0f + float(i)), "grid.mqo", 1.0f);
        return true;
    }();
    (void)heavy;
    return project;
}

largeexport::LargeProject& ProjectOf(const benchmark::State& state)
{
    return state.range(0) == 0 ? Project() : HeavyProject();
}

void BM_SnapshotCopyWarm(benchmark::State& state)
{
    const Scene& scene = ProjectOf(state).scene;
    MeshBytesCache cache;
    DocumentCopy copy;
    CopyDocument(scene, {}, cache, copy);
    DocumentSnapshot laidOut;
    if (const Outcome done = LayOutSnapshot(std::move(copy), cache, laidOut); !done)
        state.SkipWithError(done.Message().c_str());
    for (auto _ : state) {
        CopyDocument(scene, {}, cache, copy);
        benchmark::DoNotOptimize(copy.motions.data());
    }
}
BENCHMARK(BM_SnapshotCopyWarm)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SnapshotCopyCold(benchmark::State& state)
{
    const Scene& scene = ProjectOf(state).scene;
    DocumentCopy copy;
    const MeshBytesCache empty;
    for (auto _ : state) {
        CopyDocument(scene, {}, empty, copy);
        benchmark::DoNotOptimize(copy.unlaid.data());
    }
}
BENCHMARK(BM_SnapshotCopyCold)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One look while a snapshot is not due: copies changed geometry for 4 ms
// (and one mesh at least) from a cache that knows none of it.
void BM_WarmingLook(benchmark::State& state)
{
    const Scene& scene = ProjectOf(state).scene;
    const MeshBytesCache empty;
    size_t copied = 0;
    for (auto _ : state) copied = CopyUnknownMeshes(scene, empty, std::chrono::milliseconds(4)).size();
    state.counters["meshes"] = double(copied);
}
BENCHMARK(BM_WarmingLook)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The floor: the Motions copied, nothing else.
void BM_MotionsCopyBaseline(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<Motion> motions = Project().scene.Motions();
        benchmark::DoNotOptimize(motions.data());
    }
}
BENCHMARK(BM_MotionsCopyBaseline)->Unit(benchmark::kMillisecond);

// Everything on one thread: copy, lay out every mesh and write the snapshot
// file, as the first snapshot of a document would without the writing thread.
void BM_SnapshotWrittenInPlace(benchmark::State& state)
{
    const Scene& scene = ProjectOf(state).scene;
    const std::string folderPath = ProjectOf(state).folder + "/recovery";
    RecoveryFolder folder(folderPath);
    SnapshotInfo info;
    info.documentId = "0000000000000b00";
    for (auto _ : state) {
        MeshBytesCache cache;
        DocumentCopy copy;
        DocumentSnapshot snapshot;
        std::string id;
        CopyDocument(scene, info, cache, copy);
        Outcome written = LayOutSnapshot(std::move(copy), cache, snapshot);
        if (written) written = folder.Write(snapshot, id);
        if (!written) state.SkipWithError(written.Message().c_str());
    }
    folder.Unlock();
    std::filesystem::remove_all(folderPath);
}
BENCHMARK(BM_SnapshotWrittenInPlace)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
