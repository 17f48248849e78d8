#include "meshlib/VertexWindows.h"

#include <algorithm>
#include <limits>

namespace {

constexpr uint32_t kUnseen = std::numeric_limits<uint32_t>::max();

// Turns a run of triangles (global numbers) into a window: in place when its
// vertices fit into one window, else over copies appended to `vertices`.
VertexWindow MakeWindow(std::span<const uint32_t> run, const std::vector<uint32_t>& distinct,
                        std::vector<uint32_t>& localOf, std::vector<_MESH_VERTEX>& vertices)
{
    VertexWindow window;
    window.localTriangles.reserve(run.size());
    const auto [low, high] = std::minmax_element(distinct.begin(), distinct.end());
    if (*high - *low < kVertexWindowSize) {
        window.baseVertex = *low;
        window.vertexCount = *high - *low + 1;
        for (uint32_t v : run) window.localTriangles.push_back(v - *low);
        return window;
    }
    window.baseVertex = uint32_t(vertices.size());
    window.vertexCount = uint32_t(distinct.size());
    vertices.reserve(vertices.size() + distinct.size());
    for (uint32_t v : distinct) vertices.push_back(vertices[v]);
    for (uint32_t v : run) window.localTriangles.push_back(localOf[v]);
    return window;
}

}  // namespace

std::vector<VertexWindow> SplitIntoVertexWindows(std::span<const uint32_t> triangles,
                                                 std::vector<_MESH_VERTEX>& vertices)
{
    std::vector<VertexWindow> windows;
    if (triangles.empty()) return windows;
    if (vertices.size() <= kVertexWindowSize) {
        windows.push_back({0, uint32_t(vertices.size()), std::vector<uint32_t>(triangles.begin(), triangles.end())});
        return windows;
    }

    // localOf numbers the distinct vertices of the current run in order of first use.
    std::vector<uint32_t> localOf(vertices.size(), kUnseen);
    std::vector<uint32_t> distinct;
    size_t runBegin = 0;
    auto closeRun = [&](size_t runEnd) {
        windows.push_back(MakeWindow(triangles.subspan(runBegin, runEnd - runBegin), distinct, localOf, vertices));
        for (uint32_t v : distinct) localOf[v] = kUnseen;
        distinct.clear();
        runBegin = runEnd;
    };
    for (size_t t = 0; t < triangles.size(); t += 3) {
        int fresh = 0;
        for (int k = 0; k < 3; ++k) fresh += localOf[triangles[t + k]] == kUnseen;
        if (distinct.size() + fresh > kVertexWindowSize) closeRun(t);
        for (int k = 0; k < 3; ++k) {
            uint32_t& local = localOf[triangles[t + k]];
            if (local == kUnseen) {
                local = uint32_t(distinct.size());
                distinct.push_back(triangles[t + k]);
            }
        }
    }
    closeRun(triangles.size());
    return windows;
}
