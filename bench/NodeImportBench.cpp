// Importing glTF files of many small animated nodes (ImportBenchModels.h):
// the time should grow with the count of nodes and no faster, so the time
// per node ("per_node") should stay level from 250 to 2000 nodes, for a
// single chain (chain:1, every node one deeper) and a tree of four children
// a node (chain:0). The bare parse of each file by tinygltf is the baseline.
#include "ImportBenchModels.h"
#include "ImportBenchTiming.h"

#include <benchmark/benchmark.h>

#include <map>
#include <utility>

using namespace m3d;
using namespace m3d::importbench;

namespace {

const std::string& NodeTreePath(int nodes, bool chain)
{
    static const TempFolder folder;
    static std::map<std::pair<int, bool>, std::string> paths;
    std::string& path = paths[{nodes, chain}];
    if (path.empty())
        path = folder.Write("nodes" + std::to_string(nodes) + (chain ? "chain" : "tree") + ".glb",
                            NodeTreeGlb(nodes, chain));
    return path;
}

void SetPerNode(benchmark::State& state)
{
    state.counters["per_node"] = benchmark::Counter(
        double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_NodeTreeBareParse(benchmark::State& state)
{
    const std::string& path = NodeTreePath(int(state.range(0)), state.range(1) != 0);
    for (auto _ : state) BareGltfParse(state, path);
    SetPerNode(state);
}

void BM_NodeTreeImport(benchmark::State& state)
{
    const std::string& path = NodeTreePath(int(state.range(0)), state.range(1) != 0);
    StageClock clock(state);
    int parts = 0;
    for (auto _ : state) {
        auto scene = std::make_unique<Scene>();
        ImportFile(clock, *scene, path);
        parts = scene->PartCount();
        FreeUntimed(state, scene);
    }
    state.counters["parts"] = parts;
    SetPerNode(state);
}

void NodeCounts(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"nodes", "chain"})->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
    for (const int chain : {0, 1})
        for (const int nodes : {250, 500, 1000, 2000}) b->Args({nodes, chain});
}
BENCHMARK(BM_NodeTreeBareParse)->Apply(NodeCounts);
BENCHMARK(BM_NodeTreeImport)->Apply(NodeCounts);

}  // namespace
