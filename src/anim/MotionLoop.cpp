#include "anim/MotionLoop.h"

#include "anim/PoseEvaluation.h"
#include "anim/WholeMotionOperations.h"
#include "math/NearlyEqualMatrices.h"
#include "scene/Scene.h"

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

}  // namespace m3d
