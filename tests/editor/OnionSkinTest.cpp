#include "editor/OnionSkin.h"

#include "anim/NeighbourKeys.h"
#include "anim/PoseEvaluation.h"
#include "support/MotionFixtures.h"
#include "view/RotationAngles.h"

#include <gtest/gtest.h>

using namespace m3d;

TEST(NeighbourKeyFrames, TheNearestKeysOfAnyTrackBeforeAndAfterWithinTheLength)
{
    Motion motion;
    motion.length = 30;
    motion.tracks.resize(3);
    for (const auto& [track, frames] :
         std::vector<std::pair<int, std::vector<int>>>{{0, {0, 10, 20}}, {1, {0, 14, 40}}, {2, {0, 7, 31}}})
        for (int frame : frames) motion.tracks[size_t(track)].keys.push_back({frame, Matrix4::Identity()});
    const struct {
        int frame, previous, next;
    } cases[] = {{0, -1, 7},   {3, 0, 7},    {7, 0, 10},   {12, 10, 14},
                 {14, 10, 20}, {25, 20, -1}, {30, 20, -1}, {45, 20, -1}};
    for (const auto& c : cases) {
        const NeighbourKeys keys = NeighbourKeyFrames(motion, c.frame);
        EXPECT_EQ(keys.previous, c.previous) << "frame " << c.frame;
        EXPECT_EQ(keys.next, c.next) << "frame " << c.frame;
    }
}

TEST(OnionSkinGhosts, ThePosesAtTheNeighbouringKeysAsPoseEvaluationGivesThemAndNoneWhenOffOrPlaying)
{
    MotionSessionFixture f(3, 40);  // a chain of three cubes
    Scene& scene = f.session.GetScene();
    for (int part = 0; part < 3; ++part)
        for (int frame : {8 + part, 24 - part}) {
            Matrix4 key = RotationFromAngles({12.0f * frame, 5.0f * part, -3.0f * frame});
            key.SetTranslation({1.0f * part, 0.5f * frame, -2.0f});
            ASSERT_TRUE(SetKeyMatrix(scene, 0, part, frame, key));
        }
    f.session.SetCurrentFrame(15);
    EXPECT_TRUE(OnionSkinGhosts(f.session).empty());  // no view shows it

    f.session.Displays()[2].onionSkin = 1;
    const std::vector<PoseGhost> ghosts = OnionSkinGhosts(f.session);
    ASSERT_EQ(ghosts.size(), 2u);
    EXPECT_EQ(ghosts[0].tint, kOnionPreviousTint);
    EXPECT_EQ(ghosts[1].tint, kOnionNextTint);
    const int frames[2] = {10, 22};
    for (int g = 0; g < 2; ++g) {
        EvaluatePose(scene, 0, frames[g]);
        ASSERT_EQ(ghosts[size_t(g)].worlds.size(), 3u);
        for (int part = 0; part < 3; ++part)
            EXPECT_EQ(ghosts[size_t(g)].worlds[size_t(part)], scene.WorldMatrixOf(part)) << "frame " << frames[g];
    }

    f.session.SetCurrentFrame(0);
    ASSERT_EQ(OnionSkinGhosts(f.session).size(), 1u);
    EXPECT_EQ(OnionSkinGhosts(f.session)[0].tint, kOnionNextTint);
    f.session.SetPlaying(true);
    EXPECT_TRUE(OnionSkinGhosts(f.session).empty());
    f.session.SetPlaying(false);
    f.session.SelectMotion(-1);
    EXPECT_TRUE(OnionSkinGhosts(f.session).empty());
}
