// The mesh library's costs on large generated models: building strips, loading
// a .mesh file (against reading its bytes alone), and strip length.

#include "io/FileReading.h"
#include "meshlib/CMesh.h"
#include "meshlib/LoadedModel.h"
#include "meshlib/Stripifier.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>

using namespace m3d;

namespace {

// w x h quads, two triangles each, in the plane y = 0 facing +Y.
LoadedModel Grid(int w, int h)
{
    LoadedModel model;
    model.vertices.resize(size_t(w + 1) * size_t(h + 1));
    for (int j = 0; j <= h; ++j)
        for (int i = 0; i <= w; ++i) {
            _MESH_VERTEX& v = model.vertices[size_t(j) * size_t(w + 1) + size_t(i)];
            v.x = float(i);
            v.z = float(j);
            v.ny = 1.0f;
            v.tu = float(i) / float(w);
            v.tv = float(j) / float(h);
        }
    auto id = [&](int i, int j) { return uint32_t(j * (w + 1) + i); };
    model.indices.reserve(size_t(w) * size_t(h) * 6);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            model.indices.insert(model.indices.end(), {id(i, j), id(i, j + 1), id(i + 1, j)});
            model.indices.insert(model.indices.end(), {id(i + 1, j), id(i, j + 1), id(i + 1, j + 1)});
        }
    model.triangleMaterials.assign(model.indices.size() / 3, 0);
    model.materials.emplace_back();
    return model;
}

// The same triangles in random order: no help from the input order.
LoadedModel Shuffled(LoadedModel model)
{
    const size_t triangles = model.indices.size() / 3;
    std::vector<uint32_t> order(triangles);
    for (size_t t = 0; t < triangles; ++t) order[t] = uint32_t(t);
    std::shuffle(order.begin(), order.end(), std::mt19937(1));
    std::vector<uint32_t> indices(model.indices.size());
    for (size_t t = 0; t < triangles; ++t) std::copy_n(&model.indices[3 * size_t(order[t])], 3, &indices[3 * t]);
    model.indices = std::move(indices);
    return model;
}

constexpr int kMillionW = 1000, kMillionH = 500;  // 1,000,000 triangles, 501,501 vertices

void StripifyGrid(benchmark::State& state, const LoadedModel& model)
{
    size_t indices = 0;
    for (auto _ : state) {
        StripifiedGeometry g = Stripify(model.vertices, model.indices, model.triangleMaterials);
        indices = 0;
        for (const _MESH_MESHDATA& m : g.subMeshes) indices += m.indexCount;
        benchmark::DoNotOptimize(g.subMeshes.data());
    }
    const double triangles = double(model.triangleMaterials.size());
    state.counters["triangles"] = triangles;
    state.counters["indices_per_triangle"] = double(indices) / triangles;
    state.counters["triangles_per_second"] =
        benchmark::Counter(triangles, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_StripifyMillionTriangleGrid(benchmark::State& state) { StripifyGrid(state, Grid(kMillionW, kMillionH)); }
BENCHMARK(BM_StripifyMillionTriangleGrid)->Unit(benchmark::kMillisecond);

void BM_StripifyMillionShuffledTriangles(benchmark::State& state)
{
    StripifyGrid(state, Shuffled(Grid(kMillionW, kMillionH)));
}
BENCHMARK(BM_StripifyMillionShuffledTriangles)->Unit(benchmark::kMillisecond);

// Strip length on a regular grid of 256 x 256 quads (one window, one sub-mesh).
void BM_StripIndicesPerTriangleOnGrid(benchmark::State& state) { StripifyGrid(state, Grid(256, 256)); }
BENCHMARK(BM_StripIndicesPerTriangleOnGrid)->Unit(benchmark::kMillisecond);

// A saved 1,000,000-triangle .mesh file, written once per run.
class MillionTriangleFile {
public:
    MillionTriangleFile()
    {
        path =
            (std::filesystem::temp_directory_path() / ("m3d-bench-" + std::to_string(std::random_device()()) + ".mesh"))
                .string();
        CMesh mesh;
        Outcome saved = mesh.LoadModel(Grid(kMillionW, kMillionH), "grid.mqo", 1.0f);
        if (saved) saved = mesh.SaveMeshFile(path);
        if (!saved) std::fprintf(stderr, "%s\n", saved.Message().c_str());
    }
    ~MillionTriangleFile() { std::filesystem::remove(path); }
    std::string path;
};

const std::string& MillionTrianglePath()
{
    static MillionTriangleFile file;
    return file.path;
}

void BM_LoadMillionTriangleMeshFile(benchmark::State& state)
{
    const std::string& path = MillionTrianglePath();
    int faces = 0;
    for (auto _ : state) {
        CMesh mesh;
        if (const Outcome loaded = mesh.LoadObject(path, 1.0f); !loaded) state.SkipWithError(loaded.Message().c_str());
        faces = mesh.GetFaceNum();
    }
    state.counters["faces"] = faces;
    state.counters["bytes"] = double(std::filesystem::file_size(path));
}
BENCHMARK(BM_LoadMillionTriangleMeshFile)->Unit(benchmark::kMillisecond);

// Baseline for the load: reading the same file's bytes and nothing else.
void BM_ReadMillionTriangleFileBytes(benchmark::State& state)
{
    const std::string& path = MillionTrianglePath();
    for (auto _ : state) {
        const Expected<std::string> bytes = ReadWholeFile(path);
        if (!bytes) state.SkipWithError(bytes.Message().c_str());
        benchmark::DoNotOptimize(bytes ? bytes->data() : nullptr);
    }
}
BENCHMARK(BM_ReadMillionTriangleFileBytes)->Unit(benchmark::kMillisecond);

}  // namespace
