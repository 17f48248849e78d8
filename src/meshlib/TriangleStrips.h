#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace m3d {

// Strips built over one indexed triangle list. Run k covers
// indices[runStarts[k] ... runStarts[k + 1] - 1] (the last run ends at
// indices.size()); triangle t of a run uses its indices t, t + 1, t + 2, the
// first one in the orientation of the input triangle and then alternating.
struct StripRuns {
    std::vector<uint32_t> indices;
    std::vector<uint32_t> runStarts;
};

// Covers every triangle of `triangles` (three vertex numbers each, all below
// vertexCount, no vertex twice in one triangle) by exactly one strip triangle
// with its orientation kept. Neighbours are triangles that share an edge run
// in the opposite direction (consistently oriented surfaces); on an edge shared
// by more than two triangles one of them is taken.
//
// Greedy: each strip starts at an unused triangle with the fewest unused
// neighbours (boundaries and corners first, so the surface is eaten from its
// rim inward and few triangles are left stranded), and walks across the edge
// of the last two strip vertices as long as the next triangle is unused; of the
// three ways out of the start triangle the longest walk is kept.
StripRuns BuildTriangleStrips(std::span<const uint32_t> triangles, uint32_t vertexCount);

}  // namespace m3d
