#include "anim/MotionLoop.h"

#include "anim/PoseEvaluation.h"
#include "scene/Scene.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

bool SameWithin(const Matrix4& a, const Matrix4& b)
{
    float largest = 1.0f;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) largest = std::max({largest, std::fabs(a.m[r][c]), std::fabs(b.m[r][c])});
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (!(std::fabs(a.m[r][c] - b.m[r][c]) <= largest * 1e-4f)) return false;
    return true;
}

}  // namespace

bool MotionEndsAsItStarts(const Scene& scene, const Motion& motion)
{
    if (motion.length <= 0) return false;
    bool keyedAtTheEnd = false;
    for (const MotionTrack& track : motion.tracks) keyedAtTheEnd = keyedAtTheEnd || track.FindKey(motion.length) >= 0;
    if (!keyedAtTheEnd) return false;
    const std::vector<Matrix4> first = WorldPoseAt(scene, motion, 0);
    const std::vector<Matrix4> last = WorldPoseAt(scene, motion, motion.length);
    for (size_t i = 0; i < first.size() && i < last.size(); ++i)
        if (!SameWithin(first[i], last[i])) return false;
    return first.size() == last.size();
}

int LastFrameToDraw(const Scene& scene, const Motion& motion)
{
    return MotionEndsAsItStarts(scene, motion) ? motion.length - 1 : motion.length;
}

}  // namespace m3d
