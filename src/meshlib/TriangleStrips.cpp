#include "meshlib/TriangleStrips.h"

#include <algorithm>
#include <array>
#include <cassert>
#include <limits>

namespace m3d {

namespace {

constexpr uint32_t kNone = std::numeric_limits<uint32_t>::max();

// The edges leaving each vertex, as one compact table: for vertex v the
// entries offsets[v] ... offsets[v + 1] - 1 of `edges`, ordered by the vertex
// the edge runs to and then by triangle number. Finding the triangles that run
// one edge is then a binary search, however many triangles share the vertex
// (a file can pile thousands onto one corner).
struct OutgoingEdges {
    struct Edge {
        uint32_t to;
        uint32_t triangle;
        bool operator<(const Edge& o) const { return to != o.to ? to < o.to : triangle < o.triangle; }
    };
    std::vector<uint32_t> offsets;  // vertexCount + 1 entries
    std::vector<Edge> edges;

    OutgoingEdges(std::span<const uint32_t> corners, uint32_t vertexCount) : offsets(vertexCount + 1, 0)
    {
        for (uint32_t v : corners) ++offsets[v + 1];
        for (uint32_t v = 0; v < vertexCount; ++v) offsets[v + 1] += offsets[v];
        edges.resize(corners.size());
        std::vector<uint32_t> fill(offsets.begin(), offsets.end() - 1);
        for (size_t i = 0; i < corners.size(); ++i) {
            const size_t next = i % 3 == 2 ? i - 2 : i + 1;
            edges[fill[corners[i]]++] = {corners[next], uint32_t(i / 3)};
        }
        for (uint32_t v = 0; v < vertexCount; ++v)
            std::sort(edges.begin() + offsets[v], edges.begin() + offsets[v + 1]);
    }

    // The lowest-numbered triangle with an edge from `from` to `to`, or kNone.
    uint32_t FirstRunning(uint32_t from, uint32_t to) const
    {
        const auto begin = edges.begin() + offsets[from], end = edges.begin() + offsets[from + 1];
        const auto it = std::lower_bound(begin, end, Edge{to, 0});
        return it != end && it->to == to ? it->triangle : kNone;
    }
};

class StripBuilder {
public:
    StripBuilder(std::span<const uint32_t> corners, uint32_t vertexCount)
        : corners(corners),
          triangleCount(uint32_t(corners.size() / 3)),
          neighbours(corners.size(), kNone),
          used(triangleCount, 0),
          walkStamp(triangleCount, 0),
          valence(triangleCount, 0)
    {
        FindNeighbours(vertexCount);
        for (uint32_t t = 0; t < triangleCount; ++t) {
            for (int e = 0; e < 3; ++e) valence[t] += neighbours[3 * t + e] != kNone;
            buckets[valence[t]].push_back(t);
        }
    }

    StripRuns Build()
    {
        StripRuns runs;
        runs.indices.reserve(corners.size());
        for (uint32_t start = NextStart(); start != kNone; start = NextStart()) {
            int bestRotation = 0;
            uint32_t bestLength = 0;
            for (int rotation = 0; rotation < 3; ++rotation) {
                const uint32_t length = DryWalk(start, rotation);
                if (length > bestLength) {
                    bestLength = length;
                    bestRotation = rotation;
                }
            }
            runs.runStarts.push_back(uint32_t(runs.indices.size()));
            Emit(start, bestRotation, runs.indices);
        }
        return runs;
    }

private:
    uint32_t Corner(uint32_t t, int k) const { return corners[3 * t + k]; }

    // For edge e of t (from corner e to corner e + 1) the lowest-numbered
    // triangle that runs the same edge backwards (never t itself: a triangle
    // with three different corners cannot run one edge both ways).
    void FindNeighbours(uint32_t vertexCount)
    {
        const OutgoingEdges outgoing(corners, vertexCount);
        for (uint32_t t = 0; t < triangleCount; ++t)
            for (int e = 0; e < 3; ++e)
                neighbours[3 * t + e] = outgoing.FirstRunning(Corner(t, (e + 1) % 3), Corner(t, e));
    }

    // The edge index of t that runs from `from` to `to`, or -1.
    int EdgeOf(uint32_t t, uint32_t from, uint32_t to) const
    {
        for (int e = 0; e < 3; ++e)
            if (Corner(t, e) == from && Corner(t, (e + 1) % 3) == to) return e;
        return -1;
    }

    // The edge index of t joining a and b in either direction (both are corners of t).
    int EdgeJoining(uint32_t t, uint32_t a, uint32_t b) const
    {
        const int e = EdgeOf(t, a, b);
        return e >= 0 ? e : EdgeOf(t, b, a);
    }

    uint32_t ThirdCorner(uint32_t t, uint32_t a, uint32_t b) const
    {
        for (int k = 0; k < 3; ++k)
            if (Corner(t, k) != a && Corner(t, k) != b) return Corner(t, k);
        return kNone;
    }

    // An unused triangle with the fewest unused neighbours; kNone when all are used.
    // Buckets hold stale entries (used triangles, old valences) that are skipped here.
    uint32_t NextStart()
    {
        for (auto& bucket : buckets) {
            while (!bucket.empty()) {
                const uint32_t t = bucket.back();
                bucket.pop_back();
                if (!used[t] && &buckets[valence[t]] == &bucket) return t;
            }
        }
        return kNone;
    }

    // Follows the strip that leaves `start` with its corners rotated by
    // `rotation`; calls step(next, newVertex) for every triangle after the
    // first while isFree(next) holds.
    template <class IsFree, class Step>
    void Walk(uint32_t start, int rotation, IsFree isFree, Step step) const
    {
        uint32_t p = Corner(start, (rotation + 1) % 3), q = Corner(start, (rotation + 2) % 3);
        uint32_t current = start;
        for (;;) {
            const int e = EdgeJoining(current, p, q);
            assert(e >= 0);
            const uint32_t next = neighbours[3 * current + e];
            if (next == kNone || !isFree(next)) return;
            const uint32_t r = ThirdCorner(next, p, q);
            step(next, r);
            p = q;
            q = r;
            current = next;
        }
    }

    // Length in triangles of a walk, without using anything up. A strip can
    // come round to itself on a closed surface, so the walk marks its own path.
    uint32_t DryWalk(uint32_t start, int rotation)
    {
        ++stamp;
        walkStamp[start] = stamp;
        uint32_t length = 1;
        Walk(
            start, rotation, [&](uint32_t t) { return !used[t] && walkStamp[t] != stamp; },
            [&](uint32_t t, uint32_t) {
                walkStamp[t] = stamp;
                ++length;
            });
        return length;
    }

    void Emit(uint32_t start, int rotation, std::vector<uint32_t>& out)
    {
        for (int k = 0; k < 3; ++k) out.push_back(Corner(start, (rotation + k) % 3));
        Use(start);
        Walk(
            start, rotation, [&](uint32_t t) { return !used[t]; },
            [&](uint32_t t, uint32_t vertex) {
                out.push_back(vertex);
                Use(t);
            });
    }

    void Use(uint32_t t)
    {
        used[t] = 1;
        for (int e = 0; e < 3; ++e) {
            const uint32_t n = neighbours[3 * t + e];
            if (n == kNone || used[n]) continue;
            // Two triangles can share more than one edge (a two-sided pair):
            // handle each neighbour once.
            if ((e > 0 && neighbours[3 * t] == n) || (e > 1 && neighbours[3 * t + 1] == n)) continue;
            // Only edges that n itself counts as shared lower its valence.
            for (int k = 0; k < 3; ++k)
                if (neighbours[3 * n + k] == t) --valence[n];
            buckets[valence[n]].push_back(n);
        }
    }

    std::span<const uint32_t> corners;
    uint32_t triangleCount;
    std::vector<uint32_t> neighbours;  // three per triangle, kNone at a border
    std::vector<uint8_t> used;
    std::vector<uint32_t> walkStamp;
    uint32_t stamp = 0;
    std::vector<uint8_t> valence;  // unused neighbours
    std::array<std::vector<uint32_t>, 4> buckets;
};

}  // namespace

StripRuns BuildTriangleStrips(std::span<const uint32_t> triangles, uint32_t vertexCount)
{
    assert(triangles.size() % 3 == 0);
    return StripBuilder(triangles, vertexCount).Build();
}

}  // namespace m3d
