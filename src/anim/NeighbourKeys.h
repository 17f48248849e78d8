#pragma once

namespace m3d {

struct Motion;

// The key frames next to a frame, of any track of a Motion.
struct NeighbourKeys {
    // The latest key frame before the frame, -1 when there is none.
    int previous = -1;
    // The earliest key frame after it within the Motion's length, -1 when there is none.
    int next = -1;
};

// The key frames around frame in motion: a key at frame itself counts as
// neither. Keys past the Motion's length are not looked at (the timeline
// never shows them).
NeighbourKeys NeighbourKeyFrames(const Motion& motion, int frame);

}  // namespace m3d
