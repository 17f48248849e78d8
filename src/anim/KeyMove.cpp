#include "anim/KeyMove.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace m3d {

namespace {

// The frames of the block's keys in one track that move: 1 or later.
bool Picked(const KeyFrame& key, int firstFrame, int lastFrame)
{
    return key.frame >= std::max(firstFrame, 1) && key.frame <= lastFrame;
}

// The lowest and highest frame of the block's keys; lowest > highest when it holds none.
std::pair<int, int> FrameSpan(const Motion& motion, const KeyBlock& block)
{
    int lowest = INT_MAX, highest = INT_MIN;
    const int lastPart = std::min(block.lastPart, static_cast<int>(motion.tracks.size()) - 1);
    for (int part = std::max(block.firstPart, 0); part <= lastPart; ++part) {
        for (const KeyFrame& key : motion.tracks[part].keys) {
            if (!Picked(key, block.firstFrame, block.lastFrame)) continue;
            lowest = std::min(lowest, key.frame);
            highest = std::max(highest, key.frame);
        }
    }
    return {lowest, highest};
}

}  // namespace

bool BlockHoldsKeys(const Motion& motion, const KeyBlock& block)
{
    const auto [lowest, highest] = FrameSpan(motion, block);
    return lowest <= highest;
}

int KeyOffsetWithin(const Motion& motion, const KeyBlock& block, int offset)
{
    const auto [lowest, highest] = FrameSpan(motion, block);
    return OffsetWithin(lowest, highest, motion.length, offset);
}

int OffsetWithin(int lowest, int highest, int length, int offset)
{
    if (lowest > highest) return 0;
    return std::clamp(offset, 1 - lowest, std::max(0, length - highest));
}

namespace {

// track with the keys picked (pick(key) true) moved by offset; see TrackWithKeysMoved.
template <typename Pick>
MotionTrack TrackWithPickedMoved(const MotionTrack& track, Pick pick, int offset)
{
    std::vector<KeyFrame> moved, kept;
    for (const KeyFrame& key : track.keys) {
        if (pick(key)) {
            moved.push_back(key);
            moved.back().frame += offset;
        } else
            kept.push_back(key);
    }
    // Both runs are in frame order; a moved key wins over a kept one on the same frame.
    MotionTrack result;
    result.keys.reserve(kept.size() + moved.size());
    size_t k = 0, m = 0;
    while (k < kept.size() || m < moved.size()) {
        if (m == moved.size() || (k < kept.size() && kept[k].frame < moved[m].frame)) {
            result.keys.push_back(kept[k++]);
        } else {
            if (k < kept.size() && kept[k].frame == moved[m].frame) ++k;
            result.keys.push_back(moved[m++]);
        }
    }
    return result;
}

}  // namespace

MotionTrack TrackWithKeysMoved(const MotionTrack& track, int firstFrame, int lastFrame, int offset)
{
    return TrackWithPickedMoved(
        track, [&](const KeyFrame& key) { return Picked(key, firstFrame, lastFrame); }, offset);
}

MotionTrack TrackWithFramesMoved(const MotionTrack& track, const std::vector<int32_t>& frames, int offset)
{
    return TrackWithPickedMoved(
        track,
        [&](const KeyFrame& key) {
            return key.frame >= 1 && std::binary_search(frames.begin(), frames.end(), key.frame);
        },
        offset);
}

bool MoveKeys(Motion& motion, const KeyBlock& block, int offset)
{
    offset = KeyOffsetWithin(motion, block, offset);
    if (offset == 0) return false;
    const int lastPart = std::min(block.lastPart, static_cast<int>(motion.tracks.size()) - 1);
    for (int part = std::max(block.firstPart, 0); part <= lastPart; ++part)
        motion.tracks[part] = TrackWithKeysMoved(motion.tracks[part], block.firstFrame, block.lastFrame, offset);
    return true;
}

}  // namespace m3d
