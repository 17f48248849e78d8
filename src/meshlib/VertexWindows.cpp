#include "meshlib/VertexWindows.h"

#include <algorithm>
#include <limits>

namespace m3d {

namespace {

constexpr uint32_t kUnseen = std::numeric_limits<uint32_t>::max();

// Turns a run of triangles (global numbers) into a window: in place when its
// vertices fit into one window, else over copies appended to `vertices`.
VertexWindow MakeWindow(const std::vector<uint32_t>& run, const std::vector<uint32_t>& distinct,
                        const std::vector<uint32_t>& localOf, std::vector<_MESH_VERTEX>& vertices)
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
    vertices.resize(vertices.size() + distinct.size());  // grows geometrically, unlike an exact reserve
    for (size_t k = 0; k < distinct.size(); ++k) vertices[window.baseVertex + k] = vertices[distinct[k]];
    for (uint32_t v : run) window.localTriangles.push_back(localOf[v]);
    return window;
}

// Triangle numbers ordered by their lowest vertex number (stable), so that
// triangles sharing vertices come together whatever order they were given in.
std::vector<uint32_t> OrderByLowestVertex(std::span<const uint32_t> triangles, size_t vertexCount)
{
    const size_t count = triangles.size() / 3;
    auto lowest = [&](size_t t) { return std::min({triangles[3 * t], triangles[3 * t + 1], triangles[3 * t + 2]}); };
    std::vector<uint32_t> start(vertexCount + 1, 0);
    for (size_t t = 0; t < count; ++t) ++start[lowest(t) + 1];
    for (size_t v = 0; v < vertexCount; ++v) start[v + 1] += start[v];
    std::vector<uint32_t> order(count);
    for (size_t t = 0; t < count; ++t) order[start[lowest(t)]++] = uint32_t(t);
    return order;
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
    std::vector<uint32_t> run;  // the run's triangles, three vertex numbers each
    auto closeRun = [&] {
        windows.push_back(MakeWindow(run, distinct, localOf, vertices));
        for (uint32_t v : distinct) localOf[v] = kUnseen;
        distinct.clear();
        run.clear();
    };
    for (uint32_t t : OrderByLowestVertex(triangles, vertices.size())) {
        const uint32_t* corners = &triangles[3 * size_t(t)];
        int fresh = 0;
        for (int k = 0; k < 3; ++k) fresh += localOf[corners[k]] == kUnseen;
        if (distinct.size() + fresh > kVertexWindowSize) closeRun();
        for (int k = 0; k < 3; ++k) {
            uint32_t& local = localOf[corners[k]];
            if (local == kUnseen) {
                local = uint32_t(distinct.size());
                distinct.push_back(corners[k]);
            }
            run.push_back(corners[k]);
        }
    }
    closeRun();
    return windows;
}

}  // namespace m3d
