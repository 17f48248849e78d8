// Loading a 1,000,000-triangle .mqo (a 1000 x 500 quad grid with a wavy
// surface, UVs and smooth shading), against assimp reading the same grid as
// .obj in the same run. Both read from memory, so the disk is not measured.
#include "io/AtomicFile.h"
#include "meshlib/MqoReader.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

#ifdef M3D_HAVE_ASSIMP
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

using namespace m3d;
#endif

namespace {

constexpr int kColumns = 1000;  // quads across
constexpr int kRows = 500;      // quads down: 1000 x 500 x 2 = 1,000,000 triangles

float Height(int x, int y) { return 10.0f * std::sin(x * 0.05f) * std::cos(y * 0.07f); }

void Append(std::string& out, const char* format, auto... values)
{
    char line[160];
    const int n = std::snprintf(line, sizeof line, format, values...);
    out.append(line, static_cast<size_t>(n));
}

std::string GridMqo()
{
    std::string s =
        "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\nMaterial 1 {\r\n"
        "\t\"grid\" col(0.800 0.800 0.800 1.000) dif(0.800) amb(0.600) emi(0.000) spc(0.000) power(5.00)\r\n"
        "}\r\nObject \"grid\" {\r\n\tvisible 15\r\n\tshading 1\r\n\tfacet 59.5\r\n";
    Append(s, "\tvertex %d {\r\n", (kColumns + 1) * (kRows + 1));
    for (int y = 0; y <= kRows; ++y)
        for (int x = 0; x <= kColumns; ++x) Append(s, "\t\t%.4f %.4f %.4f\r\n", x * 1.0, Height(x, y), y * 1.0);
    Append(s, "\t}\r\n\tface %d {\r\n", kColumns * kRows);
    for (int y = 0; y < kRows; ++y)
        for (int x = 0; x < kColumns; ++x) {
            const int a = y * (kColumns + 1) + x, b = a + kColumns + 1;
            const double u0 = double(x) / kColumns, u1 = double(x + 1) / kColumns;
            const double v0 = double(y) / kRows, v1 = double(y + 1) / kRows;
            Append(s, "\t\t4 V(%d %d %d %d) M(0) UV(%.5f %.5f %.5f %.5f %.5f %.5f %.5f %.5f)\r\n", a, b, b + 1, a + 1,
                   u0, v0, u0, v1, u1, v1, u1, v0);
        }
    s += "\t}\r\n}\r\nEof\r\n";
    return s;
}

const std::string& MqoBytes()
{
    static const std::string bytes = GridMqo();
    return bytes;
}

// The benchmark also goes through a real file once, as the editor does.
class TempFile {
public:
    TempFile(const std::string& name, const std::string& bytes)
    {
        folder = std::filesystem::temp_directory_path() / ("m3d_bench_" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        path = (folder / name).string();
        std::string error;
        if (!WriteFileAtomically(path, bytes, error)) std::fprintf(stderr, "%s\n", error.c_str());
    }
    ~TempFile()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    const std::string& Path() const { return path; }

private:
    std::filesystem::path folder;
    std::string path;
};

void BM_ReadMqoFromMemory(benchmark::State& state)
{
    const std::string& bytes = MqoBytes();
    size_t triangles = 0;
    for (auto _ : state) {
        LoadedModel model;
        std::string error;
        if (!ReadMqo(bytes, "grid.mqo", model, error)) state.SkipWithError(error.c_str());
        triangles = model.indices.size() / 3;
        benchmark::DoNotOptimize(model.vertices.data());
    }
    state.counters["triangles"] = double(triangles);
    state.counters["MB"] = double(bytes.size()) / 1e6;
}
BENCHMARK(BM_ReadMqoFromMemory)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_ReadMqoFromFile(benchmark::State& state)
{
    const TempFile file("grid.mqo", MqoBytes());
    for (auto _ : state) {
        LoadedModel model;
        std::string error;
        if (!ReadMqoFile(file.Path(), model, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(model.vertices.data());
    }
}
BENCHMARK(BM_ReadMqoFromFile)->Unit(benchmark::kMillisecond)->MinTime(3.0);

#ifdef M3D_HAVE_ASSIMP
std::string GridObj()
{
    std::string s = "o grid\n";
    for (int y = 0; y <= kRows; ++y)
        for (int x = 0; x <= kColumns; ++x) Append(s, "v %.4f %.4f %.4f\n", x * 1.0, Height(x, y), -y * 1.0);
    for (int y = 0; y <= kRows; ++y)
        for (int x = 0; x <= kColumns; ++x) Append(s, "vt %.5f %.5f\n", double(x) / kColumns, 1.0 - double(y) / kRows);
    for (int y = 0; y < kRows; ++y)
        for (int x = 0; x < kColumns; ++x) {
            const int a = y * (kColumns + 1) + x + 1, b = a + kColumns + 1;  // .obj counts from 1
            Append(s, "f %d/%d %d/%d %d/%d %d/%d\n", a, a, b, b, b + 1, b + 1, a + 1, a + 1);
        }
    return s;
}

// assimp doing the same work as ReadMqo: parse, triangulate, smooth normals,
// share identical vertices.
void BM_AssimpReadObjFromMemory(benchmark::State& state)
{
    static const std::string bytes = GridObj();
    const unsigned flags = aiProcess_Triangulate | aiProcess_GenSmoothNormals | aiProcess_JoinIdenticalVertices;
    const unsigned parseOnly = state.range(0) == 0;
    for (auto _ : state) {
        Assimp::Importer importer;
        const aiScene* scene = importer.ReadFileFromMemory(bytes.data(), bytes.size(), parseOnly ? 0 : flags, "obj");
        if (!scene) state.SkipWithError(importer.GetErrorString());
        benchmark::DoNotOptimize(scene);
    }
    state.counters["MB"] = double(bytes.size()) / 1e6;
}
BENCHMARK(BM_AssimpReadObjFromMemory)
    ->Arg(0)
    ->Arg(1)
    ->ArgNames({"postprocess"})
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);
#endif

}  // namespace
