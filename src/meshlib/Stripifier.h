#pragma once

#include "records/MeshRecords.h"

#include <cstdint>
#include <span>
#include <vector>

namespace m3d {

// Largest index count of one sub-mesh (its count is 16-bit).
constexpr uint32_t kMaxStripIndices = 65535;

struct StripifiedGeometry {
    // The input vertices unchanged, followed by the copies that vertex windows
    // needed (only for models of more than 65,536 vertices).
    std::vector<_MESH_VERTEX> vertices;
    // By ascending material number; within one material in the order of the
    // vertex windows (see VertexWindows.h).
    std::vector<_MESH_MESHDATA> subMeshes;
};

// Turns an indexed triangle list into sub-meshes of triangle strips.
//
// Preconditions (the caller checks them): indices.size() is a multiple of 3;
// triangleMaterials has one entry per triangle, each below 128; every index is
// below vertices.size().
//
// Every triangle with three different vertex numbers comes out exactly once,
// in its orientation, in a sub-mesh of its material; triangles with a repeated
// vertex number are dropped (they have no area and would read as joints).
// The strips of one material are joined into one sub-mesh through degenerate
// triangles (repeated indices), with one more repeat where the winding parity
// of the next strip would otherwise come out wrong. A sub-mesh grows until its
// next strip would take it past kMaxStripIndices; a single longer strip is cut
// into pieces that overlap by two indices.
StripifiedGeometry Stripify(std::vector<_MESH_VERTEX> vertices, std::span<const uint32_t> indices,
                            std::span<const uint32_t> triangleMaterials);

}  // namespace m3d
