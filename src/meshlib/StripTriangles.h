#pragma once

#include "records/MeshRecords.h"

#include <algorithm>
#include <cstdint>

namespace m3d {

// Calls visit(a, b, c) for every real triangle of a sub-mesh, in strip order,
// with absolute vertex numbers (baseVertex added) in drawing orientation: the
// winding flag starts at windingFlag and flips after every strip triangle, and
// a flagged triangle is visited as (i2, i1, i0). Triangles with a repeated
// index join strips and are skipped, though they still flip the winding. Reads
// at most min(indexCount, indices.size()) indices.
template <class Visit>
void ForEachStripTriangle(const _MESH_MESHDATA& mesh, Visit&& visit)
{
    const size_t count = std::min<size_t>(mesh.indexCount, mesh.indices.size());
    for (size_t t = 0; t + 2 < count; ++t) {
        const uint32_t i0 = mesh.indices[t], i1 = mesh.indices[t + 1], i2 = mesh.indices[t + 2];
        if (i0 == i1 || i1 == i2 || i2 == i0) continue;
        const uint32_t base = mesh.baseVertex;
        if (((mesh.windingFlag ^ t) & 1) == 0)
            visit(base + i0, base + i1, base + i2);
        else
            visit(base + i2, base + i1, base + i0);
    }
}

// Number of real triangles of a sub-mesh.
inline int CountStripFaces(const _MESH_MESHDATA& mesh)
{
    int faces = 0;
    ForEachStripTriangle(mesh, [&](uint32_t, uint32_t, uint32_t) { ++faces; });
    return faces;
}

}  // namespace m3d
