#include "meshlib/VertexWelder.h"

#include <bit>

namespace {

bool Equal(const _MESH_VERTEX& a, const _MESH_VERTEX& b)
{
    return a.x == b.x && a.y == b.y && a.z == b.z && a.nx == b.nx && a.ny == b.ny && a.nz == b.nz &&
           a.tu == b.tu && a.tv == b.tv;
}

// Bits of f with -0 folded into +0, so values that compare equal hash equally.
uint32_t Bits(float f) { return std::bit_cast<uint32_t>(f + 0.0f); }

}  // namespace

VertexWelder::VertexWelder(std::vector<_MESH_VERTEX>& vertices) : vertices_(vertices)
{
    size_t slotCount = 1024;
    while (slotCount < vertices_.size() * 2 + 2) slotCount *= 2;
    Rehash(slotCount);
}

uint64_t VertexWelder::Hash(const _MESH_VERTEX& v)
{
    const uint32_t words[8] = {Bits(v.x),  Bits(v.y),  Bits(v.z),  Bits(v.nx),
                               Bits(v.ny), Bits(v.nz), Bits(v.tu), Bits(v.tv)};
    uint64_t h = 0x9E3779B97F4A7C15ull;
    for (uint32_t w : words) {
        h ^= w;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 32;
    }
    return h;
}

void VertexWelder::Rehash(size_t slotCount)
{
    slots_.assign(slotCount, 0);
    const size_t mask = slotCount - 1;
    for (size_t i = 0; i < vertices_.size(); ++i) {
        size_t slot = Hash(vertices_[i]) & mask;
        while (slots_[slot] != 0) slot = (slot + 1) & mask;
        slots_[slot] = static_cast<uint32_t>(i + 1);
    }
}

void VertexWelder::Reserve(size_t count)
{
    size_t wanted = slots_.size();
    while (wanted < (vertices_.size() + count) * 2) wanted *= 2;
    if (wanted != slots_.size()) Rehash(wanted);
}

uint32_t VertexWelder::Add(const _MESH_VERTEX& v)
{
    const size_t mask = slots_.size() - 1;
    size_t slot = Hash(v) & mask;
    while (slots_[slot] != 0) {
        const uint32_t index = slots_[slot] - 1;
        if (Equal(vertices_[index], v)) return index;
        slot = (slot + 1) & mask;
    }
    const uint32_t index = static_cast<uint32_t>(vertices_.size());
    vertices_.push_back(v);
    slots_[slot] = index + 1;
    if (vertices_.size() * 2 > slots_.size()) Rehash(slots_.size() * 2);
    return index;
}
