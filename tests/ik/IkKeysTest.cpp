#include "ik/IkKeys.h"
#include "scene/Motion.h"

#include <gtest/gtest.h>

using namespace m3d;

TEST(IkKeys, TheChangedPartsGetAKeyAtTheFrameAndEveryOtherKeyStays)
{
    Motion motion;
    motion.tracks.resize(3);
    motion.tracks[0].keys = {{0, MatrixTranslation(1, 0, 0), KeyInterpolation::Smooth()},
                             {20, MatrixTranslation(2, 0, 0)}};
    motion.tracks[1].keys = {{0, MatrixTranslation(0, 1, 0)},
                             {10, MatrixTranslation(0, 2, 0), KeyInterpolation::Step()}};
    motion.tracks[2].keys = {{0, MatrixTranslation(0, 0, 1)}};
    const Motion start = motion;
    const LocalPose before(3, TrackPose{MatrixRotationX(0.1f), {0, 1, 0}});
    LocalPose after = before;
    after[0].localMatrix = MatrixRotationY(0.4f);
    after[1].localPosition = {3, 4, 5};

    EXPECT_EQ(KeyChangedParts(motion, before, after, 10), (std::vector<int>{0, 1}));
    // A new key between 0 and 20 takes the segment's interpolation.
    ASSERT_EQ(motion.tracks[0].keys.size(), 3u);
    EXPECT_EQ(motion.tracks[0].keys[1].frame, 10);
    EXPECT_EQ(motion.tracks[0].keys[1].matrix, KeyMatrixOf(after[0].localMatrix, after[0].localPosition));
    EXPECT_EQ(motion.tracks[0].keys[1].interpolation, KeyInterpolation::Smooth());
    // The key already at 10 takes the pose and keeps its interpolation.
    ASSERT_EQ(motion.tracks[1].keys.size(), 2u);
    EXPECT_EQ(motion.tracks[1].keys[1].matrix, KeyMatrixOf(after[1].localMatrix, {3, 4, 5}));
    EXPECT_EQ(motion.tracks[1].keys[1].interpolation, KeyInterpolation::Step());
    // Every other key as it was.
    for (size_t t = 0; t < 3; ++t)
        for (const KeyFrame& key : start.tracks[t].keys) {
            if (key.frame == 10 && t == 1) continue;
            const int k = motion.tracks[t].FindKey(key.frame);
            ASSERT_GE(k, 0);
            EXPECT_EQ(motion.tracks[t].keys[size_t(k)].matrix, key.matrix) << t << " " << key.frame;
            EXPECT_EQ(motion.tracks[t].keys[size_t(k)].interpolation, key.interpolation);
        }
    EXPECT_EQ(motion.tracks[2].keys.size(), 1u);
}
