#pragma once

#include "scene/KeyInterpolation.h"

#include <vector>

namespace m3d {

// How a key's marker shows the interpolation of the segment after it: linear
// a square, smooth a diamond, Bezier a circle (an octagon), ease an hourglass
// (two triangles meeting at the centre), step a square with its left half
// filled (the pose held, then the jump).
enum class KeyMarkerShape { Square, Diamond, Circle, Hourglass, HalfFilledSquare };

KeyMarkerShape KeyMarkerShapeOf(InterpolationKind kind);

struct MarkerPoint {
    int x = 0, y = 0;
};

// A marker as polygons in pixels: the outline, drawn with the marker's
// brush, and the part always filled dark (empty but for the half-filled square).
struct KeyMarkerPolygons {
    std::vector<MarkerPoint> outline;
    std::vector<MarkerPoint> filled;
};

// The marker of shape centred on (x, y), reaching half pixels from the centre
// to each side (the diamond one pixel further, so that it looks as large).
KeyMarkerPolygons KeyMarkerPolygonsOf(KeyMarkerShape shape, int x, int y, int half);

}  // namespace m3d
