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

// The window of keys a Bezier evaluation of keys first ... last of track
// (first <= last, both keys of it) takes into window (room for last - first
// + 3): those keys, with the key before first and the key after last where
// the track has them; across the seam of a loop (loopLength above 0) keyed
// at frame 0 and at loopLength, the key before the last one, a loop's length
// earlier, stands before key 0, and key 1, a length later, after the last.
// Returns the number of keys; *firstAt is first's place in the window.
size_t BezierWindowOf(const MotionTrack& track, size_t first, size_t last, int32_t loopLength, WindowKey* window,
                      size_t* firstAt);

// The keys window[0 ... count - 1] of track as BezierKeys into out: each
// key's angles the triple nearest the key's before (NearestAngles; the first
// as AnglesFromMatrix gives it), so that no channel jumps a half or whole
// turn between keys. A key's mode is its own when it is a Bezier key, else
// fallback (auto-clamped for a fallback with handles of its own: a key that
// is no Bezier key has none).
void BezierKeysOf(const MotionTrack& track, const WindowKey* window, size_t count, TangentMode fallback,
                  BezierKey* out);

// The slopes (value per frame) of each channel on the side of key k (of keys
// 0 ... count - 1) facing key k + side (side -1: before it, +1: after it),
// as the key's mode gives them (TangentMode; a mode with handles of its own
// counts as auto-clamped here). count must be at least 2 and the frames
// strictly ascending.
void BezierSlopes(const BezierKey* keys, size_t count, size_t k, int side, double out[kBezierChannels]);

// The handles key k of track shows and its segments follow: its own when it
// is a Bezier key whose mode HasOwnHandles; else each side a third of the
// way to the neighbour on that side in time (the other neighbour's distance
// where it has none, a frame for a lone key) at the slope BezierSlopes
// gives it (as auto-clamped for a key that is no Bezier key). loopLength as
// for BezierWindowOf.
BezierHandles ShownHandles(const MotionTrack& track, size_t k, int32_t loopLength);

}  // namespace m3d
