#include "editor/CurveScales.h"

#include <algorithm>

namespace m3d {

CurveScales NormalisingScales(const PartCurves& curves)
{
    CurveScales scales;
    for (int c = 0; c < kCurveChannelCount; ++c) {
        const std::vector<double>& values = curves.values[size_t(c)];
        if (values.empty()) continue;
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        const double span = std::max(*high - *low, kFlatSegmentChange);
        scales[size_t(c)] = {(*low + *high - span) / 2.0, span};
    }
    return scales;
}

PartCurves ScaledCurves(PartCurves curves, const CurveScales& scales)
{
    for (int c = 0; c < kCurveChannelCount; ++c)
        for (double& v : curves.values[size_t(c)]) v = scales[size_t(c)].Plotted(v);
    return curves;
}

std::vector<EaseHandle> ScaledHandles(std::vector<EaseHandle> handles, const CurveScales& scales)
{
    for (EaseHandle& h : handles) {
        const CurveScale& scale = scales[size_t(h.channel)];
        for (double* v : {&h.value, &h.anchorValue, &h.box.value0, &h.box.value1}) *v = scale.Plotted(*v);
    }
    return handles;
}

}  // namespace m3d
