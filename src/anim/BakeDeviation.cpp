#include "anim/BakeDeviation.h"

#include "anim/PoseEvaluation.h"
#include "math/Quaternion.h"
#include "text/UiText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace m3d {

BakeDeviation Larger(const BakeDeviation& a, const BakeDeviation& b)
{
    return {std::max(a.length, b.length), std::max(a.degrees, b.degrees)};
}

BakeDeviation BakeDeviationOf(const MotionTrack& track, int firstFrame, int lastFrame, int32_t loopLength)
{
    BakeDeviation worst;
    const std::vector<KeyFrame>& keys = track.keys;
    if (keys.size() < 2) return worst;
    TrackPose before;
    if (!EvaluateTrack(track, std::max(firstFrame, 0), before, loopLength)) return worst;
    size_t segment = 0;
    for (int frame = std::max(firstFrame, 0); frame < lastFrame; ++frame) {
        TrackPose after;
        EvaluateTrack(track, frame + 1, after, loopLength);
        while (segment + 1 < keys.size() && keys[segment + 1].frame <= frame) ++segment;
        // Past the last key the pose holds: nothing between frames to miss.
        if (segment + 1 < keys.size()) {
            const TrackPose curve = TrackSegment(track, segment, loopLength).AtTime(frame + 0.5);
            const Vec3 a = before.localPosition, b = after.localPosition, c = curve.localPosition;
            const double dx = 0.5 * (a.x + b.x) - c.x, dy = 0.5 * (a.y + b.y) - c.y, dz = 0.5 * (a.z + b.z) - c.z;
            const Quaternion blended = SlerpAlong(
                SlerpArcOf(QuaternionRotationMatrix(before.localMatrix), QuaternionRotationMatrix(after.localMatrix)),
                0.5f);
            const Quaternion exact = QuaternionRotationMatrix(curve.localMatrix);
            // The angle from the chord between the two unit quaternions (on
            // one side), which keeps small angles exact where acos would not.
            const double q[4] = {blended.x, blended.y, blended.z, blended.w},
                         e[4] = {exact.x, exact.y, exact.z, exact.w};
            const double side = q[0] * e[0] + q[1] * e[1] + q[2] * e[2] + q[3] * e[3] < 0.0 ? -1.0 : 1.0;
            double chord = 0.0;
            for (int c = 0; c < 4; ++c) chord += (q[c] - side * e[c]) * (q[c] - side * e[c]);
            const double radians = 4.0 * std::asin(std::min(0.5 * std::sqrt(chord), 1.0));
            worst = Larger(worst, {std::sqrt(dx * dx + dy * dy + dz * dz), radians * 180.0 / 3.14159265358979323846});
        }
        before = after;
    }
    return worst;
}

std::string BakeDeviationText(const BakeDeviation& deviation)
{
    if (deviation.length <= 0.0 && deviation.degrees <= 0.0) return {};
    char length[32], degrees[32];
    std::snprintf(length, sizeof length, "%.3g", deviation.length);
    std::snprintf(degrees, sizeof degrees, "%.3g", deviation.degrees);
    return WithArguments(UiText("core", "各フレームに書き出した曲線の、フレームの間でのずれ: 最大 %1（長さ）、%2°"),
                         {length, degrees});
}

}  // namespace m3d
