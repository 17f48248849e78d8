#include "ik/IkKeys.h"

#include "scene/Motion.h"

#include <algorithm>

namespace m3d {

std::vector<int> KeyChangedParts(Motion& motion, const LocalPose& before, const LocalPose& after, int frame)
{
    std::vector<int> keyed;
    const size_t count = std::min({motion.tracks.size(), before.size(), after.size()});
    for (size_t p = 0; p < count; ++p) {
        if (SameLocalPose(before[p], after[p])) continue;
        MotionTrack& track = motion.tracks[p];
        track.SetKeyMatrix(frame, KeyMatrixOf(after[p].localMatrix, after[p].localPosition),
                           track.InterpolationAt(frame));
        keyed.push_back(static_cast<int>(p));
    }
    return keyed;
}

}  // namespace m3d
