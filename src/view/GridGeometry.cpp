#include "view/GridGeometry.h"

#include <cstddef>

namespace m3d {

namespace {

enum class Axis { X, Y, Z };

LineVertex PointOn(Axis across, float acrossValue, Axis along, float alongValue, uint32_t colour)
{
    float p[3] = {0, 0, 0};
    p[int(across)] = acrossValue;
    p[int(along)] = alongValue;
    return {p[0], p[1], p[2], colour};
}

// For d = -5 ... 5: the line first = d w along second, then second = d w along first.
void BuildPlane(std::array<LineVertex, 2 * GridGeometry::kLinesPerPlane>& out, Axis first, Axis second, float w,
                uint32_t colour)
{
    size_t k = 0;
    for (int d = -5; d <= 5; ++d) {
        const float offset = static_cast<float>(d) * w;
        const float end = d == 0 ? 0.0f : 5.0f * w;
        out[k++] = PointOn(first, offset, second, -5.0f * w, colour);
        out[k++] = PointOn(first, offset, second, end, colour);
        out[k++] = PointOn(second, offset, first, -5.0f * w, colour);
        out[k++] = PointOn(second, offset, first, end, colour);
    }
}

}  // namespace

GridGeometry BuildGrid(int w, uint32_t colour)
{
    const float width = static_cast<float>(w);
    GridGeometry grid;
    BuildPlane(grid.zx, Axis::X, Axis::Z, width, colour);
    BuildPlane(grid.xy, Axis::X, Axis::Y, width, colour);
    BuildPlane(grid.yz, Axis::Z, Axis::Y, width, colour);
    const float reach = 10.0f * width;
    grid.axes = {LineVertex{0, 0, 0, kAxisColourX}, LineVertex{reach, 0, 0, kAxisColourX},
                 LineVertex{0, 0, 0, kAxisColourY}, LineVertex{0, reach, 0, kAxisColourY},
                 LineVertex{0, 0, 0, kAxisColourZ}, LineVertex{0, 0, reach, kAxisColourZ}};
    return grid;
}

}  // namespace m3d
