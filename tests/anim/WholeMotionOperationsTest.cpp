#include "anim/WholeMotionOperations.h"

#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "scene/Scene.h"
#include "support/MatrixMatchers.h"
#include "support/SceneFixtures.h"
#include "view/RotationAngles.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace m3d;

namespace {

Matrix4 Key(float h, float p, float b, Vec3 position) { return KeyMatrixOf(RotationFromAngles({h, p, b}), position); }

// m with _12, _13, _21 and _31 negated.
Matrix4 Reflected(const Matrix4& m)
{
    Matrix4 r = m;
    for (auto [row, column] : {std::pair{0, 1}, {0, 2}, {1, 0}, {2, 0}}) r.m[row][column] = -m.m[row][column];
    return r;
}

std::vector<int> FramesOf(const MotionTrack& track)
{
    std::vector<int> frames;
    for (const KeyFrame& key : track.keys) frames.push_back(key.frame);
    return frames;
}

// Cubes of half size 1 as Parts, and Motion "m" of 60 frames made current.
struct Animated {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    int Add(int parent, const std::string& name) { return AddCubeUnder(scene, folder, parent, name + ".mqo"); }
    void Start() { NewMotionCommand(session, "m"); }
    void Set(int part, int frame, const Matrix4& matrix)
    {
        SetKeyMatrix(scene, session.CurrentMotion(), part, frame, matrix);
    }
    MotionTrack& Track(int part) { return scene.MutableMotions()[session.CurrentMotion()].tracks[part]; }
    Matrix4 At(int part, int frame)
    {
        const int k = Track(part).FindKey(frame);
        EXPECT_GE(k, 0) << "no key at " << frame;
        return k < 0 ? Matrix4() : Track(part).keys[k].matrix;
    }
};

}  // namespace

TEST(DeleteRedundantKeys, AKeyThatInterpolationReproducesGoesAndAChangeOfAThousandthInAnyElementKeepsIt)
{
    for (int element = -1; element < 16; ++element) {
        Animated a;
        const int part = a.Add(-1, "body");
        a.Start();
        a.Set(part, 0, Key(0, 0, 0, {0, 0, 0}));
        a.Set(part, 10, Key(20, 0, 0, {10, 1, -2}));
        a.Set(part, 20, Key(40, 0, 0, {20, 2, -4}));
        if (element >= 0) a.Track(part).keys[1].matrix.m[element / 4][element % 4] += 0.001f;
        DeleteRedundantKeysCommand(a.session);
        const std::vector<int> expected = element < 0 ? std::vector<int>{0, 20} : std::vector<int>{0, 10, 20};
        EXPECT_EQ(FramesOf(a.Track(part)), expected) << "changed element " << element;
    }
}

TEST(DeleteRedundantKeys, TheWalkComparesWithTheLastKeptKeyAndALastKeyWithItsPredecessor)
{
    Animated a;
    const int equal = a.Add(-1, "equal"), line = a.Add(-1, "line"), near = a.Add(-1, "near"), far = a.Add(-1, "far");
    a.Start();
    for (int frame : {0, 10, 20}) a.Set(equal, frame, Key(10, 20, 30, {1, 1, 1}));
    // On a straight line at 0 ... 30, then back to the start at 35.
    for (int frame : {0, 10, 20, 30}) a.Set(line, frame, Key(0, 0, 0, {float(frame), 0, 0}));
    a.Set(line, 35, Key(0, 0, 0, {0, 0, 0}));
    for (int part : {near, far}) {
        a.Set(part, 10, Key(30, 10, 0, {1, 2, 3}));
        a.Set(part, 25, Key(30, 10, 0, {1, 2, 3}));
    }
    a.Track(near).keys[2].matrix.m[3][2] += 0.00005f;
    a.Track(far).keys[2].matrix.m[3][2] += 0.0002f;
    EXPECT_EQ(DeleteRedundantKeysCommand(a.session), 5);
    EXPECT_EQ(FramesOf(a.Track(equal)), std::vector<int>{0});
    EXPECT_EQ(FramesOf(a.Track(line)), (std::vector<int>{0, 30, 35}));
    EXPECT_EQ(FramesOf(a.Track(near)), (std::vector<int>{0, 10}));
    EXPECT_EQ(FramesOf(a.Track(far)), (std::vector<int>{0, 10, 25}));
}

TEST(DeleteRedundantKeys, KeysPastTheLengthAreWalkedLikeAnyOther)
{
    Animated a;
    const int body = a.Add(-1, "body");
    a.Start();  // length 60
    for (int frame : {0, 70, 80, 90}) a.Set(body, frame, Key(10, 20, 30, {1, 1, 1}));
    a.Set(body, 100, Key(10, 20, 30, {5, 1, 1}));
    // 70 and 80 lie on the way from 0 to 90; 90 does not lie on the way to 100.
    EXPECT_EQ(DeleteRedundantKeysCommand(a.session), 2);
    EXPECT_EQ(FramesOf(a.Track(body)), (std::vector<int>{0, 90, 100}));
}

TEST(DeleteRedundantKeys, LeavesSingleKeysNanKeysOtherMotionsAndThePoseAlone)
{
    Animated a;
    const int body = a.Add(-1, "body"), arm = a.Add(-1, "arm");
    a.Start();
    Matrix4 broken = Key(0, 0, 0, {0, 0, 0});
    broken.m[3][1] = std::nanf("");
    a.Set(arm, 10, broken);
    NewMotionCommand(a.session, "other");
    a.Set(body, 10, Key(0, 0, 0, {0, 0, 0}));
    a.session.SelectMotion(0);
    a.scene.Parts()[body]->localPosition = {9, 9, 9};
    a.session.History().Clear();
    EXPECT_EQ(DeleteRedundantKeysCommand(a.session), 0);
    EXPECT_EQ(FramesOf(a.Track(arm)), (std::vector<int>{0, 10}));
    EXPECT_EQ(FramesOf(a.scene.Motions()[1].tracks[body]), (std::vector<int>{0, 10}));
    EXPECT_TRUE(VectorsNear(a.scene.Parts()[body]->localPosition, {9, 9, 9}, 0));
    EXPECT_EQ(a.session.History().StepCount(), 0);  // nothing deleted, nothing to undo
    a.session.SelectMotion(-1);
    EXPECT_EQ(DeleteRedundantKeysCommand(a.session), 0);
}

TEST(MirrorMotion, WithoutPartnersEveryKeyIsReflectedInPlaceAndTwiceRestoresIt)
{
    Animated a;
    const int body = a.Add(-1, "body"), arm = a.Add(0, "arm");
    a.Start();
    a.Set(body, 0, Key(30, 20, 10, {1, 2, 3}));
    a.Set(body, 12, Key(-50, 40, -25, {4, 5, 6}));
    a.Set(arm, 0, Key(70, -15, 35, {-2, 1, 0}));
    a.Set(arm, 30, Key(100, 5, -60, {-3, 0, 1}));
    const std::vector<std::vector<KeyFrame>> before = {a.Track(body).keys, a.Track(arm).keys};
    for (int round = 1; round <= 2; ++round) {
        MirrorMotionCommand(a.session);
        for (int part : {body, arm}) {
            ASSERT_EQ(a.Track(part).keys.size(), before[part].size());
            for (size_t k = 0; k < before[part].size(); ++k) {
                const Matrix4& original = before[part][k].matrix;
                EXPECT_EQ(a.Track(part).keys[k].frame, before[part][k].frame);
                EXPECT_TRUE(
                    MatricesNear(a.Track(part).keys[k].matrix, round == 1 ? Reflected(original) : original, 4e-6f))
                    << "round " << round << " part " << part << " key " << k;
            }
        }
    }
}

TEST(MirrorMotion, PartnersExchangeKeyTimingAndRotationsAndKeepTheirOwnPositions)
{
    Animated a;
    const int body = a.Add(-1, "body"), armL = a.Add(0, "armL"), armR = a.Add(0, "armR");
    a.scene.Parts()[armL]->symmetryIndex = armR;
    a.scene.Parts()[armR]->symmetryIndex = armL;
    a.Start();
    a.Set(armL, 0, Key(10, 20, 30, {-3, 2, 0}));
    a.Set(armL, 15, Key(40, -10, 5, {-3, 4, 0}));
    a.Set(armR, 0, Key(-5, 15, -20, {3, 2, 0}));
    a.Set(armR, 30, Key(-60, 25, 45, {3, 0, 1}));
    const Matrix4 left15 = a.At(armL, 15), right30 = a.At(armR, 30);
    MirrorMotionCommand(a.session);

    EXPECT_EQ(FramesOf(a.Track(armR)), (std::vector<int>{0, 15}));
    EXPECT_EQ(FramesOf(a.Track(armL)), (std::vector<int>{0, 30}));
    EXPECT_EQ(FramesOf(a.Track(body)), std::vector<int>{0});
    // The right arm takes the left arm's rotation at 15 at its own position
    // there (halfway along its 0 ... 30 path).
    Matrix4 expectedRight = Reflected(left15);
    expectedRight.SetTranslation({3, 1, 0.5f});
    EXPECT_TRUE(MatricesNear(a.At(armR, 15), expectedRight, 2e-6f));
    // The left arm takes the right arm's rotation at 30; it stood at (-3, 4, 0) from 15 on.
    Matrix4 expectedLeft = Reflected(right30);
    expectedLeft.SetTranslation({-3, 4, 0});
    EXPECT_TRUE(MatricesNear(a.At(armL, 30), expectedLeft, 2e-6f));
}

TEST(MirrorMotion, KeysPastTheLengthStayAsTheyAre)
{
    Animated a;
    const int body = a.Add(-1, "body");
    a.Start();  // length 60
    a.Set(body, 30, Key(30, 20, 10, {1, 2, 3}));
    a.Set(body, 70, Key(-50, 40, -25, {4, 5, 6}));
    a.Set(body, 80, Key(60, -40, 15, {7, 8, 9}));
    const std::vector<KeyFrame> before = a.Track(body).keys;
    MirrorMotionCommand(a.session);
    ASSERT_EQ(FramesOf(a.Track(body)), (std::vector<int>{0, 30, 70, 80}));
    EXPECT_TRUE(MatricesNear(a.At(body, 30), Reflected(before[1].matrix), 4e-6f));
    EXPECT_EQ(a.At(body, 70), before[2].matrix);
    EXPECT_EQ(a.At(body, 80), before[3].matrix);
}

TEST(GroundAllKeyframes, RaisesTheTopLevelPartsAtEachFrameWhereOneOfThemHasAKey)
{
    Animated a;
    const int body = a.Add(-1, "body"), leg = a.Add(0, "leg"), other = a.Add(-1, "other");
    a.Start();
    a.Set(body, 0, Key(0, 0, 0, {0, 1, 0}));
    a.Set(leg, 0, Key(0, 0, 0, {0, -1, 0}));  // lowest vertex at -1 at frame 0
    a.Set(other, 0, Key(0, 0, 0, {5, 3, 0}));
    a.Set(body, 10, Key(0, 0, 0, {0, 0.5f, 0}));
    a.Set(leg, 10, Key(0, 0, 0, {0, -2, 0}));  // lowest at 0.5 - 2 - 1 = -2.5 at frame 10
    a.Set(leg, 5, Key(0, 0, 0, {0, -10, 0}));  // only a child's key: left alone
    GroundAllKeyframesCommand(a.session);

    EXPECT_FLOAT_EQ(a.At(body, 0).m[3][1], 2.0f);
    EXPECT_FLOAT_EQ(a.At(other, 0).m[3][1], 4.0f);
    EXPECT_FLOAT_EQ(a.At(body, 10).m[3][1], 3.0f);
    // A top-level Part without a key at 10 gets one: its pose there (held from
    // the grounded frame 0) raised by 2.5.
    EXPECT_EQ(FramesOf(a.Track(other)), (std::vector<int>{0, 10}));
    EXPECT_TRUE(VectorsNear(a.At(other, 10).Translation(), {5, 6.5f, 0}, 1e-6f));
    EXPECT_EQ(FramesOf(a.Track(leg)), (std::vector<int>{0, 5, 10}));
    EXPECT_FLOAT_EQ(a.At(leg, 10).m[3][1], -2.0f);
}

TEST(GroundAllKeyframes, KeysPastTheLengthStayAndTheFirstStillShapesThePoseBeforeIt)
{
    Animated a;
    const int body = a.Add(-1, "body"), other = a.Add(-1, "other");
    a.Start();  // length 60
    a.Set(body, 0, Key(0, 0, 0, {0, 1, 0}));
    a.Set(body, 70, Key(0, 0, 0, {0, 71, 0}));
    a.Set(body, 80, Key(0, 0, 0, {0, 81, 0}));
    a.Set(other, 0, Key(0, 0, 0, {5, 5, 0}));
    a.Set(other, 10, Key(0, 0, 0, {5, 5, 0}));
    GroundAllKeyframesCommand(a.session);
    // At 10 the body is on its way from 1 to 71 (at 11) and the other cube
    // is lowest (at 4): both go down by 4.
    EXPECT_EQ(FramesOf(a.Track(body)), (std::vector<int>{0, 10, 70, 80}));
    EXPECT_FLOAT_EQ(a.At(body, 10).m[3][1], 7.0f);
    EXPECT_FLOAT_EQ(a.At(other, 10).m[3][1], 1.0f);
    EXPECT_FLOAT_EQ(a.At(body, 70).m[3][1], 71.0f);
    EXPECT_FLOAT_EQ(a.At(body, 80).m[3][1], 81.0f);
}

TEST(GroundAllKeyframes, AModelWithoutVerticesKeepsItsKeys)
{
    Animated a;
    a.scene.AddPartFromFile(a.folder.File("missing.mqo"));
    a.Start();
    a.Set(0, 20, Key(0, 0, 0, {0, 7, 0}));
    GroundAllKeyframesCommand(a.session);
    EXPECT_FLOAT_EQ(a.At(0, 0).m[3][1], 0.0f);
    EXPECT_FLOAT_EQ(a.At(0, 20).m[3][1], 7.0f);
}

TEST(LevelPartInAllKeyframes, EveryKeyOfTheSelectedPartKeepsItsWorldHeadingOnly)
{
    Animated a;
    const int body = a.Add(-1, "body"), armL = a.Add(0, "armL"), armR = a.Add(0, "armR");
    a.scene.Parts()[armL]->symmetryIndex = armR;
    a.scene.Parts()[armR]->symmetryIndex = armL;
    a.session.TransformPanel().linkLR = 1;  // no partner step all the same
    a.Start();
    a.Set(body, 20, Key(60, 0, 0, {0, 0, 0}));
    a.Set(armL, 0, Key(45, 30, 10, {1, 2, 3}));
    a.Set(armL, 20, Key(-15, 30, 10, {1, 2, 3}));  // world heading 60 - 15 = 45
    const std::vector<KeyFrame> rightBefore = a.Track(armR).keys;
    SelectPart(a.scene, -1);
    LevelPartInAllKeyframesCommand(a.session);
    EXPECT_EQ(a.At(armL, 0), Key(45, 30, 10, {1, 2, 3}));

    SelectPart(a.scene, armL);
    LevelPartInAllKeyframesCommand(a.session);
    EXPECT_EQ(FramesOf(a.Track(armL)), (std::vector<int>{0, 20}));
    for (int frame : {0, 20}) {
        EvaluatePose(a.scene, a.session.CurrentMotion(), frame);
        const HeadingPitchBank angles = AnglesFromMatrix(a.scene.WorldMatrixOf(armL));
        EXPECT_NEAR(angles.h, 45.0f, 1e-3f) << frame;
        EXPECT_NEAR(angles.p, 0.0f, 1e-3f) << frame;
        EXPECT_NEAR(angles.b, 0.0f, 1e-3f) << frame;
        EXPECT_TRUE(VectorsNear(a.At(armL, frame).Translation(), {1, 2, 3}, 1e-6f));
    }
    EXPECT_NEAR(AnglesFromMatrix(a.At(armL, 20)).h, -15.0f, 1e-3f);  // relative to the turned body
    EXPECT_EQ(a.Track(armR).keys[0].matrix, rightBefore[0].matrix);
}

TEST(TurnMotionAround, TopLevelKeysTurnHalfwayAboutYAndChildKeysStay)
{
    Animated a;
    const int body = a.Add(-1, "body"), arm = a.Add(0, "arm");
    a.Start();
    a.Set(body, 0, Key(0, 0, 0, {1, 2, 3}));
    a.Set(body, 20, Key(30, 10, 0, {-4, 0, 5}));
    a.Set(arm, 20, Key(10, 20, 30, {2, 0, 0}));
    const Matrix4 arm20 = a.At(arm, 20), body20 = a.At(body, 20);
    TurnMotionAroundCommand(a.session);
    Matrix4 facingBack = MatrixScaling(-1, 1, -1);  // +Z now points along -Z, +X along -X
    facingBack.SetTranslation({-1, 2, -3});
    EXPECT_TRUE(MatricesNear(a.At(body, 0), facingBack, 1e-6f));
    EXPECT_TRUE(VectorsNear(a.At(body, 20).Translation(), {4, 0, -5}, 1e-6f));
    const HeadingPitchBank angles = AnglesFromMatrix(a.At(body, 20));
    EXPECT_NEAR(angles.h, -150.0f, 1e-3f);
    EXPECT_NEAR(angles.p, 10.0f, 1e-3f);
    EXPECT_EQ(a.At(arm, 20), arm20);
    TurnMotionAroundCommand(a.session);
    EXPECT_TRUE(MatricesNear(a.At(body, 20), body20, 2e-6f));
}

TEST(WholeMotionOperations, EachEndsShowingTheCurrentFrameAsOneUndoStep)
{
    Animated a;
    const int body = a.Add(-1, "body");
    a.Start();
    a.Set(body, 40, Key(80, 0, 0, {8, 0, 0}));
    SelectPart(a.scene, body);
    a.session.SetCurrentFrame(20);
    a.session.History().Clear();
    int expected = 0;
    Matrix4 keyBefore;
    for (void (*operation)(EditorSession&) :
         {MirrorMotionCommand, GroundAllKeyframesCommand, LevelPartInAllKeyframesCommand, TurnMotionAroundCommand}) {
        a.scene.Parts()[body]->localPosition = {99, 99, 99};
        keyBefore = a.At(body, 40);
        operation(a.session);
        EXPECT_EQ(a.session.History().StepCount(), ++expected);
        TrackPose pose;
        ASSERT_TRUE(EvaluateTrack(a.Track(body), 20, pose));
        EXPECT_TRUE(VectorsNear(a.scene.Parts()[body]->localPosition, pose.localPosition, 0));
    }
    // Undo brings back the keys and the pose shown before the last operation.
    a.session.History().Undo();
    EXPECT_EQ(a.At(body, 40), keyBefore);
    TrackPose before;
    ASSERT_TRUE(EvaluateTrack(a.Track(body), 20, before));
    EXPECT_TRUE(VectorsNear(a.scene.Parts()[body]->localPosition, before.localPosition, 0));
    // Without a current Motion nothing happens, not even an undo step.
    a.session.SelectMotion(-1);
    for (void (*operation)(EditorSession&) :
         {MirrorMotionCommand, GroundAllKeyframesCommand, LevelPartInAllKeyframesCommand, TurnMotionAroundCommand})
        operation(a.session);
    EXPECT_EQ(a.session.History().Position(), expected - 1);
}

TEST(DeleteRedundantKeys, UnderSmoothAndEaseAKeyGoesOnlyWhereEveryFrameKeepsItsPose)
{
    // A smooth straight line at constant speed: the middle key changes no frame.
    Animated a;
    const int line = a.Add(-1, "line"), bend = a.Add(-1, "bend"), eased = a.Add(-1, "eased");
    a.Start();
    for (int frame : {0, 10, 20, 30}) a.Set(line, frame, Key(0, 0, 0, {float(frame), 0, 0}));
    // Bent at frame 20: without any one of its inner keys the curve runs elsewhere.
    for (auto [frame, y] : {std::pair{0, 0.0f}, {10, 10.0f}, {20, 20.0f}, {30, 0.0f}})
        a.Set(bend, frame, Key(0, 0, 0, {0, y, 0}));
    // Two eased halves come to rest at the middle key; without it the motion would pass it at speed.
    for (auto [frame, x] : {std::pair{0, 0.0f}, {10, 5.0f}, {20, 10.0f}}) a.Set(eased, frame, Key(0, 0, 0, {x, 0, 0}));
    for (int part : {line, bend}) {
        for (KeyFrame& key : a.Track(part).keys) key.interpolation = KeyInterpolation::Smooth();
    }
    for (KeyFrame& key : a.Track(eased).keys) key.interpolation = KeyInterpolation::EaseInOut();
    const MotionTrack bendBefore = a.Track(bend);

    DeleteRedundantKeysCommand(a.session);
    EXPECT_EQ(FramesOf(a.Track(line)), (std::vector<int>{0, 30}));
    EXPECT_EQ(FramesOf(a.Track(bend)), (std::vector<int>{0, 10, 20, 30}));
    EXPECT_EQ(FramesOf(a.Track(eased)), (std::vector<int>{0, 10, 20}));
    for (int frame = 0; frame <= 30; ++frame) {
        TrackPose before, after;
        EvaluateTrack(bendBefore, frame, before);
        EvaluateTrack(a.Track(bend), frame, after);
        EXPECT_EQ(after.localPosition, before.localPosition) << frame;
    }
    // The interpolations of the keys kept stay theirs.
    for (const KeyFrame& key : a.Track(line).keys) EXPECT_EQ(key.interpolation, KeyInterpolation::Smooth());
}

TEST(WholeMotionOperations, KeysKeepTheirInterpolationsAndNewKeysTakeTheSegmentsOne)
{
    Animated a;
    const int left = a.Add(-1, "left"), right = a.Add(-1, "right");
    a.scene.Parts()[left]->symmetryIndex = right;
    a.scene.Parts()[right]->symmetryIndex = left;
    a.Start();
    a.Set(left, 10, Key(30, 0, 0, {1, 2, 0}));
    a.Set(right, 20, Key(0, 0, 0, {-1, 4, 0}));
    a.Track(left).keys[0].interpolation = KeyInterpolation::Smooth();
    a.Track(left).keys[1].interpolation = KeyInterpolation::Step();
    a.Track(right).keys[0].interpolation = KeyInterpolation::EaseIn();

    // Mirrored, each Part takes its partner's keys: their frames and interpolations.
    MirrorMotionCommand(a.session);
    ASSERT_EQ(FramesOf(a.Track(right)), (std::vector<int>{0, 10}));
    EXPECT_EQ(a.Track(right).keys[0].interpolation, KeyInterpolation::Smooth());
    EXPECT_EQ(a.Track(right).keys[1].interpolation, KeyInterpolation::Step());
    ASSERT_EQ(FramesOf(a.Track(left)), (std::vector<int>{0, 20}));
    EXPECT_EQ(a.Track(left).keys[0].interpolation, KeyInterpolation::EaseIn());

    // Turned around, every key keeps its own.
    TurnMotionAroundCommand(a.session);
    EXPECT_EQ(a.Track(right).keys[1].interpolation, KeyInterpolation::Step());
    // Grounded, the key made at 20 on the right splits a step segment and is a step too.
    GroundAllKeyframesCommand(a.session);
    ASSERT_EQ(FramesOf(a.Track(right)), (std::vector<int>{0, 10, 20}));
    EXPECT_EQ(a.Track(right).keys[2].interpolation, KeyInterpolation::Step());
    EXPECT_EQ(a.Track(right).keys[0].interpolation, KeyInterpolation::Smooth());
}
