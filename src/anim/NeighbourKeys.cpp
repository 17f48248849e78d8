#include "anim/NeighbourKeys.h"

#include "scene/Motion.h"

#include <algorithm>

namespace m3d {

NeighbourKeys NeighbourKeyFrames(const Motion& motion, int frame)
{
    NeighbourKeys found;
    // Keys are strictly ascending: the one before the first key at or past the
    // limit is the latest before it, the first past frame the earliest after.
    const int previousLimit = std::min(frame, motion.length + 1);
    for (const MotionTrack& track : motion.tracks) {
        const auto before = std::lower_bound(track.keys.begin(), track.keys.end(), previousLimit,
                                             [](const KeyFrame& key, int f) { return key.frame < f; });
        if (before != track.keys.begin()) found.previous = std::max(found.previous, (before - 1)->frame);
        const auto after = std::upper_bound(track.keys.begin(), track.keys.end(), frame,
                                            [](int f, const KeyFrame& key) { return f < key.frame; });
        if (after != track.keys.end() && after->frame <= motion.length && (found.next < 0 || after->frame < found.next))
            found.next = after->frame;
    }
    return found;
}

}  // namespace m3d
