#include "meshlib/Stripifier.h"

#include "meshlib/TriangleStrips.h"
#include "meshlib/VertexWindows.h"

#include <array>
#include <cassert>

namespace m3d {

namespace {

constexpr uint32_t kMaterialLimit = 128;

// Collects the strips of one material and one window into sub-meshes.
class StripJoiner {
public:
    StripJoiner(int8_t materialNumber, uint32_t baseVertex, std::vector<_MESH_MESHDATA>& out)
        : materialNumber(materialNumber), baseVertex(baseVertex), out(out)
    {
    }
    ~StripJoiner() { Close(); }

    // Adds one strip whose first triangle is drawn reversed when firstReversed.
    void Add(std::span<const uint32_t> strip, bool firstReversed)
    {
        assert(strip.size() >= 3);
        // A strip that cannot fit into any sub-mesh goes out in full pieces;
        // consecutive pieces share two indices so no triangle is lost.
        while (strip.size() > kMaxStripIndices) {
            Close();
            Open(firstReversed);
            Append(strip.first(kMaxStripIndices));
            Close();
            const size_t advance = kMaxStripIndices - 2;
            firstReversed ^= (advance & 1) != 0;
            strip = strip.subspan(advance);
        }
        if (current) {
            const uint16_t last = current->indices.back();
            // Bridge: ... last last first [first] first second ...
            size_t position = current->indices.size() + 2;  // where the strip's first index lands
            const bool parityFlips = ((current->windingFlag ^ position) & 1) != size_t(firstReversed);
            const size_t needed = 2 + parityFlips + strip.size();
            if (current->indices.size() + needed <= kMaxStripIndices) {
                current->indices.push_back(last);
                current->indices.push_back(uint16_t(strip[0]));
                if (parityFlips) current->indices.push_back(uint16_t(strip[0]));
                Append(strip);
                return;
            }
            Close();
        }
        Open(firstReversed);
        Append(strip);
    }

private:
    void Open(bool firstReversed)
    {
        current = &out.emplace_back();
        current->materialNumber = materialNumber;
        current->windingFlag = firstReversed ? 1 : 0;
        current->baseVertex = baseVertex;
    }

    void Append(std::span<const uint32_t> strip)
    {
        for (uint32_t v : strip) current->indices.push_back(uint16_t(v));
    }

    void Close()
    {
        if (current) current->indexCount = uint16_t(current->indices.size());
        current = nullptr;
    }

    int8_t materialNumber;
    uint32_t baseVertex;
    std::vector<_MESH_MESHDATA>& out;
    _MESH_MESHDATA* current = nullptr;
};

}  // namespace

StripifiedGeometry Stripify(std::vector<_MESH_VERTEX> vertices, std::span<const uint32_t> indices,
                            std::span<const uint32_t> triangleMaterials)
{
    assert(indices.size() % 3 == 0 && triangleMaterials.size() == indices.size() / 3);
    StripifiedGeometry result;
    result.vertices = std::move(vertices);

    // The drawable triangles of each material, in input order.
    std::array<std::vector<uint32_t>, kMaterialLimit> byMaterial;
    for (size_t t = 0; t < triangleMaterials.size(); ++t) {
        const uint32_t a = indices[3 * t], b = indices[3 * t + 1], c = indices[3 * t + 2];
        if (a == b || b == c || c == a) continue;
        assert(triangleMaterials[t] < kMaterialLimit);
        byMaterial[triangleMaterials[t]].insert(byMaterial[triangleMaterials[t]].end(), {a, b, c});
    }

    for (uint32_t material = 0; material < kMaterialLimit; ++material) {
        for (const VertexWindow& window : SplitIntoVertexWindows(byMaterial[material], result.vertices)) {
            // The joiner points into subMeshes, so it must be done before the next window adds to it.
            StripJoiner joiner(int8_t(material), window.baseVertex, result.subMeshes);
            const StripRuns runs = BuildTriangleStrips(window.localTriangles, window.vertexCount);
            for (size_t k = 0; k < runs.runStarts.size(); ++k) {
                const size_t begin = runs.runStarts[k];
                const size_t end = k + 1 < runs.runStarts.size() ? runs.runStarts[k + 1] : runs.indices.size();
                joiner.Add(std::span<const uint32_t>(runs.indices).subspan(begin, end - begin), false);
            }
        }
        byMaterial[material] = {};
    }
    return result;
}

}  // namespace m3d
