// Cost of the glTF export on the same large project as the DirectX export
// (LargeExportProject.h); run both in one go: --benchmark_filter=Export.
#include "LargeExportProject.h"
#include "anim/ExportGltfFile.h"
#include "anim/GltfDocument.h"
#include "support/ScriptedPrompt.h"

#include <benchmark/benchmark.h>

using namespace m3d;

namespace {

using largeexport::LargeProject;

// The whole command, to one binary file or to a .gltf with its .bin beside it.
void ExportGltfTo(benchmark::State& state, const char* fileName)
{
    LargeProject project;
    const std::string path = project.folder + "/" + fileName;
    for (auto _ : state) {
        ScriptedPrompt prompt;
        const ExportGltfResult result = ExportGltfFile(project.scene, path, kDefaultGltfFramesPerSecond, prompt);
        if (!result.written) state.SkipWithError(result.message.c_str());
    }
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(project.folder))
        if (entry.path().extension() != ".mqo") bytes += entry.file_size();
    state.counters["bytes"] = double(bytes);
}
void BM_ExportGltfBinary(benchmark::State& state) { ExportGltfTo(state, "out.glb"); }
BENCHMARK(BM_ExportGltfBinary)->Unit(benchmark::kMillisecond);
void BM_ExportGltfSeparate(benchmark::State& state) { ExportGltfTo(state, "out.gltf"); }
BENCHMARK(BM_ExportGltfSeparate)->Unit(benchmark::kMillisecond);

// Building the asset alone: poses, meshes, the buffer and the JSON text.
void BM_BuildGltfDocument(benchmark::State& state)
{
    LargeProject project;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            BuildGltfDocument(project.scene, GltfLayout::Binary, "out", kDefaultGltfFramesPerSecond));
}
BENCHMARK(BM_BuildGltfDocument)->Unit(benchmark::kMillisecond);

}  // namespace
