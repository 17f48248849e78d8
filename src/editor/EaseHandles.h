#pragma once

#include "anim/PartCurves.h"

#include <array>
#include <optional>
#include <vector>

namespace m3d {

class CurvePlot;

// The box an ease segment's timing curve is drawn in for one channel: from
// its first key (frame0, value0) to the next (frame1, value1).
struct SegmentBox {
    double frame0 = 0.0, value0 = 0.0;
    double frame1 = 1.0, value1 = 1.0;
};

// One of the two Bezier handles of an ease segment on one curve.
struct EaseHandle {
    size_t key = 0;  // the segment's first key, an index of PartCurves::keys
    int which = 1;   // 1: the control point (x1, y1), 2: (x2, y2)
    CurveChannel channel = CurveChannel::Heading;
    SegmentBox box;
    double frame = 0.0, value = 0.0;              // where the handle sits
    double anchorFrame = 0.0, anchorValue = 0.0;  // the key it hangs from: the first for 1, the next for 2
};

// Channels at or below this change over a segment show no handles for it:
// their box is too flat for a handle to mean anything.
inline constexpr double kFlatSegmentChange = 1e-3;

// The handles of every ease segment of curves (both of its keys within the
// frames sampled) on the channels shown, in key order, the first handle of
// a segment before the second.
std::vector<EaseHandle> EaseHandlesOf(const PartCurves& curves, const std::array<bool, kCurveChannelCount>& shown);

// The handle whose pixel place lies nearest to (x, y) and no further than
// radius pixels away; nothing when none does.
std::optional<EaseHandle> HandleAt(const std::vector<EaseHandle>& handles, const CurvePlot& plot, double x, double y,
                                   double radius);

// The ease of a segment whose handle which (1 or 2) is moved to (frame, value)
// within box, the other control point kept from ease: x clamped into [0, 1],
// y as it falls (beyond [0, 1] the motion overshoots).
KeyInterpolation EaseWithHandleAt(const KeyInterpolation& ease, int which, const SegmentBox& box, double frame,
                                  double value);

}  // namespace m3d
