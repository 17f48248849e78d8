// Cost of the DirectX export at the size of a large project (LargeExportProject.h).
#include "LargeExportProject.h"
#include "anim/ExportXFile.h"
#include "anim/XFileContentBuilder.h"
#include "anim/XFileWriter.h"
#include "io/AtomicFile.h"
#include "support/ScriptedPrompt.h"

#include <benchmark/benchmark.h>

using namespace m3d;

namespace {

using largeexport::LargeProject;

// The whole command: poses, text, atomic write, textures, pose shown again.
void BM_ExportXFile(benchmark::State& state)
{
    LargeProject project;
    const std::string path = project.folder + "/out.x";
    for (auto _ : state) {
        ScriptedPrompt prompt;
        const ExportXResult result = ExportXFile(project.scene, path, kDefaultTimeScaleFactor, prompt);
        if (!result.written) state.SkipWithError(result.message.c_str());
        state.counters["keys"] = result.animationKeyCount;
    }
    state.counters["bytes"] = double(std::filesystem::file_size(path));
}
BENCHMARK(BM_ExportXFile)->Unit(benchmark::kMillisecond);

// Its two halves apart: taking poses and meshes out of the scene ...
void BM_BuildXFileContent(benchmark::State& state)
{
    LargeProject project;
    for (auto _ : state) benchmark::DoNotOptimize(BuildXFileContent(project.scene, kDefaultTimeScaleFactor));
}
BENCHMARK(BM_BuildXFileContent)->Unit(benchmark::kMillisecond);

// ... and formatting the text.
void BM_WriteXFileText(benchmark::State& state)
{
    LargeProject project;
    const XFileContent content = BuildXFileContent(project.scene, kDefaultTimeScaleFactor);
    for (auto _ : state) benchmark::DoNotOptimize(WriteXFileText(content));
}
BENCHMARK(BM_WriteXFileText)->Unit(benchmark::kMillisecond);

// The text as the export writes it: streamed into the atomic file, never whole in memory ...
void BM_WriteXFileStreamed(benchmark::State& state)
{
    LargeProject project;
    const XFileContent content = BuildXFileContent(project.scene, kDefaultTimeScaleFactor);
    const std::string path = project.folder + "/streamed.x";
    for (auto _ : state) {
        std::string error;
        if (!WriteFileAtomically(
                path, [&content](FileSink& sink) { return WriteXFile(content, sink); }, error))
            state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_WriteXFileStreamed)->Unit(benchmark::kMillisecond);

// ... against its peer, the whole text made first and then written.
void BM_WriteXFileWholeThenWrite(benchmark::State& state)
{
    LargeProject project;
    const XFileContent content = BuildXFileContent(project.scene, kDefaultTimeScaleFactor);
    const std::string path = project.folder + "/whole.x";
    for (auto _ : state) {
        std::string error;
        if (!WriteFileAtomically(path, WriteXFileText(content), error)) state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_WriteXFileWholeThenWrite)->Unit(benchmark::kMillisecond);

// The floor: the same number of bytes written atomically without being made.
void BM_WriteSameBytesBaseline(benchmark::State& state)
{
    LargeProject project;
    const std::string bytes = WriteXFileText(BuildXFileContent(project.scene, kDefaultTimeScaleFactor));
    const std::string path = project.folder + "/baseline.x";
    for (auto _ : state) {
        std::string error;
        if (!WriteFileAtomically(path, bytes, error)) state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_WriteSameBytesBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
