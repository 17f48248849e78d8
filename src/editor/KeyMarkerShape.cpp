#include "editor/KeyMarkerShape.h"

namespace m3d {

KeyMarkerShape KeyMarkerShapeOf(InterpolationKind kind)
{
    switch (kind) {
    case InterpolationKind::Linear: return KeyMarkerShape::Square;
    case InterpolationKind::Step: return KeyMarkerShape::HalfFilledSquare;
    case InterpolationKind::Smooth: return KeyMarkerShape::Diamond;
    case InterpolationKind::Ease: return KeyMarkerShape::Hourglass;
    case InterpolationKind::Bezier: return KeyMarkerShape::Circle;
    }
    return KeyMarkerShape::Square;
}

KeyMarkerPolygons KeyMarkerPolygonsOf(KeyMarkerShape shape, int x, int y, int half)
{
    const int l = x - half, r = x + half, t = y - half, b = y + half;
    switch (shape) {
    case KeyMarkerShape::Diamond: {
        const int d = half + 1;
        return {{{x, y - d}, {x + d, y}, {x, y + d}, {x - d, y}}, {}};
    }
    case KeyMarkerShape::Circle: {
        // An octagon through the square's edge midpoints, its corners cut at 0.4 of the half.
        const int c = half * 2 / 5;
        return {{{l + c, t}, {r - c, t}, {r, t + c}, {r, b - c}, {r - c, b}, {l + c, b}, {l, b - c}, {l, t + c}}, {}};
    }
    // The corners in this order cross at the centre.
    case KeyMarkerShape::Hourglass: return {{{l, t}, {r, t}, {l, b}, {r, b}}, {}};
    case KeyMarkerShape::HalfFilledSquare: return {{{l, t}, {r, t}, {r, b}, {l, b}}, {{l, t}, {x, t}, {x, b}, {l, b}}};
    case KeyMarkerShape::Square: break;
    }
    return {{{l, t}, {r, t}, {r, b}, {l, b}}, {}};
}

}  // namespace m3d
