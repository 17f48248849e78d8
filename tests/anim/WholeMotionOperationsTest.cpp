#include "anim/WholeMotionOperations.h"

#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "scene/Scene.h"
#include "support/MatrixMatchers.h"
#include "support/SceneFixtures.h"
#include "view/RotationAngles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

Matrix4 Key(float h, float p, float b, Vec3 position)
{
    return KeyMatrixOf(RotationFromAngles({h, p, b}), position);
}

std::vector<int> FramesOf(const MotionTrack& track)
{
    std::vector<int> frames;
    for (const KeyFrame& key : track.keys) frames.push_back(key.frame);
    return frames;
}

// Parts (cubes of half size 1) and one Motion "m" of 60 frames made current.
struct Animated {
    TempFolder folder;
    Scene scene;
    int AddPart(int parent, const std::string& name) { return AddCubeUnder(scene, folder, parent, name + ".mqo"); }
    void StartMotion() { NewMotion(scene, "m"); }
    void SetKeyAt(int part, int frame, const Matrix4& matrix)
    {
        SetKeyMatrix(scene, scene.currentMotion, part, frame, matrix);
    }
    MotionTrack& Track(int part) { return scene.motions[scene.currentMotion].tracks[part]; }
    const Matrix4& KeyAt(int part, int frame)
    {
        const int k = Track(part).FindKey(frame);
        EXPECT_GE(k, 0) << "no key at " << frame;
        return Track(part).keys[k < 0 ? 0 : k].matrix;
    }
};

// m with _12, _13, _21 and _31 negated.
Matrix4 Reflected(const Matrix4& m)
{
    Matrix4 r = m;
    for (auto [row, column] : {std::pair{0, 1}, {0, 2}, {1, 0}, {2, 0}}) r.m[row][column] = -m.m[row][column];
    return r;
}

}  // namespace

// --- Deleting redundant keys ---

TEST(DeleteRedundantKeys, AKeyThatInterpolationReproducesGoesAndASmallChangeInAnyElementKeepsIt)
{
    for (int element = -1; element < 16; ++element) {
        Animated a;
        const int part = a.AddPart(-1, "body");
        a.StartMotion();
        a.SetKeyAt(part, 0, Key(0, 0, 0, {0, 0, 0}));
        a.SetKeyAt(part, 10, Key(20, 0, 0, {10, 1, -2}));
        a.SetKeyAt(part, 20, Key(40, 0, 0, {20, 2, -4}));
        if (element >= 0) a.Track(part).keys[1].matrix.m[element / 4][element % 4] += 0.001f;
        DeleteRedundantKeys(a.scene);
        const std::vector<int> expected = element < 0 ? std::vector<int>{0, 20} : std::vector<int>{0, 10, 20};
        EXPECT_EQ(FramesOf(a.Track(part)), expected) << "changed element " << element;
    }
}

TEST(DeleteRedundantKeys, ALastKeyEqualToItsPredecessorGoesWithinTheTolerance)
{
    Animated a;
    const int same = a.AddPart(-1, "same"), near = a.AddPart(-1, "near"), far = a.AddPart(-1, "far");
    a.StartMotion();
    for (int part : {same, near, far}) {
        a.SetKeyAt(part, 0, Key(0, 0, 0, {0, 0, 0}));
        a.SetKeyAt(part, 10, Key(30, 10, 0, {1, 2, 3}));
        a.SetKeyAt(part, 25, Key(30, 10, 0, {1, 2, 3}));
    }
    a.Track(near).keys[2].matrix.m[3][2] += 0.00005f;
    a.Track(far).keys[2].matrix.m[3][2] += 0.0002f;
    const int deleted = DeleteRedundantKeys(a.scene);
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(FramesOf(a.Track(same)), (std::vector<int>{0, 10}));
    EXPECT_EQ(FramesOf(a.Track(near)), (std::vector<int>{0, 10}));
    EXPECT_EQ(FramesOf(a.Track(far)), (std::vector<int>{0, 10, 25}));
    // The Motion still holds the same pose to its end.
    TrackPose pose;
    ASSERT_TRUE(EvaluateTrack(a.Track(same), 40, pose));
    EXPECT_TRUE(VectorsNear(pose.localPosition, {1, 2, 3}, 0));
}

TEST(DeleteRedundantKeys, TheWalkComparesTheNextKeyWithTheLastOneKept)
{
    Animated a;
    const int equal = a.AddPart(-1, "equal"), line = a.AddPart(-1, "line");
    a.StartMotion();
    for (int frame : {0, 10, 20}) a.SetKeyAt(equal, frame, Key(10, 20, 30, {1, 1, 1}));
    // Positions on a straight line at frames 0, 10, 20 and then off it at 35.
    for (int frame : {0, 10, 20, 30}) a.SetKeyAt(line, frame, Key(0, 0, 0, {float(frame), 0, 0}));
    a.SetKeyAt(line, 35, Key(0, 0, 0, {0, 0, 0}));
    DeleteRedundantKeys(a.scene);
    EXPECT_EQ(FramesOf(a.Track(equal)), std::vector<int>{0});
    EXPECT_EQ(FramesOf(a.Track(line)), (std::vector<int>{0, 30, 35}));
}

TEST(DeleteRedundantKeys, LeavesSingleKeysOtherMotionsAndThePoseAlone)
{
    Animated a;
    const int part = a.AddPart(-1, "body");
    a.StartMotion();
    a.SetKeyAt(part, 0, Key(5, 0, 0, {0, 0, 0}));
    NewMotion(a.scene, "other");
    a.SetKeyAt(part, 10, Key(5, 0, 0, {0, 0, 0}));
    a.scene.currentMotion = 0;
    a.scene.parts[part]->localPosition = {9, 9, 9};
    EXPECT_EQ(DeleteRedundantKeys(a.scene), 0);
    EXPECT_EQ(FramesOf(a.scene.motions[1].tracks[part]), (std::vector<int>{0, 10}));
    EXPECT_TRUE(VectorsNear(a.scene.parts[part]->localPosition, {9, 9, 9}, 0));
    a.scene.currentMotion = -1;
    EXPECT_EQ(DeleteRedundantKeys(a.scene), 0);
}

TEST(DeleteRedundantKeys, AKeyWithANanElementIsNeverRedundant)
{
    Animated a;
    const int part = a.AddPart(-1, "body");
    a.StartMotion();
    a.SetKeyAt(part, 0, Key(0, 0, 0, {0, 0, 0}));
    Matrix4 broken = Key(0, 0, 0, {0, 0, 0});
    broken.m[3][1] = std::nanf("");
    a.SetKeyAt(part, 10, broken);
    DeleteRedundantKeys(a.scene);
    EXPECT_EQ(FramesOf(a.Track(part)), (std::vector<int>{0, 10}));
}

// --- Mirroring a Motion ---

TEST(MirrorMotion, WithoutPartnersEveryKeyIsReflectedAndKeepsItsPosition)
{
    Animated a;
    const int body = a.AddPart(-1, "body");
    const int arm = a.AddPart(body, "arm");
    a.StartMotion();
    a.SetKeyAt(body, 0, Key(30, 20, 10, {1, 2, 3}));
    a.SetKeyAt(body, 12, Key(-50, 40, -25, {4, 5, 6}));
    a.SetKeyAt(arm, 0, Key(70, -15, 35, {-2, 1, 0}));
    a.SetKeyAt(arm, 30, Key(100, 5, -60, {-3, 0, 1}));
    std::vector<std::vector<KeyFrame>> before = {a.Track(body).keys, a.Track(arm).keys};
    MirrorMotion(a.scene);
    for (int part : {body, arm}) {
        ASSERT_EQ(a.Track(part).keys.size(), before[part].size());
        for (size_t k = 0; k < before[part].size(); ++k) {
            EXPECT_EQ(a.Track(part).keys[k].frame, before[part][k].frame);
            EXPECT_TRUE(MatricesNear(a.Track(part).keys[k].matrix, Reflected(before[part][k].matrix), 2e-6f))
                << "part " << part << " key " << k;
        }
    }
    MirrorMotion(a.scene);
    for (int part : {body, arm})
        for (size_t k = 0; k < before[part].size(); ++k)
            EXPECT_TRUE(MatricesNear(a.Track(part).keys[k].matrix, before[part][k].matrix, 4e-6f));
}

TEST(MirrorMotion, PartnersExchangeTheirKeyTimingAndRotationsButKeepTheirOwnPositions)
{
    Animated a;
    const int body = a.AddPart(-1, "body");
    const int armL = a.AddPart(body, "armL");
    const int armR = a.AddPart(body, "armR");
    a.scene.parts[armL]->symmetryIndex = armR;
    a.scene.parts[armR]->symmetryIndex = armL;
    a.StartMotion();
    a.SetKeyAt(armL, 0, Key(10, 20, 30, {-3, 2, 0}));
    a.SetKeyAt(armL, 15, Key(40, -10, 5, {-3, 4, 0}));
    a.SetKeyAt(armR, 0, Key(-5, 15, -20, {3, 2, 0}));
    a.SetKeyAt(armR, 30, Key(-60, 25, 45, {3, 0, 1}));
    const Matrix4 left15 = a.KeyAt(armL, 15), right30 = a.KeyAt(armR, 30);
    a.scene.currentFrame = 30;
    MirrorMotion(a.scene);

    EXPECT_EQ(FramesOf(a.Track(armR)), (std::vector<int>{0, 15}));
    EXPECT_EQ(FramesOf(a.Track(armL)), (std::vector<int>{0, 30}));
    EXPECT_EQ(FramesOf(a.Track(body)), std::vector<int>{0});
    // The right arm takes the left arm's rotation at 15, reflected, at its own
    // position there (its 0 ... 30 path at the middle: (3, 1, 0.5)).
    Matrix4 expectedRight = Reflected(left15);
    expectedRight.SetTranslation({3, 1, 0.5f});
    EXPECT_TRUE(MatricesNear(a.KeyAt(armR, 15), expectedRight, 2e-6f));
    // The left arm takes the right arm's rotation at 30; it held (-3, 4, 0) from 15 on.
    Matrix4 expectedLeft = Reflected(right30);
    expectedLeft.SetTranslation({-3, 4, 0});
    EXPECT_TRUE(MatricesNear(a.KeyAt(armL, 30), expectedLeft, 2e-6f));
    // The pose shown afterwards is the Motion at the current frame.
    EXPECT_TRUE(VectorsNear(a.scene.parts[armL]->localPosition, {-3, 4, 0}, 1e-6f));
    EXPECT_TRUE(VectorsNear(a.scene.parts[armR]->localPosition, {3, 1, 0.5f}, 1e-6f));
}

TEST(MirrorMotion, WithoutACurrentMotionNothingChanges)
{
    Animated a;
    const int body = a.AddPart(-1, "body");
    a.StartMotion();
    a.SetKeyAt(body, 0, Key(30, 20, 10, {1, 2, 3}));
    a.scene.currentMotion = -1;
    MirrorMotion(a.scene);
    EXPECT_EQ(a.scene.motions[0].tracks[body].keys[0].matrix, Key(30, 20, 10, {1, 2, 3}));
}

// --- Grounding every keyframe ---

TEST(GroundAllKeyframes, RaisesTheTopLevelPartsAtEachFrameWhereOneOfThemHasAKey)
{
    Animated a;
    const int body = a.AddPart(-1, "body");
    const int leg = a.AddPart(body, "leg");
    const int other = a.AddPart(-1, "other");
    a.StartMotion();
    a.SetKeyAt(body, 0, Key(0, 0, 0, {0, 1, 0}));
    a.SetKeyAt(leg, 0, Key(0, 0, 0, {0, -1, 0}));  // lowest vertex at -1 at frame 0
    a.SetKeyAt(other, 0, Key(0, 0, 0, {5, 3, 0}));
    a.SetKeyAt(body, 10, Key(0, 0, 0, {0, 0.5f, 0}));
    a.SetKeyAt(leg, 10, Key(0, 0, 0, {0, -2, 0}));  // lowest at 0.5 - 2 - 1 = -2.5
    a.SetKeyAt(leg, 5, Key(0, 0, 0, {0, -10, 0}));  // only a child key: left alone
    GroundAllKeyframes(a.scene);

    EXPECT_FLOAT_EQ(a.KeyAt(body, 0).m[3][1], 2.0f);
    EXPECT_FLOAT_EQ(a.KeyAt(other, 0).m[3][1], 4.0f);
    EXPECT_FLOAT_EQ(a.KeyAt(body, 10).m[3][1], 3.0f);
    // A top-level Part without a key at 10 gets one, at its pose there raised by 2.5.
    EXPECT_EQ(FramesOf(a.Track(other)), (std::vector<int>{0, 10}));
    EXPECT_FLOAT_EQ(a.KeyAt(other, 10).m[3][1], 6.5f);
    EXPECT_FLOAT_EQ(a.KeyAt(other, 10).m[3][0], 5.0f);
    EXPECT_EQ(FramesOf(a.Track(body)), (std::vector<int>{0, 10}));
    EXPECT_FLOAT_EQ(a.KeyAt(leg, 10).m[3][1], -2.0f);
    EXPECT_FLOAT_EQ(a.KeyAt(leg, 5).m[3][1], -10.0f);
}

TEST(GroundAllKeyframes, AModelWithoutVerticesKeepsItsKeys)
{
    Animated a;
    a.scene.AddPartFromFile(a.folder.File("missing.mqo"));
    a.StartMotion();
    a.SetKeyAt(0, 0, Key(0, 0, 0, {0, -7, 0}));
    a.SetKeyAt(0, 20, Key(0, 0, 0, {0, 7, 0}));
    GroundAllKeyframes(a.scene);
    EXPECT_FLOAT_EQ(a.KeyAt(0, 0).m[3][1], -7.0f);
    EXPECT_FLOAT_EQ(a.KeyAt(0, 20).m[3][1], 7.0f);
}

// --- Turning a Motion around ---

TEST(TurnMotionAround, TopLevelKeysTurnHalfwayAboutYAndChildKeysStay)
{
    Animated a;
    const int body = a.AddPart(-1, "body");
    const int arm = a.AddPart(body, "arm");
    a.StartMotion();
    a.SetKeyAt(body, 0, Key(0, 0, 0, {1, 2, 3}));
    a.SetKeyAt(body, 20, Key(30, 10, 0, {-4, 0, 5}));
    a.SetKeyAt(arm, 20, Key(10, 20, 30, {2, 0, 0}));
    const Matrix4 arm20 = a.KeyAt(arm, 20);
    const Matrix4 body20 = a.KeyAt(body, 20);
    TurnMotionAround(a.scene);

    EXPECT_TRUE(VectorsNear(a.KeyAt(body, 0).Translation(), {-1, 2, -3}, 1e-6f));
    EXPECT_TRUE(VectorsNear(a.KeyAt(body, 20).Translation(), {4, 0, -5}, 1e-6f));
    // Facing +Z before, the body faces -Z at frame 0 afterwards.
    const Matrix4& turned = a.KeyAt(body, 0);
    EXPECT_TRUE(VectorsNear({turned.m[2][0], turned.m[2][1], turned.m[2][2]}, {0, 0, -1}, 1e-6f));
    EXPECT_TRUE(VectorsNear({turned.m[0][0], turned.m[0][1], turned.m[0][2]}, {-1, 0, 0}, 1e-6f));
    // Heading 30 becomes heading 30 - 180 = -150, pitch and bank kept in sense.
    const HeadingPitchBank angles = AnglesFromMatrix(a.KeyAt(body, 20));
    EXPECT_NEAR(angles.h, -150.0f, 1e-3f);
    EXPECT_NEAR(angles.p, 10.0f, 1e-3f);
    EXPECT_EQ(a.KeyAt(arm, 20), arm20);

    TurnMotionAround(a.scene);
    EXPECT_TRUE(MatricesNear(a.KeyAt(body, 20), body20, 2e-6f));
    EXPECT_TRUE(MatricesNear(a.KeyAt(body, 0), Key(0, 0, 0, {1, 2, 3}), 2e-6f));
}
