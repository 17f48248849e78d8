#include "anim/PoseEvaluation.h"
#include "math/Quaternion.h"
#include "support/MatrixMatchers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace m3d;

namespace {

constexpr float kPi = 3.14159265358979f;

Matrix4 Key(const Matrix4& rotation, Vec3 position)
{
    Matrix4 m = rotation;
    m.SetTranslation(position);
    return m;
}

MotionTrack TrackOf(std::initializer_list<KeyFrame> keys)
{
    MotionTrack track;
    track.keys.assign(keys.begin(), keys.end());
    return track;
}

// A pose whose every field is junk, so a field the evaluation forgets to write shows.
TrackPose JunkPose()
{
    TrackPose pose;
    for (auto& row : pose.localMatrix.m)
        for (float& v : row) v = -777.0f;
    pose.localPosition = {-777.0f, -777.0f, -777.0f};
    return pose;
}

// Angle of a rotation about Y as the matrix holds it (row 1 = (cos, 0, -sin)).
float AngleAboutY(const Matrix4& m) { return std::atan2(-m.m[0][2], m.m[0][0]); }

}  // namespace

TEST(EvaluateTrack, SingleFrameZeroKeyHoldsWholeMatrixAtEveryFrame)
{
    const Matrix4 key = Key(MatrixRotationX(0.4f), {1, 2, 3});
    const MotionTrack track = TrackOf({{0, key}});
    for (int frame : {0, 1, 59, 100000}) {
        TrackPose pose = JunkPose();
        ASSERT_TRUE(EvaluateTrack(track, frame, pose));
        EXPECT_EQ(pose.localMatrix, key) << "frame " << frame;
        EXPECT_EQ(pose.localPosition, (Vec3{1, 2, 3}));
    }
}

TEST(EvaluateTrack, AfterLastKeyHoldsItsMatrixIncludingTranslationRow)
{
    const Matrix4 last = Key(MatrixRotationZ(1.0f), {4, -5, 6});
    const MotionTrack track = TrackOf({{0, Matrix4::Identity()}, {10, last}});
    for (int frame : {10, 11, 61, 5000}) {
        TrackPose pose = JunkPose();
        ASSERT_TRUE(EvaluateTrack(track, frame, pose));
        // Not re-derived through a quaternion: bit for bit the stored matrix.
        EXPECT_EQ(pose.localMatrix, last) << "frame " << frame;
        EXPECT_EQ(pose.localPosition, (Vec3{4, -5, 6}));
    }
}

TEST(EvaluateTrack, OnAnEarlierKeyGivesItsRotationWithoutTranslationAndItsExactPosition)
{
    const Matrix4 rotation = MatrixRotationYawPitchRoll(0.3f, -0.2f, 0.9f);
    const MotionTrack track = TrackOf({{0, Key(rotation, {0.1f, 0.2f, 0.3f})}, {20, Key(Matrix4(), {9, 9, 9})}});
    TrackPose pose = JunkPose();
    ASSERT_TRUE(EvaluateTrack(track, 0, pose));
    EXPECT_TRUE(MatricesNear(pose.localMatrix, rotation, 1e-6f));
    EXPECT_EQ(pose.localMatrix.Translation(), (Vec3{0, 0, 0}));
    EXPECT_EQ(pose.localMatrix.m[3][3], 1.0f);
    EXPECT_EQ(pose.localPosition, (Vec3{0.1f, 0.2f, 0.3f}));
}

TEST(EvaluateTrack, HalfwayBetweenRotationsTakesTheShorterArc)
{
    struct Case {
        float endDegrees;
        float expectedHalfway;
    };
    // 180 degrees halfway is a quarter turn (either way is equally short); 270
    // degrees is -90 the short way, so halfway is -45.
    for (Case c : {Case{180.0f, 90.0f}, Case{270.0f, -45.0f}, Case{-90.0f, -45.0f}, Case{100.0f, 50.0f}}) {
        const MotionTrack track =
            TrackOf({{0, Matrix4::Identity()}, {10, MatrixRotationY(c.endDegrees * kPi / 180.0f)}});
        TrackPose pose = JunkPose();
        ASSERT_TRUE(EvaluateTrack(track, 5, pose));
        float angle = AngleAboutY(pose.localMatrix) * 180.0f / kPi;
        if (c.endDegrees == 180.0f) angle = std::fabs(angle);
        EXPECT_NEAR(angle, c.expectedHalfway, 1e-3f) << c.endDegrees;
    }
}

TEST(EvaluateTrack, NegatedQuaternionKeyInterpolatesTheSameWay)
{
    // A rotation of 350 degrees converts to a quaternion with negative w; the
    // short arc from 10 degrees passes through 0, not 180.
    const MotionTrack track =
        TrackOf({{0, MatrixRotationY(10.0f * kPi / 180.0f)}, {4, MatrixRotationY(350.0f * kPi / 180.0f)}});
    TrackPose pose;
    ASSERT_TRUE(EvaluateTrack(track, 2, pose));
    EXPECT_NEAR(AngleAboutY(pose.localMatrix) * 180.0f / kPi, 0.0f, 1e-3f);
}

TEST(EvaluateTrack, PositionBlendUsesSinglePrecisionWeights)
{
    const Vec3 p0{0.1f, -3.7f, 1000.3f};
    const Vec3 p1{0.7f, 12.9f, -0.001f};
    const MotionTrack track = TrackOf({{3, Key(Matrix4(), p0)}, {10, Key(Matrix4(), p1)}});
    // Frame 3 is the first key here; evaluate inside (3, 10).
    for (int frame = 4; frame < 10; ++frame) {
        const float t = static_cast<float>(frame - 3) / 7.0f;
        const float s = 1.0f - t;
        TrackPose pose;
        ASSERT_TRUE(EvaluateTrack(track, frame, pose));
        EXPECT_EQ(pose.localPosition.x, p0.x * s + p1.x * t) << frame;
        EXPECT_EQ(pose.localPosition.y, p0.y * s + p1.y * t) << frame;
        EXPECT_EQ(pose.localPosition.z, p0.z * s + p1.z * t) << frame;
    }
}

TEST(EvaluateTrack, NoKeysOrNegativeFrameLeavesOutputUntouched)
{
    const TrackPose junk = JunkPose();
    TrackPose pose = junk;
    EXPECT_FALSE(EvaluateTrack(MotionTrack{}, 0, pose));
    EXPECT_EQ(pose.localMatrix, junk.localMatrix);
    EXPECT_FALSE(EvaluateTrack(TrackOf({{0, Matrix4()}}), -1, pose));
    EXPECT_EQ(pose.localPosition, junk.localPosition);
}

// The key search must find exactly the pair a scan from the start would: the
// first key later than the frame and the one before it.
TEST(EvaluateTrack, KeySearchAndTheSamplerMatchAScanAtEveryFrameAroundEveryKey)
{
    std::mt19937 random(7);
    MotionTrack track;
    int frame = 0;
    for (int i = 0; i < 300; ++i) {
        const Matrix4 rotation = MatrixRotationYawPitchRoll(0.01f * i, 0.02f * (i % 17), -0.03f * (i % 5));
        track.keys.push_back({frame, Key(rotation, {float(i), float(-i), 0.5f * i})});
        frame += 1 + static_cast<int>(random() % 4);
    }
    // The sampler skips every third frame, so it also jumps over keys.
    TrackSampler sampler(track);
    for (int f = 0; f <= frame + 2; ++f) {
        size_t j = 0;
        while (j < track.keys.size() && track.keys[j].frame <= f) ++j;
        TrackPose expected;
        if (j == track.keys.size()) {
            expected.localMatrix = track.keys.back().matrix;
            expected.localPosition = track.keys.back().matrix.Translation();
        } else {
            const KeyFrame& k0 = track.keys[j - 1];
            const KeyFrame& k1 = track.keys[j];
            const float t = static_cast<float>(f - k0.frame) / static_cast<float>(k1.frame - k0.frame);
            expected.localMatrix = MatrixRotationQuaternion(
                QuaternionSlerp(QuaternionRotationMatrix(k0.matrix), QuaternionRotationMatrix(k1.matrix), t));
            const Vec3 a = k0.matrix.Translation();
            const Vec3 b = k1.matrix.Translation();
            expected.localPosition = {a.x * (1.0f - t) + b.x * t, a.y * (1.0f - t) + b.y * t,
                                      a.z * (1.0f - t) + b.z * t};
        }
        TrackPose pose;
        ASSERT_TRUE(EvaluateTrack(track, f, pose));
        ASSERT_EQ(pose.localMatrix, expected.localMatrix) << "frame " << f;
        ASSERT_EQ(pose.localPosition, expected.localPosition) << "frame " << f;
        if (f % 3 == 1) continue;
        TrackPose sampled = JunkPose();
        ASSERT_TRUE(sampler.Sample(f, sampled));
        ASSERT_EQ(sampled.localMatrix, expected.localMatrix) << "sampled at frame " << f;
        ASSERT_EQ(sampled.localPosition, expected.localPosition) << "sampled at frame " << f;
    }
}
