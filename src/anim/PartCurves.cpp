#include "anim/PartCurves.h"

#include "view/RotationAngles.h"

#include <algorithm>

namespace m3d {

PartCurves SampleTrackCurves(const MotionTrack& track, int length, const TrackPose& present, int32_t loopLength)
{
    PartCurves curves;
    curves.length = std::max(length, 0);
    curves.followsPose = track.keys.empty();
    for (std::vector<double>& v : curves.values) v.resize(size_t(curves.length) + 1);
    for (const KeyFrame& key : track.keys)
        if (key.frame <= curves.length) curves.keys.push_back(key);
    TrackSampler sampler(track, loopLength);
    HeadingPitchBank angles;
    for (int frame = 0; frame <= curves.length; ++frame) {
        TrackPose pose = present;
        sampler.Sample(frame, pose);
        angles = NearestAngles(pose.localMatrix, angles);
        const double sample[kCurveChannelCount] = {
            angles.h, angles.p, angles.b, pose.localPosition.x, pose.localPosition.y, pose.localPosition.z};
        for (int c = 0; c < kCurveChannelCount; ++c) curves.values[size_t(c)][size_t(frame)] = sample[c];
    }
    return curves;
}

}  // namespace m3d
