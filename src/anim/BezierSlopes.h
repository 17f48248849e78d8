#pragma once

#include "scene/KeyInterpolation.h"
#include "scene/Motion.h"

#include <cstddef>

namespace m3d {

// The channels a Bezier key is edited and interpolated in: heading, pitch and
// bank in degrees (as the transform panel shows them), then x, y, z.
constexpr int kBezierChannels = 6;

// One key of a track as its Bezier segments see it.
struct BezierKey {
    double frame = 0.0;
    double values[kBezierChannels] = {};
    TangentMode mode = TangentMode::AutoClamped;
};

// A key of a track as a segment's window takes it: its index, and the frames
// added to its frame (a loop's length, either way, for a key taken from the
// other side of the seam).
struct WindowKey {
    size_t index = 0;
    int32_t shift = 0;
};

// The keys window[0 ... count - 1] of track as BezierKeys into out: each
// key's angles the triple nearest the key's before (NearestAngles; the first
// as AnglesFromMatrix gives it), so that no channel jumps a half or whole
// turn between keys. A key's mode is its own when it is a Bezier key, else
// fallback.
void BezierKeysOf(const MotionTrack& track, const WindowKey* window, size_t count, TangentMode fallback,
                  BezierKey* out);

// The slopes (value per frame) of each channel on the side of key k (of keys
// 0 ... count - 1) facing key k + side (side -1: before it, +1: after it),
// as the key's mode gives them (TangentMode). count must be at least 2 and
// the frames strictly ascending.
void BezierSlopes(const BezierKey* keys, size_t count, size_t k, int side, double out[kBezierChannels]);

}  // namespace m3d
