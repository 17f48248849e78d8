#pragma once

#include "math/Vec3.h"

#include <cstdint>
#include <vector>

// Splits polygons into triangles that keep the polygon's winding.
//
// Triangles pass through; a quad splits as (0, 1, 2) + (2, 3, 0), or along the
// other diagonal when that split would turn a triangle over (a concave quad).
// Larger polygons are cut by ear clipping in the plane of their area-weighted
// normal, which handles concave outlines and outlines that visit a vertex
// twice (a hole joined to the outside by a seam). Numerically broken outlines
// still yield n - 2 triangles, some of them degenerate. Outlines of more than
// kMaxEarClippingCorners corners are fanned from corner 0 to bound the
// quadratic cost.
//
// One instance keeps its scratch buffers between calls; it is not thread-safe.
class PolygonTriangulator {
public:
    static constexpr uint32_t kMaxEarClippingCorners = 1024;

    // corners lists n >= 3 indices into positions, in the polygon's order.
    // Appends n - 2 triangles to out as triples of corner numbers (0 ... n - 1),
    // each wound like the polygon.
    void Triangulate(const std::vector<Vec3>& positions, const uint32_t* corners, uint32_t n,
                     std::vector<uint32_t>& out);

private:
    void SplitQuad(const std::vector<Vec3>& positions, const uint32_t* corners, std::vector<uint32_t>& out);
    // Projects the corners onto the plane of their normal so that the outline
    // runs counter-clockwise; false when the outline has no area.
    bool Project(const std::vector<Vec3>& positions, const uint32_t* corners, uint32_t n);
    void ClipEars(uint32_t n, std::vector<uint32_t>& out);
    double Orientation(uint32_t a, uint32_t b, uint32_t c) const;
    bool IsEar(uint32_t i) const;

    std::vector<double> x_, y_;
    std::vector<uint32_t> prev_, next_;
    double tolerance_ = 0;
};
