// Every crafted geometry shape (tests/crafted/MeshGeometryShapes.cpp) at full
// size, read from memory through ReadMqo and BuildMeshContent as the editor
// loads a model, against parsing the same bytes alone in the same run: the
// gap is what triangulation, normals, welding and strips cost. An ordinary
// smooth grid of 7 MB gives the gap a healthy model has. A shape the reader
// refuses reports refused = 1; its time is that of the refusal.
#include "crafted/CraftedShape.h"
#include "io/FileReading.h"
#include "meshlib/ModelToMesh.h"
#include "meshlib/MqoParser.h"
#include "meshlib/MqoReader.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

using namespace m3d;

namespace m3d {
// The geometry group of the crafted shapes (tests/crafted/MeshGeometryShapes.cpp).
void AddMeshGeometryShapes(std::vector<CraftedShape>& shapes);
}  // namespace m3d

namespace {

// A smooth wavy grid of quads with UVs, about 7 MB.
std::string OrdinaryGrid()
{
    constexpr int kSide = 240;
    std::string s = "Metasequoia Document\nFormat Text Ver 1.0\n\nObject \"grid\" {\n\tshading 1\n\tfacet 59.5\n";
    char line[160];
    s += "\tvertex " + std::to_string((kSide + 1) * (kSide + 1)) + " {\n";
    for (int y = 0; y <= kSide; ++y)
        for (int x = 0; x <= kSide; ++x) {
            std::snprintf(line, sizeof line, "\t\t%.4f %.4f %.4f\n", x * 1.0,
                          10 * std::sin(x * 0.05) * std::cos(y * 0.07), y * 1.0);
            s += line;
        }
    s += "\t}\n\tface " + std::to_string(kSide * kSide) + " {\n";
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int a = y * (kSide + 1) + x, b = a + kSide + 1;
            const double u0 = double(x) / kSide, u1 = double(x + 1) / kSide, v0 = double(y) / kSide,
                         v1 = double(y + 1) / kSide;
            std::snprintf(line, sizeof line, "\t\t4 V(%d %d %d %d) UV(%.5f %.5f %.5f %.5f %.5f %.5f %.5f %.5f)\n", a, b,
                          b + 1, a + 1, u0, v0, u0, v1, u1, v1, u1, v0);
            s += line;
        }
    return s + "\t}\n}\nEof\n";
}

// The bytes of a shape at full size, written once through its generator.
std::string ShapeBytes(const CraftedShape& shape)
{
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("m3d_hostile_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    Expected<std::string> bytes = ReadWholeFile(shape.write(folder.string(), shape.fullSize));
    if (!bytes) std::fprintf(stderr, "%s\n", bytes.Message().c_str());
    std::filesystem::remove_all(folder);
    return bytes ? std::move(*bytes) : std::string();
}

void Parse(benchmark::State& state, const std::string& bytes)
{
    for (auto _ : state) {
        MqoDocument doc;
        if (const Outcome parsed = ParseMqoDocument(bytes, "shape.mqo", doc); !parsed)
            state.SkipWithError(parsed.Message().c_str());
        benchmark::DoNotOptimize(doc.objects.data());
    }
    state.counters["MB"] = double(bytes.size()) / 1e6;
}

void Load(benchmark::State& state, const std::string& bytes)
{
    bool refused = false;
    for (auto _ : state) {
        LoadedModel model;
        MeshContent content;
        std::vector<std::string> textures;
        refused = !ReadMqo(bytes, "shape.mqo", model) || !BuildMeshContent(model, "shape.mqo", content, textures);
        benchmark::DoNotOptimize(content.subMeshes.data());
    }
    state.counters["MB"] = double(bytes.size()) / 1e6;
    state.counters["refused"] = refused;
}

const bool registered = [] {
    static const std::string grid = OrdinaryGrid();
    benchmark::RegisterBenchmark("HostileGeometry/ordinary-grid/parse", Parse, grid)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("HostileGeometry/ordinary-grid/load", Load, grid)->Unit(benchmark::kMillisecond);
    std::vector<CraftedShape> geometry;
    AddMeshGeometryShapes(geometry);
    static std::vector<std::pair<std::string, std::string>> shapes;
    for (const CraftedShape& shape : geometry) shapes.emplace_back(shape.name, ShapeBytes(shape));
    for (const auto& [name, bytes] : shapes) {
        benchmark::RegisterBenchmark(("HostileGeometry/" + name + "/parse").c_str(), Parse, bytes)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("HostileGeometry/" + name + "/load").c_str(), Load, bytes)
            ->Unit(benchmark::kMillisecond);
    }
    return true;
}();

}  // namespace
