#pragma once

#include "anim/PartCurves.h"

#include <array>
#include <cstdint>
#include <optional>
#include <tuple>
#include <vector>

namespace m3d {

// A key's point on one channel's curve, as the curve panel picks it.
struct CurveKeyPoint {
    int32_t frame = 0;
    CurveChannel channel = CurveChannel::Heading;

    friend bool operator==(const CurveKeyPoint& a, const CurveKeyPoint& b)
    {
        return a.frame == b.frame && a.channel == b.channel;
    }
    friend bool operator<(const CurveKeyPoint& a, const CurveKeyPoint& b)
    {
        return std::tie(a.frame, a.channel) < std::tie(b.frame, b.channel);
    }
};

// An edit of the points picked on one Part's curves.
struct CurveKeyEdit {
    // Frames every key with a point picked moves by, limited so that the keys
    // keep within 1 ... the Motion's length. The frame-0 key, and in a loop
    // the last frame's, stay where they are: they hold the loop's ends.
    int frameOffset = 0;
    // Added to each picked point's value, by the point's channel.
    std::array<double, kCurveChannelCount> valueOffsets{};
    // When set, the value every picked point takes instead of its own plus
    // its offset.
    std::optional<double> typedValue;
};

// What an edit gives: the track, and the points picked where they are now.
struct CurveKeyEditResult {
    MotionTrack track;
    std::vector<CurveKeyPoint> points;
};

// The track with edit applied to the keys with points picked (points sorted
// and unique; a point where the track has no key is left out). A key starts
// from the values curves plots at its frame (the angles unwrapped as shown).
// A key whose angles change gets its rotation rebuilt from H, P, B
// (RotationFromAngles), as the transform panel's rotation fields rebuild it;
// a key whose positions change gets them as its translation, its rotation
// kept bit for bit. In a loop (loopLength above 0, LoopLengthOf) a key at
// frame 0 or loopLength whose values change is stored at both ends, so they
// stay one pose. length is the Motion's last frame; curves must cover it.
CurveKeyEditResult EditCurveKeys(const MotionTrack& track, const PartCurves& curves,
                                 const std::vector<CurveKeyPoint>& points, const CurveKeyEdit& edit, int length,
                                 int32_t loopLength);

// Gives key k of track the interpolation: a key that comes to keep Bezier
// handles of its own (HasOwnHandles) takes those it showed (ShownHandles), so
// its curves stay; one that no longer keeps them drops them. loopLength as
// for EvaluateTrack.
void GiveKeyInterpolation(MotionTrack& track, size_t k, const KeyInterpolation& interpolation, int32_t loopLength);

// One side of a key's Bezier handle on one channel, as the curve panel
// places it: side -1 before the key (in), +1 after it (out).
struct TangentHandleRef {
    int32_t frame = 0;
    CurveChannel channel = CurveChannel::Heading;
    int side = 1;
};

// The track with the handle's side of the key at handle.frame moved to
// (frames, value) offsets from the key (frames kept on its side of the key).
// A key that worked its handles out gets its own first (aligned, or free
// for a vector key or a key that was no Bezier key). An aligned key's other
// side on that channel turns onto the line through the key, keeping its
// length in frames. The track as it was when it has no key there.
MotionTrack TrackWithHandleAt(const MotionTrack& track, const TangentHandleRef& handle, double frames, double value,
                              int32_t loopLength);

// The track with the handles of the points' keys level on the points'
// channels (value offsets 0 on both sides), each key given handles of its
// own first as TrackWithHandleAt does.
MotionTrack TrackWithFlatHandles(const MotionTrack& track, const std::vector<CurveKeyPoint>& points,
                                 int32_t loopLength);

}  // namespace m3d
