#pragma once

#include "records/MeshRecords.h"

#include <cstdint>
#include <vector>

namespace m3d {

// Builds a vertex list in which every (position, normal, texture coordinate)
// combination appears once: corners that agree share a vertex, corners that
// differ in any value get their own. Values compare as floats, so -0 equals 0.
//
// Work is split in two steps so that the hashing is done once per position
// rather than once per corner: PositionKey names a position, Add then looks
// only among the few vertices already made at that position. A position that
// gathers more than kMaxChain vertices (a file crowding thousands of corners
// with different UVs onto one point) moves to a hash of the whole vertex, so
// no input makes the search quadratic.
// Appends to a list the caller owns and must not change while the welder lives.
class VertexWelder {
public:
    explicit VertexWelder(std::vector<_MESH_VERTEX>& vertices);

    // A number for the position (x, y, z), the same for equal positions.
    uint32_t PositionKey(float x, float y, float z);
    // Index of the vertex equal to v, appended when new. v's position must be
    // the one positionKey was made for.
    uint32_t Add(uint32_t positionKey, const _MESH_VERTEX& v);
    // Prepares for about count more positions, avoiding repeated regrowth.
    void ReservePositions(size_t count);

    static constexpr uint32_t kMaxChain = 32;
    // Vertices and hash slots looked at by Add so far: the welding's cost,
    // which stays a small multiple of the corners added whatever they hold.
    uint64_t Probes() const { return probes; }

private:
    void Rehash(size_t slotCount);
    uint32_t AddCrowded(const _MESH_VERTEX& v);
    void InsertCrowded(uint32_t index);

    std::vector<_MESH_VERTEX>& vertices;
    struct Position {
        float x, y, z;
        uint32_t firstVertex;  // UINT32_MAX while no vertex has been made here
        uint32_t vertexCount;  // above kMaxChain: the vertices are in crowded
    };
    std::vector<Position> positions;
    std::vector<uint32_t> nextAtPosition;  // per vertex: the next one at its position, or UINT32_MAX
    std::vector<uint64_t> slots;           // hash tag (high 32 bits) and position key + 1 (low); 0: empty
    std::vector<uint64_t> crowded;         // hash tag and vertex index + 1, for crowded positions
    size_t crowdedCount = 0;
    uint64_t probes = 0;
};

}  // namespace m3d
