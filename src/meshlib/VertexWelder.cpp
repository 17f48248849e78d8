#include "meshlib/VertexWelder.h"

#include <bit>

namespace m3d {

namespace {

constexpr uint32_t kNone = UINT32_MAX;

// Bits of f with -0 folded into +0, so values that compare equal hash equally.
uint32_t Bits(float f) { return std::bit_cast<uint32_t>(f + 0.0f); }

uint32_t HashPosition(float x, float y, float z)
{
    uint64_t h = (uint64_t(Bits(x)) * 0x9E3779B97F4A7C15ull) ^ (uint64_t(Bits(y)) * 0xC2B2AE3D27D4EB4Full) ^
                 (uint64_t(Bits(z)) * 0x165667B19E3779F9ull);
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return static_cast<uint32_t>(h);
}

uint32_t HashVertex(const _MESH_VERTEX& v)
{
    uint64_t h = HashPosition(v.x, v.y, v.z);
    for (float f : {v.nx, v.ny, v.nz, v.tu, v.tv}) {
        h = (h ^ Bits(f)) * 0x9E3779B97F4A7C15ull;
        h ^= h >> 31;
    }
    return static_cast<uint32_t>(h);
}

bool SameAttributes(const _MESH_VERTEX& a, const _MESH_VERTEX& b)
{
    return a.nx == b.nx && a.ny == b.ny && a.nz == b.nz && a.tu == b.tu && a.tv == b.tv;
}

}  // namespace

VertexWelder::VertexWelder(std::vector<_MESH_VERTEX>& vertices) : vertices(vertices)
{
    Rehash(1024);
    // Vertices already in the list take part like new ones.
    const size_t existing = vertices.size();
    nextAtPosition.assign(existing, kNone);
    for (size_t i = existing; i-- > 0;) {
        const _MESH_VERTEX& v = vertices[i];
        Position& p = positions[PositionKey(v.x, v.y, v.z)];
        nextAtPosition[i] = p.firstVertex;
        p.firstVertex = static_cast<uint32_t>(i);
        if (++p.vertexCount == kMaxChain + 1)
            for (uint32_t k = p.firstVertex; k != kNone; k = nextAtPosition[k]) InsertCrowded(k);
        else if (p.vertexCount > kMaxChain + 1)
            InsertCrowded(static_cast<uint32_t>(i));
    }
}

void VertexWelder::Rehash(size_t slotCount)
{
    slots.assign(slotCount, 0);
    const size_t mask = slotCount - 1;
    for (size_t key = 0; key < positions.size(); ++key) {
        const Position& p = positions[key];
        const uint32_t hash = HashPosition(p.x, p.y, p.z);
        size_t slot = hash & mask;
        while (slots[slot] != 0) slot = (slot + 1) & mask;
        slots[slot] = (uint64_t(hash) << 32) | (key + 1);
    }
}

void VertexWelder::ReservePositions(size_t count)
{
    size_t wanted = slots.size();
    while (wanted < (positions.size() + count) * 2) wanted *= 2;
    if (wanted != slots.size()) Rehash(wanted);
    positions.reserve(positions.size() + count);
    vertices.reserve(vertices.size() + count);
    nextAtPosition.reserve(nextAtPosition.size() + count);
}

uint32_t VertexWelder::PositionKey(float x, float y, float z)
{
    const uint32_t hash = HashPosition(x, y, z);
    const size_t mask = slots.size() - 1;
    size_t slot = hash & mask;
    while (slots[slot] != 0) {
        if (uint32_t(slots[slot] >> 32) == hash) {
            const uint32_t key = uint32_t(slots[slot]) - 1;
            const Position& p = positions[key];
            if (p.x == x && p.y == y && p.z == z) return key;
        }
        slot = (slot + 1) & mask;
    }
    const uint32_t key = static_cast<uint32_t>(positions.size());
    positions.push_back({x, y, z, kNone, 0});
    slots[slot] = (uint64_t(hash) << 32) | (key + 1);
    if (positions.size() * 2 > slots.size()) Rehash(slots.size() * 2);
    return key;
}

uint32_t VertexWelder::Add(uint32_t positionKey, const _MESH_VERTEX& v)
{
    Position& p = positions[positionKey];
    if (p.vertexCount > kMaxChain) return AddCrowded(v);
    for (uint32_t i = p.firstVertex; i != kNone; i = nextAtPosition[i]) {
        ++probes;
        if (SameAttributes(vertices[i], v)) return i;
    }
    const uint32_t index = static_cast<uint32_t>(vertices.size());
    vertices.push_back(v);
    nextAtPosition.push_back(p.firstVertex);
    p.firstVertex = index;
    if (++p.vertexCount > kMaxChain)
        for (uint32_t i = p.firstVertex; i != kNone; i = nextAtPosition[i]) InsertCrowded(i);
    return index;
}

void VertexWelder::InsertCrowded(uint32_t index)
{
    if ((crowdedCount + 1) * 2 > crowded.size()) {
        std::vector<uint64_t> old = std::move(crowded);
        crowded.assign(old.empty() ? 1024 : old.size() * 2, 0);
        crowdedCount = 0;
        for (uint64_t entry : old)
            if (entry != 0) InsertCrowded(uint32_t(entry) - 1);
    }
    const uint32_t hash = HashVertex(vertices[index]);
    const size_t mask = crowded.size() - 1;
    size_t slot = hash & mask;
    while (crowded[slot] != 0) slot = (slot + 1) & mask;
    crowded[slot] = (uint64_t(hash) << 32) | (index + 1);
    ++crowdedCount;
}

uint32_t VertexWelder::AddCrowded(const _MESH_VERTEX& v)
{
    const uint32_t hash = HashVertex(v);
    const size_t mask = crowded.size() - 1;
    for (size_t slot = hash & mask; crowded[slot] != 0; slot = (slot + 1) & mask) {
        ++probes;
        if (uint32_t(crowded[slot] >> 32) != hash) continue;
        const uint32_t index = uint32_t(crowded[slot]) - 1;
        const _MESH_VERTEX& o = vertices[index];
        if (o.x == v.x && o.y == v.y && o.z == v.z && SameAttributes(o, v)) return index;
    }
    const uint32_t index = static_cast<uint32_t>(vertices.size());
    vertices.push_back(v);
    nextAtPosition.push_back(kNone);
    InsertCrowded(index);
    return index;
}

}  // namespace m3d
