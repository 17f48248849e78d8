#pragma once

#include "anim/PoseEvaluation.h"
#include "scene/Motion.h"

#include <array>
#include <vector>

namespace m3d {

// The six values the curve panel plots of a Part's local pose: heading,
// pitch and bank of localMatrix in degrees, and localPosition's x, y and z.
enum class CurveChannel { Heading, Pitch, Bank, X, Y, Z };
inline constexpr int kCurveChannelCount = 6;

// One Part's pose over the frames 0 ... length of a Motion, one sample a frame.
struct PartCurves {
    int length = 0;  // the last frame sampled
    // values[channel][frame], frame 0 ... length. The angles at frame 0 are
    // the triple nearest (0, 0, 0), those of every later frame the triple
    // nearest the frame before's (NearestAngles): a turn past 180 goes on
    // instead of jumping by 360, a pitch past 90 goes on instead of turning
    // heading and bank by 180, so a loop back to its first pose ends on the
    // numbers it began with unless it turned round whole.
    std::array<std::vector<double>, kCurveChannelCount> values;
    // The track's keys at frames 0 ... length, in frame order.
    std::vector<KeyFrame> keys;
    // The track has no keys: every sample is the Part's present pose.
    bool followsPose = false;

    double Value(CurveChannel channel, int frame) const { return values[size_t(channel)][size_t(frame)]; }
};

// The curves of track over frames 0 ... length (0 or more), as TrackSampler
// evaluates it; a track without keys gives present (the Part's pose) at
// every frame. loopLength as for EvaluateTrack.
PartCurves SampleTrackCurves(const MotionTrack& track, int length, const TrackPose& present, int32_t loopLength = 0);

}  // namespace m3d
