#pragma once

#include "meshlib/MeshRecords.h"

#include <cstdint>
#include <vector>

// Builds a vertex list in which every (position, normal, texture coordinate)
// combination appears once: corners that agree share a vertex, corners that
// differ in any value get their own. Values compare as floats, so -0 equals 0.
// Appends to a list the caller owns and must not change while the welder lives.
class VertexWelder {
public:
    explicit VertexWelder(std::vector<_MESH_VERTEX>& vertices);

    // Index of the vertex equal to v, appended when new.
    uint32_t Add(const _MESH_VERTEX& v);
    // Prepares for about count more vertices, avoiding repeated regrowth.
    void Reserve(size_t count);

private:
    void Rehash(size_t slotCount);
    static uint64_t Hash(const _MESH_VERTEX& v);

    std::vector<_MESH_VERTEX>& vertices_;
    std::vector<uint32_t> slots_;  // vertex index + 1; 0 marks an empty slot
};
