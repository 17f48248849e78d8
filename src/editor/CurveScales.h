#pragma once

#include "anim/PartCurves.h"
#include "editor/EaseHandles.h"

#include <array>
#include <vector>

namespace m3d {

// How one channel's values are placed on the curve panel's value axis:
// value v is plotted at (v - low) / span. span is above 0.
struct CurveScale {
    double low = 0.0;
    double span = 1.0;

    double Plotted(double value) const { return (value - low) / span; }
};
using CurveScales = std::array<CurveScale, kCurveChannelCount>;

// Every channel plotted at its own value (the panel's ordinary view).
inline constexpr CurveScales kUnscaledCurves{};

// The normalised view: each channel of curves on its own scale, its lowest
// sample at 0 and its highest at 1, so that a small swing fills the plot as
// a large one does. A channel that changes by less than kFlatSegmentChange
// is spread over that much around 0.5 instead (a still channel lies at 0.5).
CurveScales NormalisingScales(const PartCurves& curves);

// curves with every channel's values placed by its scale; the keys as they were.
PartCurves ScaledCurves(PartCurves curves, const CurveScales& scales);
// handles with their places and boxes placed by their channel's scale: a
// handle dragged on the scaled plot gives the ease it would on the unscaled one.
std::vector<EaseHandle> ScaledHandles(std::vector<EaseHandle> handles, const CurveScales& scales);

}  // namespace m3d
