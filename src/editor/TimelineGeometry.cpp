#include "editor/TimelineGeometry.h"

#include <initializer_list>

namespace m3d {

int TimelineGeometry::RowAt(int x, int y) const
{
    if (x < 7 || x > BandRight() || y < Top()) return -1;
    // Bands share their edge lines; a shared line belongs to the upper row.
    const int row = y == Top() ? 0 : (y - Top() - 1) / kRowHeight;
    return row < Rows() ? row : -1;
}

int TimelineGeometry::RulerStep() const
{
    constexpr int kMinimumSpacing = 40;
    for (int step = 1;; step *= 10)
        for (int multiple : {1, 2, 5})
            if (step * multiple * framePixels >= kMinimumSpacing) return step * multiple;
}

int TimelineGeometry::RulerLabelLeftUnits(int lineX)
{
    // A label is 15 units (26 pixels) wide: its centre is 12.25 pixels right of
    // its left edge, which is rounded to the nearest unit of 1.75 pixels.
    return (4 * lineX - 46) / 7;
}

}  // namespace m3d
