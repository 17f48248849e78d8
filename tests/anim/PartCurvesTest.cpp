#include "anim/BezierSlopes.h"
#include "anim/CurveKeyEdit.h"
#include "anim/PartCurves.h"
#include "anim/PivotPath.h"

#include "support/MotionFixtures.h"
#include "view/RotationAngles.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace m3d;

namespace {

KeyFrame KeyAt(int frame, HeadingPitchBank angles, Vec3 position, KeyInterpolation interpolation = {})
{
    KeyFrame key{frame, RotationFromAngles(angles), interpolation};
    key.matrix.SetTranslation(position);
    return key;
}

}  // namespace

TEST(PartCurves, EvaluatedEveryFrameWithTheHeadingUnwrappedAndOnlyTheKeysWithinTheLength)
{
    MotionTrack track;
    // 150 to -150 the short way, through 180, then on to 60 past a key beyond the length.
    track.keys = {KeyAt(0, {150, 10, -5}, {0, 0, 0}), KeyAt(10, {-150, 20, 5}, {10, 4, -2}, KeyInterpolation::EaseIn()),
                  KeyAt(30, {60, 0, 0}, {40, 0, 0})};
    const PartCurves curves = SampleTrackCurves(track, 20, {});
    ASSERT_EQ(curves.length, 20);
    ASSERT_EQ(curves.keys.size(), 2u);
    EXPECT_EQ(curves.keys[1].interpolation, KeyInterpolation::EaseIn());
    EXPECT_FALSE(curves.followsPose);
    for (int frame = 0; frame <= 20; ++frame) {
        TrackPose pose;
        ASSERT_TRUE(EvaluateTrack(track, frame, pose));
        const HeadingPitchBank angles = AnglesFromMatrix(pose.localMatrix);
        EXPECT_NEAR(std::remainder(curves.Value(CurveChannel::Heading, frame) - angles.h, 360.0), 0.0, 1e-9);
        EXPECT_EQ(curves.Value(CurveChannel::Pitch, frame), angles.p) << frame;
        EXPECT_EQ(curves.Value(CurveChannel::Bank, frame), angles.b) << frame;
        EXPECT_EQ(curves.Value(CurveChannel::X, frame), pose.localPosition.x) << frame;
        EXPECT_EQ(curves.Value(CurveChannel::Z, frame), pose.localPosition.z) << frame;
        if (frame > 0 && frame <= 10) {
            const double step =
                curves.Value(CurveChannel::Heading, frame) - curves.Value(CurveChannel::Heading, frame - 1);
            EXPECT_LT(std::fabs(step), 12.0) << frame;
        }
    }
    EXPECT_NEAR(curves.Value(CurveChannel::Heading, 10), 210.0, 1e-3);

    // No keys: the present pose at every frame.
    const TrackPose present{RotationFromAngles({0, 30, 0}), {1, 2, 3}};
    const PartCurves still = SampleTrackCurves(MotionTrack{}, 5, present);
    EXPECT_TRUE(still.followsPose);
    EXPECT_TRUE(still.keys.empty());
    for (int frame = 0; frame <= 5; ++frame) {
        EXPECT_NEAR(still.Value(CurveChannel::Pitch, frame), 30.0, 1e-4);
        EXPECT_EQ(still.Value(CurveChannel::Y, frame), 2.0);
    }
}

TEST(PartCurves, ALoopPitchingPastTheVerticalEndsOnTheNumbersItBeganWithAndNeverJumps)
{
    // Up past 90 of pitch, a turn of the heading there and back, and down
    // again: heading and bank must not step by 180 where the pitch passes 90.
    MotionTrack track;
    track.keys = {KeyAt(0, {30, 0, 20}, {}), KeyAt(10, {30, 120, 20}, {}), KeyAt(20, {150, 120, 20}, {}),
                  KeyAt(30, {30, 120, 20}, {}), KeyAt(40, {30, 0, 20}, {})};
    const PartCurves curves = SampleTrackCurves(track, 40, {});
    for (const CurveChannel c : {CurveChannel::Heading, CurveChannel::Pitch, CurveChannel::Bank}) {
        EXPECT_NEAR(curves.Value(c, 40), curves.Value(c, 0), 1e-3) << int(c);
        for (int frame = 1; frame <= 40; ++frame)
            ASSERT_LT(std::fabs(curves.Value(c, frame) - curves.Value(c, frame - 1)), 13.0) << int(c) << " " << frame;
    }
    EXPECT_NEAR(curves.Value(CurveChannel::Pitch, 10), 120.0, 1e-3);
    EXPECT_NEAR(curves.Value(CurveChannel::Heading, 20), 150.0, 1e-3);
}

TEST(PivotPath, ThePivotWhereWorldPoseAtPutsItEveryFrameWithTheOwnKeysAndThePoseFollowedWithoutKeys)
{
    MotionSessionFixture f(3, 20);  // a chain of three cubes
    Scene& scene = f.session.GetScene();
    Matrix4 swing = RotationFromAngles({40, 0, 15});
    swing.SetTranslation({5, 0, 0});
    ASSERT_TRUE(SetKeyMatrix(scene, 0, 0, 20, swing));
    for (int frame : {5, 12, 25}) ASSERT_TRUE(SetKeyMatrix(scene, 0, 2, frame, MatrixTranslation(0, float(frame), 3)));
    const PivotPath path = PivotPathOf(scene, scene.MotionAt(0), 2);
    ASSERT_EQ(path.positions.size(), 21u);
    EXPECT_EQ(path.keyFrames, (std::vector<int>{0, 5, 12}));
    EXPECT_FALSE(path.followsPose);
    for (int frame = 0; frame <= 20; ++frame)
        EXPECT_EQ(path.positions[size_t(frame)], WorldPoseAt(scene, scene.MotionAt(0), frame)[2].Translation())
            << frame;

    // The middle Part without keys holds its present pose, moved since.
    f.Track(1).keys.clear();
    scene.PartAt(1)->localPosition = {0, 7, 0};
    const PivotPath held = PivotPathOf(scene, scene.MotionAt(0), 2);
    EXPECT_TRUE(held.followsPose);
    for (int frame : {0, 9, 20})
        EXPECT_EQ(held.positions[size_t(frame)], WorldPoseAt(scene, scene.MotionAt(0), frame)[2].Translation());
    EXPECT_NE(held.positions[9], path.positions[9]);
}

TEST(CurveKeyEdit, ValuesRebuildTheKeyAsTheFieldsDoAndMovesKeepFrameZeroTheLengthAndTheLoopsEnds)
{
    MotionTrack track;
    track.keys = {KeyAt(0, {0, 0, 0}, {0, 0, 0}), KeyAt(5, {190, 10, 5}, {1, 2, 3}), KeyAt(10, {30, 0, 0}, {4, 0, 0}),
                  KeyAt(20, {0, 0, 0}, {0, 0, 0})};
    const PartCurves curves = SampleTrackCurves(track, 20, {});
    const double heading5 = curves.Value(CurveChannel::Heading, 5);  // -170: the short way from 0

    // H of key 5 up by 15 and its y typed over: the rotation rebuilt from the plotted triple; a
    // position-only edit keeps the rotation bit for bit.
    CurveKeyEdit up;
    up.valueOffsets[size_t(CurveChannel::Heading)] = 15.0;
    CurveKeyEditResult r = EditCurveKeys(track, curves, {{5, CurveChannel::Heading}}, up, 20, 0);
    Matrix4 expected = RotationFromAngles({float(heading5 + 15.0), float(curves.Value(CurveChannel::Pitch, 5)),
                                           float(curves.Value(CurveChannel::Bank, 5))});
    expected.SetTranslation({1, 2, 3});
    EXPECT_EQ(r.track.keys[1].matrix, expected);
    EXPECT_NEAR(NearestAngles(r.track.keys[1].matrix, {-155, 10, 5}).h, heading5 + 15.0, 1e-3);
    CurveKeyEdit typed;
    typed.typedValue = -7.5;
    r = EditCurveKeys(track, curves, {{5, CurveChannel::Y}, {10, CurveChannel::Y}}, typed, 20, 0);
    EXPECT_EQ(r.track.keys[1].matrix.Translation(), (Vec3{1, -7.5f, 3}));
    EXPECT_EQ(r.track.keys[2].matrix.Translation(), (Vec3{4, -7.5f, 0}));
    Matrix4 rotationOnly = r.track.keys[1].matrix;
    rotationOnly.SetTranslation({1, 2, 3});
    EXPECT_EQ(rotationOnly, track.keys[1].matrix);

    // Frames 0, 5 and 10 moved by 14: held to 10 so that key 10 lands on the last frame (replacing it);
    // frame 0 stays, the points follow their keys.
    CurveKeyEdit later;
    later.frameOffset = 14;
    r = EditCurveKeys(track, curves, {{0, CurveChannel::X}, {5, CurveChannel::X}, {10, CurveChannel::Z}}, later, 20, 0);
    ASSERT_EQ(r.track.keys.size(), 3u);
    EXPECT_EQ(r.track.keys[0].frame, 0);
    EXPECT_EQ(r.track.keys[1].frame, 15);
    EXPECT_EQ(r.track.keys[2].frame, 20);
    EXPECT_EQ(r.track.keys[2].matrix, track.keys[2].matrix);
    const std::vector<CurveKeyPoint> followed{{0, CurveChannel::X}, {15, CurveChannel::X}, {20, CurveChannel::Z}};
    EXPECT_EQ(r.points, followed);

    // In a loop of 20 frames: a value at frame 0 is stored at 20 too, and the last key does not move.
    CurveKeyEdit lift;
    lift.valueOffsets[size_t(CurveChannel::Y)] = 2.0;
    lift.frameOffset = -3;
    r = EditCurveKeys(track, curves, {{0, CurveChannel::Y}, {20, CurveChannel::X}}, lift, 20, 20);
    ASSERT_EQ(r.track.keys.size(), 4u);
    EXPECT_EQ(r.track.keys[0].matrix.Translation(), (Vec3{0, 2, 0}));
    EXPECT_EQ(r.track.keys[3].frame, 20);
    EXPECT_EQ(r.track.keys[3].matrix, r.track.keys[0].matrix);
}

TEST(CurveKeyEdit, AHandleDraggedGivesTheKeyItsOwnAlignedStayOnOneLineFreeApartAndFlattenLevelsThePoints)
{
    MotionTrack track;
    track.keys = {KeyAt(0, {0, 0, 0}, {0, 0, 0}, KeyInterpolation::Bezier(TangentMode::Auto)),
                  KeyAt(10, {0, 0, 0}, {0, 10, 0}, KeyInterpolation::Bezier(TangentMode::Auto)),
                  KeyAt(20, {0, 0, 0}, {0, 20, 0}, KeyInterpolation::Bezier(TangentMode::Vector))};
    constexpr size_t kY = size_t(CurveChannel::Y);
    // Key 10 shows slope 1 on y, a third of the way to each neighbour.
    const BezierHandles shown = ShownHandles(track, 1, 0);
    EXPECT_FLOAT_EQ(shown.inFrames[kY], -10.0f / 3.0f);
    EXPECT_FLOAT_EQ(shown.outValues[kY], 10.0f / 3.0f);

    // Its out handle dragged to (5, 10): aligned, the in side turned onto the line (slope 2).
    MotionTrack dragged = TrackWithHandleAt(track, {10, CurveChannel::Y, 1}, 5.0, 10.0, 0);
    const KeyFrame& aligned = dragged.keys[1];
    EXPECT_EQ(aligned.interpolation, KeyInterpolation::Bezier(TangentMode::Aligned));
    EXPECT_EQ(aligned.handles.outFrames[kY], 5.0f);
    EXPECT_FLOAT_EQ(aligned.handles.inFrames[kY], -10.0f / 3.0f);
    EXPECT_FLOAT_EQ(aligned.handles.inValues[kY], -20.0f / 3.0f);
    EXPECT_FLOAT_EQ(aligned.handles.inValues[size_t(CurveChannel::X)], 0.0f);
    // An in handle is kept before its key.
    EXPECT_EQ(TrackWithHandleAt(track, {10, CurveChannel::Y, -1}, 3.0, 1.0, 0).keys[1].handles.inFrames[kY], 0.0f);

    // The vector key's in handle moved alone: free, its out side as it showed.
    dragged = TrackWithHandleAt(track, {20, CurveChannel::Y, -1}, -2.0, 0.0, 0);
    EXPECT_EQ(dragged.keys[2].interpolation, KeyInterpolation::Bezier(TangentMode::Free));
    EXPECT_EQ(dragged.keys[2].handles.outValues[kY], ShownHandles(track, 2, 0).outValues[kY]);

    // Flattened on y only: both y handles level, the key aligned, x untouched.
    const MotionTrack flat = TrackWithFlatHandles(track, {{10, CurveChannel::Y}}, 0);
    EXPECT_EQ(flat.keys[1].interpolation, KeyInterpolation::Bezier(TangentMode::Aligned));
    EXPECT_EQ(flat.keys[1].handles.inValues[kY], 0.0f);
    EXPECT_EQ(flat.keys[1].handles.outValues[kY], 0.0f);
    EXPECT_EQ(flat.keys[1].handles.outFrames[kY], shown.outFrames[kY]);
    TrackPose pose;
    ASSERT_TRUE(EvaluateTrack(flat, 9, pose));
    EXPECT_GT(pose.localPosition.y, 9.5f);  // levelling off into the key
}
