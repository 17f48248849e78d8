#pragma once

// What the import benchmarks share: stages timed apart, the bare glTF parse,
// the import as File > Import Model runs it, and freeing outside the timing.
#include "anim/ModelImport.h"
#include "foreign/ForeignReaderProcess.h"
#include "io/Outcome.h"
#include "scene/Scene.h"

#include <benchmark/benchmark.h>
#include <tiny_gltf.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <type_traits>

namespace m3d::importbench {

// Frees what an iteration made without timing it.
template <class T>
void FreeUntimed(benchmark::State& state, std::unique_ptr<T>& made)
{
    state.PauseTiming();
    made.reset();
    state.ResumeTiming();
}

// Wall time of named stages, summed over the iterations and reported when
// the benchmark ends as one counter each: milliseconds, mean per iteration.
class StageClock {
public:
    explicit StageClock(benchmark::State& state) : state(state) {}
    ~StageClock()
    {
        for (const auto& [stage, seconds] : total)
            state.counters[stage] = benchmark::Counter(seconds * 1e3, benchmark::Counter::kAvgIterations);
    }
    StageClock(const StageClock&) = delete;
    StageClock& operator=(const StageClock&) = delete;

    // Runs work as the stage; a failed Outcome it returns ends the benchmark with its message.
    template <class Work>
    void Time(const std::string& stage, Work work)
    {
        const auto start = std::chrono::steady_clock::now();
        if constexpr (std::is_same_v<decltype(work()), Outcome>) {
            if (const Outcome done = work(); !done) state.SkipWithError(done.Message().c_str());
        } else {
            work();
        }
        total[stage] += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    benchmark::State& State() { return state; }

private:
    benchmark::State& state;
    std::map<std::string, double> total;
};

// tinygltf's own parse of a .glb and nothing else: the baseline.
inline void BareGltfParse(benchmark::State& state, const std::string& path)
{
    auto model = std::make_unique<tinygltf::Model>();
    tinygltf::TinyGLTF loader;
    std::string error, warning;
    if (!loader.LoadBinaryFromFile(model.get(), &error, &warning, path)) state.SkipWithError(error.c_str());
    FreeUntimed(state, model);
}

// File > Import Model of path into scene: the read in the child process
// ("read_ms") and the Parts and Motions made of it ("import_ms").
inline void ImportFile(StageClock& clock, Scene& scene, const std::string& path)
{
    auto model = std::make_unique<ForeignModel>();
    clock.Time("read_ms", [&] { return ReadForeignModelFile(path, 1.0f, *model); });
    clock.Time("import_ms", [&] { ImportModel(scene, *model, path, kDefaultImportFrameRate); });
    FreeUntimed(clock.State(), model);
}

}  // namespace m3d::importbench
