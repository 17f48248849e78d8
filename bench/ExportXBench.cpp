// Cost of the DirectX export at the size of a large project: 100 Parts with
// a small mesh each, 10 Motions of 600 frames with a key every 5 frames.
#include "anim/ExportXFile.h"
#include "anim/XFileContentBuilder.h"
#include "anim/XFileWriter.h"
#include "io/AtomicFile.h"
#include "meshlib/LoadedModel.h"
#include "scene/Scene.h"
#include "editor/EditorSession.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <unistd.h>

namespace {

Matrix4 KeyPose(int part, int frame)
{
    Matrix4 m = MatrixRotationYawPitchRoll(0.01f * frame + part, 0.02f * part, -0.005f * frame);
    m.SetTranslation({0.1f * part, 0.5f * frame, -0.25f * part});
    return m;
}

// An eight-sided closed tube: 16 side vertices and two cap centres, 32 triangles.
LoadedModel Tube()
{
    LoadedModel model;
    for (int ring = 0; ring < 2; ++ring)
        for (int k = 0; k < 8; ++k) {
            _MESH_VERTEX v;
            v.x = std::cos(k * 0.785398f);
            v.z = std::sin(k * 0.785398f);
            v.y = -10.0f * ring;
            model.vertices.push_back(v);
        }
    model.vertices.push_back(_MESH_VERTEX{});
    _MESH_VERTEX bottom;
    bottom.y = -10.0f;
    model.vertices.push_back(bottom);
    for (uint32_t k = 0; k < 8; ++k) {
        const uint32_t n = (k + 1) % 8;
        model.indices.insert(model.indices.end(), {k, n, k + 8, n, n + 8, k + 8, 16, n, k, 17, k + 8, n + 8});
    }
    model.triangleMaterials.assign(model.indices.size() / 3, 0);
    model.materials.resize(1);
    return model;
}

struct LargeProject {
    std::string folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    LargeProject()
    {
        folder = (std::filesystem::temp_directory_path() / ("m3d-bench-x-" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(folder);
        const LoadedModel tube = Tube();
        for (int i = 0; i < 100; ++i) {
            // Every fourth Part starts a new chain under the root entry.
            const int parent = i % 4 == 0 ? -1 : i - 1;
            scene.SelectTreeItem(parent < 0 ? scene.rootPart.treeItem : scene.parts[parent]->treeItem);
            const std::string path = folder + "/part" + std::to_string(i) + ".mqo";
            scene.AddPartFromFile(path);
            scene.parts.back()->mesh->LoadModel(tube, path, 1.0f);
        }
        for (int m = 0; m < 10; ++m) {
            Motion motion;
            motion.name = "motion" + std::to_string(m);
            motion.length = 600;
            motion.tracks.resize(100);
            for (int p = 0; p < 100; ++p)
                for (int f = 0; f <= 600; f += 5) motion.tracks[p].keys.push_back({f, KeyPose(p, f + m)});
            scene.motions.push_back(std::move(motion));
        }
        session.SelectMotion(9);
    }
    ~LargeProject() { std::filesystem::remove_all(folder); }
};

// The whole command: poses, text, atomic write, textures, pose shown again.
void BM_ExportXFile(benchmark::State& state)
{
    LargeProject project;
    const std::string path = project.folder + "/out.x";
    for (auto _ : state) {
        const ExportXResult result = ExportXFile(project.scene, path, DEFAULT_TIME_SCALE_FACTOR);
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
    for (auto _ : state) benchmark::DoNotOptimize(BuildXFileContent(project.scene, DEFAULT_TIME_SCALE_FACTOR));
}
BENCHMARK(BM_BuildXFileContent)->Unit(benchmark::kMillisecond);

// ... and formatting the text.
void BM_WriteXFileText(benchmark::State& state)
{
    LargeProject project;
    const XFileContent content = BuildXFileContent(project.scene, DEFAULT_TIME_SCALE_FACTOR);
    for (auto _ : state) benchmark::DoNotOptimize(WriteXFileText(content));
}
BENCHMARK(BM_WriteXFileText)->Unit(benchmark::kMillisecond);

// The text as the export writes it: streamed into the atomic file, never whole in memory ...
void BM_WriteXFileStreamed(benchmark::State& state)
{
    LargeProject project;
    const XFileContent content = BuildXFileContent(project.scene, DEFAULT_TIME_SCALE_FACTOR);
    const std::string path = project.folder + "/streamed.x";
    for (auto _ : state) {
        std::string error;
        if (!WriteFileAtomically(path, [&content](FileSink& sink) { return WriteXFile(content, sink); }, error))
            state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_WriteXFileStreamed)->Unit(benchmark::kMillisecond);

// ... against its peer, the whole text made first and then written.
void BM_WriteXFileWholeThenWrite(benchmark::State& state)
{
    LargeProject project;
    const XFileContent content = BuildXFileContent(project.scene, DEFAULT_TIME_SCALE_FACTOR);
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
    const std::string bytes = WriteXFileText(BuildXFileContent(project.scene, DEFAULT_TIME_SCALE_FACTOR));
    const std::string path = project.folder + "/baseline.x";
    for (auto _ : state) {
        std::string error;
        if (!WriteFileAtomically(path, bytes, error)) state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_WriteSameBytesBaseline)->Unit(benchmark::kMillisecond);

}  // namespace
