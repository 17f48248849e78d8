#include "editor/EaseHandles.h"

#include "editor/CurvePlot.h"

#include <algorithm>
#include <cmath>

namespace m3d {

std::vector<EaseHandle> EaseHandlesOf(const PartCurves& curves, const std::array<bool, kCurveChannelCount>& shown)
{
    std::vector<EaseHandle> handles;
    for (size_t k = 0; k + 1 < curves.keys.size(); ++k) {
        const KeyInterpolation& ease = curves.keys[k].interpolation;
        if (ease.Kind() != InterpolationKind::Ease) continue;
        const int f0 = curves.keys[k].frame, f1 = curves.keys[k + 1].frame;
        for (int c = 0; c < kCurveChannelCount; ++c) {
            const auto channel = CurveChannel(c);
            const SegmentBox box{double(f0), curves.Value(channel, f0), double(f1), curves.Value(channel, f1)};
            if (!shown[size_t(c)] || std::fabs(box.value1 - box.value0) <= kFlatSegmentChange) continue;
            const auto at = [&](double x, double y) {
                return std::pair{box.frame0 + x * (box.frame1 - box.frame0),
                                 box.value0 + y * (box.value1 - box.value0)};
            };
            const auto [frame1, value1] = at(ease.X1(), ease.Y1());
            const auto [frame2, value2] = at(ease.X2(), ease.Y2());
            handles.push_back({k, 1, channel, box, frame1, value1, box.frame0, box.value0});
            handles.push_back({k, 2, channel, box, frame2, value2, box.frame1, box.value1});
        }
    }
    return handles;
}

std::optional<EaseHandle> HandleAt(const std::vector<EaseHandle>& handles, const CurvePlot& plot, double x, double y,
                                   double radius)
{
    std::optional<EaseHandle> nearest;
    double best = radius * radius;
    for (const EaseHandle& handle : handles) {
        const double dx = plot.XOf(handle.frame) - x, dy = plot.YOf(handle.value) - y;
        const double distance = dx * dx + dy * dy;
        // On a tie the handle listed first stays.
        if (distance > best || (nearest && distance == best)) continue;
        best = distance;
        nearest = handle;
    }
    return nearest;
}

KeyInterpolation EaseWithHandleAt(const KeyInterpolation& ease, int which, const SegmentBox& box, double frame,
                                  double value)
{
    // Ease keeps x within [0, 1].
    const float x = float((frame - box.frame0) / (box.frame1 - box.frame0));
    const float y = float((value - box.value0) / (box.value1 - box.value0));
    if (!std::isfinite(y)) return ease;
    return which == 1 ? KeyInterpolation::Ease(x, y, ease.X2(), ease.Y2())
                      : KeyInterpolation::Ease(ease.X1(), ease.Y1(), x, y);
}

}  // namespace m3d
