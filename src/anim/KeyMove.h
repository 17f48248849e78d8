#pragma once

#include "scene/Motion.h"

#include <cstdint>
#include <vector>

namespace m3d {

// Keys picked on the timeline to be moved together: the keys of Parts
// firstPart ... lastPart at frames firstFrame ... lastFrame. A frame-0 key is
// never among them: it stays where it is.
struct KeyBlock {
    int firstPart = 0;
    int lastPart = -1;
    int firstFrame = 0;
    int lastFrame = -1;
};

// Whether the block holds a key of motion (frame-0 keys not counted).
bool BlockHoldsKeys(const Motion& motion, const KeyBlock& block);

// The offset in frames the block can move by that is nearest to offset: its
// keys keep their spacing and land within 1 ... motion.length (a key already
// beyond the length moves no further out). 0 when the block holds no key.
int KeyOffsetWithin(const Motion& motion, const KeyBlock& block, int offset);

// The offset nearest to offset by which keys at frames lowest ... highest
// keep within 1 ... length (a key already beyond the length moves no further
// out); 0 when lowest > highest (no keys).
int OffsetWithin(int lowest, int highest, int length, int offset);

// track with its keys at frames firstFrame ... lastFrame (frame 0 excepted)
// moved by offset, each replacing a key it lands on. The offset is applied as
// given (KeyOffsetWithin keeps it within the Motion).
MotionTrack TrackWithKeysMoved(const MotionTrack& track, int firstFrame, int lastFrame, int offset);

// track with its keys at the frames given (ascending; frame 0 never moves)
// moved by offset, each replacing a key it lands on, as TrackWithKeysMoved.
MotionTrack TrackWithFramesMoved(const MotionTrack& track, const std::vector<int32_t>& frames, int offset);

// Moves the block's keys of motion by offset as limited by KeyOffsetWithin;
// keys they land on are replaced. True when a key moved.
bool MoveKeys(Motion& motion, const KeyBlock& block, int offset);

}  // namespace m3d
