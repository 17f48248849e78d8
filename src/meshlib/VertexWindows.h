#pragma once

#include "records/MeshRecords.h"

#include <cstdint>
#include <span>
#include <vector>

namespace m3d {

// Sub-mesh indices are 16-bit and relative to the sub-mesh's base vertex, so
// the triangles of one sub-mesh must reach at most 65,536 consecutive vertices.
constexpr uint32_t kVertexWindowSize = 65536;

// Triangles whose vertices all lie in baseVertex ... baseVertex + vertexCount - 1.
struct VertexWindow {
    uint32_t baseVertex = 0;
    uint32_t vertexCount = 0;              // at most kVertexWindowSize
    std::vector<uint32_t> localTriangles;  // three per triangle, relative to baseVertex
};

// Splits triangles (three vertex numbers each, all below vertices.size()) into
// windows.
//
// A model of at most 65,536 vertices is one window at base 0 with the
// triangles in their given order, and no vertex is touched. In a larger one the
// triangles are taken in order of their lowest vertex number (which brings
// neighbours together however the file ordered its faces) and cut into runs
// that use at most 65,536 distinct vertices. A run whose vertices lie within
// 65,536 consecutive ones uses them where they are; otherwise its vertices are
// copied, in order of first use, to the end of `vertices` and the run uses the
// copies. Model files number their vertices part by part, so most runs need no
// copy.
std::vector<VertexWindow> SplitIntoVertexWindows(std::span<const uint32_t> triangles,
                                                 std::vector<_MESH_VERTEX>& vertices);

}  // namespace m3d
