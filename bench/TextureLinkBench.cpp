// Loading a .mesh of one triangle that names many textures (the crafted shape
// mesh-many-textures; none of the image files exist), into a mesh registered
// with a mesh manager, which links every texture slot and looks for its file,
// and, as the baseline in the same run, into a mesh of its own, which does not.
// Linking must stay linear in the number of names.
#include "crafted/CraftedShape.h"
#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace m3d;

namespace {

// The shape written at `textures` names into a folder of its own, removed at the end.
class ManyTexturesFile {
public:
    explicit ManyTexturesFile(size_t textures)
        : folder(std::filesystem::temp_directory_path() /
                 ("m3d-bench-textures-" + std::to_string(getpid()) + "-" + std::to_string(textures)))
    {
        std::filesystem::create_directories(folder);
        const std::vector<CraftedShape> shapes = CraftedShapes();
        const auto shape = std::find_if(shapes.begin(), shapes.end(),
                                        [](const CraftedShape& s) { return s.name == "mesh-many-textures"; });
        path = shape->write(folder.string(), textures);
    }
    ~ManyTexturesFile() { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
    std::string path;
};

void BM_LoadMeshNamingTextures(benchmark::State& state)
{
    const size_t textures = size_t(state.range(0));
    const bool linked = state.range(1) != 0;
    const ManyTexturesFile file(textures);
    for (auto _ : state) {
        CMeshBase base;
        CMesh mesh;
        if (linked) base.InitMesh(&mesh, 1);
        if (const Outcome loaded = mesh.LoadObject(file.path, 1.0f); !loaded)
            state.SkipWithError(loaded.Message().c_str());
        benchmark::DoNotOptimize(base.GetTextureNum());
    }
    state.counters["per_name"] = benchmark::Counter(
        double(textures), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LoadMeshNamingTextures)
    ->ArgNames({"textures", "linked"})
    ->ArgsProduct({{1024, 32767}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace
