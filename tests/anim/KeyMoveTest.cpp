#include "anim/KeyMove.h"
#include "anim/KeyNeighbours.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// A Motion of length 60 whose keys carry their own frame as the marker, so a
// key's matrix tells where it came from.
Motion MotionWithKeys(const std::vector<std::vector<int>>& framesPerTrack)
{
    Motion motion;
    motion.length = 60;
    for (const std::vector<int>& frames : framesPerTrack) {
        MotionTrack track;
        for (int frame : frames) track.SetKeyMatrix(frame, MatrixTranslation(float(frame), 0, 0));
        motion.tracks.push_back(track);
    }
    return motion;
}

// frame:origin for every key of track.
std::vector<std::pair<int, int>> KeysOf(const MotionTrack& track)
{
    std::vector<std::pair<int, int>> keys;
    for (const KeyFrame& key : track.keys) keys.emplace_back(key.frame, int(key.matrix.m[3][0]));
    return keys;
}

using Keys = std::vector<std::pair<int, int>>;

}  // namespace

TEST(KeyMove, AMovedKeyReplacesTheKeyItLandsOnAndTheOthersStay)
{
    Motion motion = MotionWithKeys({{0, 10, 20, 30}, {0, 10}});
    EXPECT_TRUE(MoveKeys(motion, {0, 0, 10, 10}, 10));
    EXPECT_EQ(KeysOf(motion.tracks[0]), (Keys{{0, 0}, {20, 10}, {30, 30}}));
    // Another Part's key at the same frame is not picked.
    EXPECT_EQ(KeysOf(motion.tracks[1]), (Keys{{0, 0}, {10, 10}}));
    // Moving back over the gap leaves the replaced key gone.
    EXPECT_TRUE(MoveKeys(motion, {0, 0, 20, 20}, -15));
    EXPECT_EQ(KeysOf(motion.tracks[0]), (Keys{{0, 0}, {5, 10}, {30, 30}}));
}

TEST(KeyMove, ARangeMovesEveryPartTogetherAndFrameZeroStays)
{
    Motion motion = MotionWithKeys({{0, 2, 4, 9}, {0, 3, 8}});
    // Frames 0 ... 4 of both Parts by +5: the frame-0 keys stay, 4 lands on 9.
    EXPECT_TRUE(MoveKeys(motion, {0, 1, 0, 4}, 5));
    EXPECT_EQ(KeysOf(motion.tracks[0]), (Keys{{0, 0}, {7, 2}, {9, 4}}));
    EXPECT_EQ(KeysOf(motion.tracks[1]), (Keys{{0, 0}, {8, 3}}));
    // Back to the left: the block stops with its first key at frame 1, never on frame 0.
    EXPECT_EQ(KeyOffsetWithin(motion, {0, 1, 1, 9}, -20), -6);
    EXPECT_TRUE(MoveKeys(motion, {0, 1, 1, 9}, -20));
    EXPECT_EQ(KeysOf(motion.tracks[0]), (Keys{{0, 0}, {1, 2}, {3, 4}}));
    EXPECT_EQ(KeysOf(motion.tracks[1]), (Keys{{0, 0}, {2, 3}}));
}

TEST(KeyMove, NothingMovesPastTheLengthAndTheSpacingStays)
{
    Motion motion = MotionWithKeys({{0, 40, 50}});
    EXPECT_EQ(KeyOffsetWithin(motion, {0, 0, 40, 50}, 30), 10);
    EXPECT_TRUE(MoveKeys(motion, {0, 0, 40, 50}, 30));
    EXPECT_EQ(KeysOf(motion.tracks[0]), (Keys{{0, 0}, {50, 40}, {60, 50}}));
    // At the end already: no move, nothing changes.
    EXPECT_FALSE(MoveKeys(motion, {0, 0, 60, 60}, 1));
    // A block of the frame-0 key alone, or of no key, holds nothing to move.
    EXPECT_FALSE(BlockHoldsKeys(motion, {0, 0, 0, 0}));
    EXPECT_FALSE(BlockHoldsKeys(motion, {0, 0, 41, 49}));
    EXPECT_FALSE(MoveKeys(motion, {0, 0, 0, 0}, 5));
    // Parts beyond the tracks are ignored.
    EXPECT_TRUE(BlockHoldsKeys(motion, {0, 5, 60, 60}));
}

TEST(KeyNeighbours, NearestKeyOfOnePartOrOfAny)
{
    const Motion motion = MotionWithKeys({{0, 10, 30}, {0, 20}});
    EXPECT_EQ(NeighbourKeyFrame(motion, 0, 10, KeyDirection::Next), 30);
    EXPECT_EQ(NeighbourKeyFrame(motion, -1, 10, KeyDirection::Next), 20);
    EXPECT_EQ(NeighbourKeyFrame(motion, 0, 30, KeyDirection::Previous), 10);
    EXPECT_EQ(NeighbourKeyFrame(motion, -1, 30, KeyDirection::Previous), 20);
    EXPECT_EQ(NeighbourKeyFrame(motion, 1, 25, KeyDirection::Previous), 20);
    EXPECT_EQ(NeighbourKeyFrame(motion, -1, 30, KeyDirection::Next), -1);
    EXPECT_EQ(NeighbourKeyFrame(motion, 0, 0, KeyDirection::Previous), -1);
    EXPECT_EQ(NeighbourKeyFrame(motion, 2, 0, KeyDirection::Next), -1);
}
