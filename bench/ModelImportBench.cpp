// Bringing a 1,000,000-triangle model in, as .obj and as .glb, the way the
// editor does it (the reader in a child process, then Parts and Motions, or
// one mesh for Add Part), against the bare parse of the same file by the
// format's library alone in the same run. Wall time throughout: the child's
// processor time is not the benchmark's own. What is freed afterwards is
// not timed.
#include "ImportBenchModels.h"
#include "ImportBenchTiming.h"

#include "anim/ModelImport.h"
#include "foreign/ForeignReaderProcess.h"
#include "foreign/ForeignRecords.h"
#include "foreign/ForeignSpace.h"
#include "foreign/NodeWorlds.h"
#include "foreign/readers/ModelReaders.h"
#include "meshlib/CMesh.h"
#include "scene/Scene.h"

#include <benchmark/benchmark.h>
#include <tiny_gltf.h>
#include <tiny_obj_loader.h>

#include <memory>

using namespace m3d;
using namespace m3d::importbench;

namespace {

const TempFolder& Folder()
{
    static const TempFolder folder;
    return folder;
}

const std::string& ObjPath()
{
    static const std::string path = Folder().Write("grid.obj", GridObj());
    return path;
}

const std::string& GlbPath()
{
    static const std::string path = Folder().Write("grid.glb", GridGlb());
    return path;
}

void BM_BareObjParse(benchmark::State& state)
{
    const std::string& path = ObjPath();
    tinyobj::ObjReaderConfig config;
    config.triangulate = true;
    size_t triangles = 0;
    for (auto _ : state) {
        auto reader = std::make_unique<tinyobj::ObjReader>();
        if (!reader->ParseFromFile(path, config)) state.SkipWithError(reader->Error().c_str());
        triangles = 0;
        for (const tinyobj::shape_t& shape : reader->GetShapes()) triangles += shape.mesh.num_face_vertices.size();
        FreeUntimed(state, reader);
    }
    state.counters["triangles"] = double(triangles);
}
BENCHMARK(BM_BareObjParse)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_BareGlbParse(benchmark::State& state)
{
    const std::string& path = GlbPath();
    for (auto _ : state) BareGltfParse(state, path);
}
BENCHMARK(BM_BareGlbParse)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// The reader alone, in this process.
void BM_ReadInProcess(benchmark::State& state, const std::string& (*path)(),
                      Outcome (*read)(const std::string&, ForeignModel&))
{
    const std::string& file = path();
    for (auto _ : state) {
        auto model = std::make_unique<ForeignModel>();
        if (const Outcome done = read(file, *model); !done) state.SkipWithError(done.Message().c_str());
        FreeUntimed(state, model);
    }
}
BENCHMARK_CAPTURE(BM_ReadInProcess, obj, &ObjPath, &ReadObjModel)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ReadInProcess, glb, &GlbPath, &ReadGltfModel)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

// File > Import Model: the read in the child, then Parts and Motions in a new Scene.
void BM_ImportModel(benchmark::State& state, const std::string& (*path)())
{
    const std::string& file = path();
    StageClock clock(state);
    for (auto _ : state) {
        auto scene = std::make_unique<Scene>();
        ImportFile(clock, *scene, file);
        FreeUntimed(state, scene);
    }
}
BENCHMARK_CAPTURE(BM_ImportModel, obj, &ObjPath)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_ImportModel, glb, &GlbPath)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Add Part: the whole file merged into one mesh (LoadObjectFile).
void BM_AddPartMesh(benchmark::State& state, const std::string& (*path)())
{
    const std::string& file = path();
    for (auto _ : state) {
        auto scene = std::make_unique<Scene>();
        if (const ObjectMesh object = scene->LoadObjectMesh(file); !object.loaded)
            state.SkipWithError(object.loaded.Message().c_str());
        FreeUntimed(state, scene);
    }
}
BENCHMARK_CAPTURE(BM_AddPartMesh, obj, &ObjPath)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK_CAPTURE(BM_AddPartMesh, glb, &GlbPath)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Where the time of an import goes, stage by stage (milliseconds each, mean
// over the iterations): the read in the child (which includes the reader,
// the records' encoding and decoding), the encoding and decoding timed
// apart in this process, the turn into the editor's space, ImportModel,
// and for Add Part the merge into one list and its mesh's strips.
void BM_ImportStages(benchmark::State& state, const std::string& (*path)())
{
    const std::string& file = path();
    StageClock clock(state);
    for (auto _ : state) {
        auto model = std::make_unique<ForeignModel>();
        clock.Time("child_ms", [&] { return ReadForeignModelInChild(file, *model); });
        std::string bytes;
        clock.Time("encode_ms", [&] { bytes = EncodeForeignModel(*model); });
        clock.Time("decode_ms", [&] { return DecodeForeignModel(bytes, file, *model); });
        clock.Time("space_ms", [&] { ToEditorSpace(*model, 1.0f); });
        auto scene = std::make_unique<Scene>();
        clock.Time("import_ms", [&] { ImportModel(*scene, *model, file, kDefaultImportFrameRate); });
        auto merged = std::make_unique<LoadedModel>();
        clock.Time("merge_ms", [&] { return MergeModelGeometry(*model, file, *merged); });
        auto mesh = std::make_unique<CMesh>();
        scene->MutableMeshBase().InitMesh(mesh.get(), 1);
        clock.Time("strips_ms", [&] { return mesh->LoadModel(*merged, file, 1.0f); });
        state.PauseTiming();
        mesh.reset(), merged.reset(), scene.reset(), model.reset();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_ImportStages, obj, &ObjPath)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK_CAPTURE(BM_ImportStages, glb, &GlbPath)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
