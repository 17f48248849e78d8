#pragma once

#include "math/Vec3.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace m3d {

// Splits polygons into triangles that keep the polygon's winding.
//
// Triangles pass through; a quad splits as (0, 1, 2) + (2, 3, 0), or along the
// other diagonal when that split would turn a triangle over (a concave quad).
// Larger polygons are cut by ear clipping in the plane of their area-weighted
// normal, which handles concave outlines and outlines that visit a vertex
// twice (a hole joined to the outside by a seam). Numerically broken outlines
// still yield n - 2 triangles, some of them degenerate.
//
// The ear test looks only at the corners within the ear's bounding box, found
// through a list of the corners sorted by the Z-order (Morton order) code of
// their projected position, so a convex or gently concave outline of any size
// costs about n log n. Ear clipping is still quadratic or worse on outlines
// that cross themselves everywhere or pile corners onto a few points, so it
// gets a budget of kEarWorkPerCorner * n + kEarWorkFloor corner tests; what is
// left of the outline when the budget runs out is fanned from one of its
// corners, which can turn triangles over. The outlines of the test models use
// at most 26 tests a corner and a 3,000-corner star 50; long rows of
// collinear corners (a comb's base) cost far more and end fanned.
//
// Outlines of up to kStepBackCorners corners test ears against every corner
// and after a cut try the corner before it next: the order this cutter always
// had, so models keep their triangles. Longer ones test against the reflex
// corners only and go on past the cut, which keeps the ears and their boxes
// small.
//
// One instance keeps its scratch buffers between calls; it is not thread-safe.
class PolygonTriangulator {
public:
    static constexpr uint64_t kEarWorkPerCorner = 64;
    static constexpr uint64_t kEarWorkFloor = 2048;
    static constexpr uint32_t kStepBackCorners = 256;

    // corners lists n >= 3 indices into positions, in the polygon's order.
    // Appends n - 2 triangles to out as triples of corner numbers (0 ... n - 1),
    // each wound like the polygon.
    void Triangulate(const std::vector<Vec3>& positions, const uint32_t* corners, uint32_t n,
                     std::vector<uint32_t>& out);
    // The corner tests and sorted-list steps the last polygon of more than
    // four corners cost: what the budget bounds (at most one ear test and
    // one final pass over it).
    uint64_t LastWork() const { return work; }

private:
    void SplitQuad(const std::vector<Vec3>& positions, const uint32_t* corners, std::vector<uint32_t>& out);
    // Projects the corners onto the plane of their normal so that the outline
    // runs counter-clockwise; false when the outline has no area or a
    // coordinate is not finite.
    bool Project(const std::vector<Vec3>& positions, const uint32_t* corners, uint32_t n);
    // Sorts the corners that can block an ear by their Z-order code.
    void IndexCorners(uint32_t n);
    uint32_t ZCode(double x, double y) const;
    void ClipEars(uint32_t n, std::vector<uint32_t>& out);
    double Orientation(uint32_t a, uint32_t b, uint32_t c) const;
    bool IsEar(uint32_t i);

    std::vector<double> projectedX, projectedY;
    std::vector<uint32_t> prev, next;  // the outline still to cut
    std::vector<uint8_t> watched;      // 1: the corner can block an ear
    std::vector<uint64_t> zKeys;       // Z-order code (high half) and corner of the watched corners, sorted
    size_t watchedCount = 0;           // corners of zKeys still watched
    double originX = 0, originY = 0, zScale = 0, margin = 0;
    double tolerance = 0;
    uint64_t work = 0;  // corner tests made for the current polygon
};

}  // namespace m3d
