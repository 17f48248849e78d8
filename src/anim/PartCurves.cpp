#include "anim/PartCurves.h"

#include "view/RotationAngles.h"

#include <algorithm>
#include <cmath>

namespace m3d {

double UnwrappedDegrees(double angle, double previous)
{
    return angle + 360.0 * std::round((previous - angle) / 360.0);
}

PartCurves SampleTrackCurves(const MotionTrack& track, int length, const TrackPose& present)
{
    PartCurves curves;
    curves.length = std::max(length, 0);
    curves.followsPose = track.keys.empty();
    for (std::vector<double>& v : curves.values) v.resize(size_t(curves.length) + 1);
    for (const KeyFrame& key : track.keys)
        if (key.frame <= curves.length) curves.keys.push_back(key);
    TrackSampler sampler(track);
    for (int frame = 0; frame <= curves.length; ++frame) {
        TrackPose pose = present;
        sampler.Sample(frame, pose);
        const HeadingPitchBank angles = AnglesFromMatrix(pose.localMatrix);
        const double sample[kCurveChannelCount] = {
            angles.h, angles.p, angles.b, pose.localPosition.x, pose.localPosition.y, pose.localPosition.z};
        for (int c = 0; c < kCurveChannelCount; ++c) {
            const bool angle = c < 3;
            curves.values[size_t(c)][size_t(frame)] =
                angle && frame > 0 ? UnwrappedDegrees(sample[c], curves.values[size_t(c)][size_t(frame) - 1])
                                   : sample[c];
        }
    }
    return curves;
}

}  // namespace m3d
