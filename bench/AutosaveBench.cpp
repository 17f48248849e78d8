// What a recovery snapshot costs the window's thread: copying the large
// export project (100 Parts, 10 Motions of 600 frames, a key every 5 frames)
// with its meshes already laid out (every snapshot after the first) and
// with none laid out (the first, or after every mesh changed), against the
// floor of copying its Motions alone and against writing the whole
// snapshot on that thread, which the writing thread spares it.
#include "LargeExportProject.h"
#include "editor/RecoveryFolder.h"
#include "scene/SnapshotCapture.h"

#include <benchmark/benchmark.h>

#include <filesystem>

using namespace m3d;

namespace {

largeexport::LargeProject& Project()
{
    static largeexport::LargeProject project;
    return project;
}

void BM_SnapshotCopyWarm(benchmark::State& state)
{
    MeshBytesCache cache;
    DocumentCopy copy;
    (void)CopyDocument(Project().scene, {}, cache, copy);
    for (auto _ : state) {
        if (const Outcome copied = CopyDocument(Project().scene, {}, cache, copy); !copied)
            state.SkipWithError(copied.Message().c_str());
        benchmark::DoNotOptimize(copy.motions.data());
    }
}
BENCHMARK(BM_SnapshotCopyWarm)->Unit(benchmark::kMillisecond);

void BM_SnapshotCopyCold(benchmark::State& state)
{
    DocumentCopy copy;
    for (auto _ : state) {
        MeshBytesCache cache;
        if (const Outcome copied = CopyDocument(Project().scene, {}, cache, copy); !copied)
            state.SkipWithError(copied.Message().c_str());
        benchmark::DoNotOptimize(copy.meshes.data());
    }
}
BENCHMARK(BM_SnapshotCopyCold)->Unit(benchmark::kMillisecond);

// The floor: the Motions copied, nothing else.
void BM_MotionsCopyBaseline(benchmark::State& state)
{
    for (auto _ : state) {
        std::vector<Motion> motions = Project().scene.Motions();
        benchmark::DoNotOptimize(motions.data());
    }
}
BENCHMARK(BM_MotionsCopyBaseline)->Unit(benchmark::kMillisecond);

// Everything on one thread: copy, lay out and write the snapshot file.
void BM_SnapshotWrittenInPlace(benchmark::State& state)
{
    const std::string folderPath = Project().folder + "/recovery";
    RecoveryFolder folder(folderPath);
    MeshBytesCache cache;
    SnapshotInfo info;
    info.documentId = "0000000000000b00";
    for (auto _ : state) {
        DocumentCopy copy;
        DocumentSnapshot snapshot;
        std::string id;
        Outcome written = CopyDocument(Project().scene, info, cache, copy);
        if (written) written = LayOutSnapshot(std::move(copy), snapshot);
        if (written) written = folder.Write(snapshot, id);
        if (!written) state.SkipWithError(written.Message().c_str());
    }
    folder.Unlock();
    std::filesystem::remove_all(folderPath);
}
BENCHMARK(BM_SnapshotWrittenInPlace)->Unit(benchmark::kMillisecond);

}  // namespace
