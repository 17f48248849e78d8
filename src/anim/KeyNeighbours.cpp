#include "anim/KeyNeighbours.h"

#include <algorithm>

namespace m3d {

namespace {

int NeighbourInTrack(const MotionTrack& track, int frame, KeyDirection direction)
{
    const auto before = [](const KeyFrame& key, int f) { return key.frame < f; };
    if (direction == KeyDirection::Next) {
        const auto it = std::lower_bound(track.keys.begin(), track.keys.end(), frame + 1, before);
        return it != track.keys.end() ? it->frame : -1;
    }
    const auto it = std::lower_bound(track.keys.begin(), track.keys.end(), frame, before);
    return it != track.keys.begin() ? std::prev(it)->frame : -1;
}

}  // namespace

int NeighbourKeyFrame(const Motion& motion, int part, int frame, KeyDirection direction)
{
    const int tracks = static_cast<int>(motion.tracks.size());
    if (part >= tracks || part < -1) return -1;
    const int first = part < 0 ? 0 : part, last = part < 0 ? tracks - 1 : part;
    int found = -1;
    for (int k = first; k <= last; ++k) {
        const int candidate = NeighbourInTrack(motion.tracks[k], frame, direction);
        if (candidate < 0) continue;
        const bool nearer = direction == KeyDirection::Next ? candidate < found : candidate > found;
        if (found < 0 || nearer) found = candidate;
    }
    return found;
}

}  // namespace m3d
