#include "anim/MotionLoop.h"

#include "anim/PoseEvaluation.h"
#include "anim/WholeMotionOperations.h"
#include "math/NearlyEqualMatrices.h"
#include "scene/Scene.h"

#include <algorithm>

namespace m3d {

bool MotionEndsAsItStarts(const Scene& scene, const Motion& motion)
{
    if (motion.length <= 0) return false;
    bool keyedAtTheEnd = false;
    for (const MotionTrack& track : motion.tracks) keyedAtTheEnd = keyedAtTheEnd || track.FindKey(motion.length) >= 0;
    if (!keyedAtTheEnd) return false;
    const std::vector<Matrix4> first = WorldPoseAt(scene, motion, 0);
    const std::vector<Matrix4> last = WorldPoseAt(scene, motion, motion.length);
    for (size_t i = 0; i < first.size() && i < last.size(); ++i)
        if (!NearlyEqualMatrices(first[i], last[i], kRedundantKeyTolerance)) return false;
    return first.size() == last.size();
}

int LastFrameToDraw(const Scene& scene, const Motion& motion)
{
    const bool repeats = (motion.loop && motion.length > 0) || MotionEndsAsItStarts(scene, motion);
    return repeats ? motion.length - 1 : motion.length;
}

std::vector<int32_t> RepeatedKeyFrames(const MotionTrack& track, int32_t loopLength, int first, int last)
{
    std::vector<int32_t> frames;
    if (loopLength <= 0) return frames;
    // The first cycle past the end that reaches first, then one cycle after another.
    const int64_t firstCycle = std::max<int64_t>(1, (int64_t(first) - 1) / loopLength);
    for (int64_t cycle = firstCycle; cycle * loopLength < last; ++cycle) {
        for (const KeyFrame& key : track.keys) {
            if (key.frame < 1 || key.frame > loopLength) continue;
            const int64_t frame = cycle * loopLength + key.frame;
            if (frame >= first && frame <= last) frames.push_back(int32_t(frame));
        }
    }
    return frames;
}

}  // namespace m3d
