#pragma once

#include "render/RenderDevice.h"

#include <array>
#include <cstdint>

namespace m3d {

// The grid of the views as prebuilt line lists (vertex pairs): three planes of
// 22 lines each and the three axes. Rebuilt whole when the grid width or the
// grid colour changes.
struct GridGeometry {
    static constexpr int kLinesPerPlane = 22;
    std::array<LineVertex, 2 * kLinesPerPlane> zx;  // plane y = 0
    std::array<LineVertex, 2 * kLinesPerPlane> xy;  // plane z = 0
    std::array<LineVertex, 2 * kLinesPerPlane> yz;  // plane x = 0
    std::array<LineVertex, 6> axes;                 // +X red, +Y green, +Z blue
};

inline constexpr uint32_t kAxisColourX = 0xFFFF0000;
inline constexpr uint32_t kAxisColourY = 0xFF00FF00;
inline constexpr uint32_t kAxisColourZ = 0xFF0000FF;

// Builds the grid for spacing w (world units) in colour (ARGB). Each plane
// holds, for d = -5 ... 5, two lines: in ZX the line x = d w running along Z,
// then z = d w along X; in XY x = d w along Y, then y = d w along X; in YZ
// z = d w along Y, then y = d w along Z. Each line runs from -5w to +5w, except
// the two d = 0 lines, which stop at the origin so that the positive half of
// every axis is left to the coloured axis line. The axes run from the origin
// to 10w.
GridGeometry BuildGrid(int w, uint32_t colour);

}  // namespace m3d
