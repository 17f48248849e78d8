// Costs of large projects: opening one of many top-level Parts (object files
// stored in another letter case than the project names them) through the
// editor session, against reading the same files without building anything;
// and deleting redundant keys from a track running far past its Motion's
// length, against the same keys within the length.
#include "anim/WholeMotionOperations.h"
#include "crafted/CraftedShape.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "io/FileReading.h"
#include "scene/ProjectFileFormat.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <stdexcept>
#include <unistd.h>

using namespace m3d;

namespace {

// The crafted project of `parts` top-level Parts, written into a folder of its own.
struct ProjectFolder {
    std::string folder;
    std::string project;
    explicit ProjectFolder(size_t parts)
    {
        folder = (std::filesystem::temp_directory_path() /
                  ("m3d-bench-parts-" + std::to_string(getpid()) + "-" + std::to_string(parts)))
                     .string();
        std::filesystem::create_directories(folder);
        for (const CraftedShape& shape : CraftedShapes())
            if (shape.name == "top-level-parts-2000") project = shape.write(folder, parts);
        if (project.empty()) throw std::runtime_error("no crafted shape top-level-parts-2000");
    }
    ~ProjectFolder() { std::filesystem::remove_all(folder); }
};

void BM_OpenProject(benchmark::State& state)
{
    ProjectFolder files(static_cast<size_t>(state.range(0)));
    EditorSession session;
    for (auto _ : state)
        if (const ProjectLoad load = OpenProject(session, files.project, ProjectOpening::Editing); !load.outcome)
            state.SkipWithError(load.outcome.Message().c_str());
    state.counters["parts"] = double(session.GetScene().PartCount());
}
BENCHMARK(BM_OpenProject)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// The floor under it: the project file read and checked, and every file of
// the folder read whole, without a Part, mesh or tree being made.
void BM_ReadProjectFilesBaseline(benchmark::State& state)
{
    ProjectFolder files(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        ProjectData data;
        const Expected<std::string> project = ReadWholeFile(files.project);
        const Outcome parsed = project ? ParseProjectFile(*project, files.project, data) : project.Status();
        if (!parsed) state.SkipWithError(parsed.Message().c_str());
        size_t total = 0;
        for (const auto& entry : std::filesystem::directory_iterator(files.folder)) {
            const Expected<std::string> bytes = ReadWholeFile(entry.path().string());
            if (!bytes) state.SkipWithError(bytes.Message().c_str());
            total += bytes ? bytes->size() : 0;
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_ReadProjectFilesBaseline)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

constexpr int kTrackKeys = 200000;

// One Part whose track holds kTrackKeys equal keys, one a frame, in a Motion
// of the given length: all but the frame-0 key are redundant.
struct LongTrack {
    Scene scene;
    Motion keys;
    explicit LongTrack(int length)
    {
        auto part = std::make_unique<Part>();
        scene.MutableParts().push_back(std::move(part));
        keys.name = "long";
        keys.length = length;
        keys.tracks.resize(1);
        for (int k = 0; k < kTrackKeys; ++k) keys.tracks[0].keys.push_back({k, Matrix4::Identity()});
        scene.MutableMotions().push_back(keys);
    }
};

void RunDeleteRedundantKeys(benchmark::State& state, int length)
{
    LongTrack track(length);
    for (auto _ : state) {
        state.PauseTiming();
        track.scene.MutableMotions()[0] = track.keys;
        state.ResumeTiming();
        if (DeleteRedundantKeys(track.scene, 0) != kTrackKeys - 1) state.SkipWithError("wrong number of keys deleted");
    }
}

// The keys run from frame 2 to 199,999 past a Motion of length 1.
void BM_DeleteRedundantKeysBeyondLength(benchmark::State& state) { RunDeleteRedundantKeys(state, 1); }
BENCHMARK(BM_DeleteRedundantKeysBeyondLength)->Unit(benchmark::kMillisecond);

// The peer: the same keys, all within the Motion.
void BM_DeleteRedundantKeysWithinLength(benchmark::State& state) { RunDeleteRedundantKeys(state, kTrackKeys); }
BENCHMARK(BM_DeleteRedundantKeysWithinLength)->Unit(benchmark::kMillisecond);

}  // namespace
