#include "anim/BakeDeviation.h"
#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "math/NearlyEqualMatrices.h"
#include "math/TimingCurves.h"
#include "scene/KeyInterpolation.h"
#include "scene/Scene.h"
#include "view/RotationAngles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace m3d;

namespace {

constexpr double kPi = 3.14159265358979323846;

KeyFrame KeyAt(int frame, Vec3 position, KeyInterpolation interpolation = {}, float angleAboutY = 0.0f)
{
    KeyFrame key{frame, MatrixRotationY(angleAboutY), interpolation};
    key.matrix.SetTranslation(position);
    return key;
}

TrackPose PoseAt(const MotionTrack& track, int frame)
{
    TrackPose pose;
    EXPECT_TRUE(EvaluateTrack(track, frame, pose));
    return pose;
}

// The angle about Y of a pure Y rotation, in degrees within [0, 360).
double DegreesAboutY(const Matrix4& m)
{
    const double degrees = std::atan2(-m.m[0][2], m.m[0][0]) * 180.0 / kPi;
    return degrees < 0.0 ? degrees + 360.0 : degrees;
}

}  // namespace

// Expected weights from an independent bisection of the Bezier in high precision.
TEST(EaseWeight, PresetsAndOvershootAtQuarterPoints)
{
    struct Case {
        KeyInterpolation ease;
        double at25, at50, at75;
    };
    const Case cases[] = {
        {KeyInterpolation::EaseIn(), 0.0934647, 0.3153568, 0.6218619},
        {KeyInterpolation::EaseOut(), 0.3781381, 0.6846432, 0.9065353},
        {KeyInterpolation::EaseInOut(), 0.1291619, 0.5, 0.8708381},
        {KeyInterpolation::Ease(0.34f, 1.56f, 0.64f, 1.0f), 0.8162892, 1.0874007, 1.0596469},
    };
    for (const Case& c : cases) {
        const KeyInterpolation& e = c.ease;
        EXPECT_NEAR(EaseWeight(e.X1(), e.Y1(), e.X2(), e.Y2(), 0.25), c.at25, 2e-7) << InterpolationName(e);
        EXPECT_NEAR(EaseWeight(e.X1(), e.Y1(), e.X2(), e.Y2(), 0.5), c.at50, 2e-7) << InterpolationName(e);
        EXPECT_NEAR(EaseWeight(e.X1(), e.Y1(), e.X2(), e.Y2(), 0.75), c.at75, 2e-7) << InterpolationName(e);
        EXPECT_EQ(EaseWeight(e.X1(), e.Y1(), e.X2(), e.Y2(), 0.0), 0.0);
        EXPECT_EQ(EaseWeight(e.X1(), e.Y1(), e.X2(), e.Y2(), 1.0), 1.0);
    }
    // Flat ends (x1 = 1, x2 = 0): the curve's slope in x vanishes in the middle.
    EXPECT_NEAR(EaseWeight(1.0, 0.0, 0.0, 1.0, 0.2), 0.0174255, 2e-7);
}

TEST(KeyInterpolation, NamesRoundTripAndBadNamesAreRefused)
{
    for (const KeyInterpolation& k :
         {KeyInterpolation::Linear(), KeyInterpolation::Step(), KeyInterpolation::Smooth(), KeyInterpolation::EaseIn(),
          KeyInterpolation::EaseOut(), KeyInterpolation::EaseInOut(), KeyInterpolation::Ease(0.1f, -0.3f, 0.9f, 1.7f),
          KeyInterpolation::AutoClamped(), KeyInterpolation::Bezier(TangentMode::Auto),
          KeyInterpolation::Bezier(TangentMode::Vector)})
        EXPECT_EQ(ParseInterpolation(InterpolationName(k)), k) << InterpolationName(k);
    EXPECT_EQ(InterpolationName(KeyInterpolation::Ease(0.42f, 0.0f, 1.0f, 1.0f)), "ease-in");
    for (const char* bad : {"", "Linear", "ease", "ease:", "ease:1,2,3", "ease:0,0,1,1,1", "ease:1.5,0,0.5,1",
                            "ease:0,0,-0.1,1", "ease:0,nan,1,1", "ease:0,inf,1,1", "ease:0, 0,1,1", "ease:0,0,1,1x"})
        EXPECT_FALSE(ParseInterpolation(bad).has_value()) << bad;
    // Built from numbers, x is kept within [0, 1] and kinds other than ease keep no numbers.
    EXPECT_EQ(KeyInterpolation::Ease(-1.0f, 0.0f, 2.0f, 1.0f), KeyInterpolation::Ease(0.0f, 0.0f, 1.0f, 1.0f));
    EXPECT_EQ(KeyInterpolation::Step().X2(), 1.0f);
}

TEST(EvaluateTrack, EachKindTimesItsSegmentFromTheFirstKey)
{
    // x goes 0 -> 10 over frames 0 ... 10, then 10 -> 40 over 10 ... 30.
    const auto track = [](KeyInterpolation first, KeyInterpolation second) {
        return MotionTrack{{KeyAt(0, {0, 0, 0}, first), KeyAt(10, {10, 0, 0}, second), KeyAt(30, {40, 0, 0})}};
    };
    // Step holds the first key up to the frame before the next and jumps there.
    const MotionTrack step = track(KeyInterpolation::Step(), KeyInterpolation::Linear());
    EXPECT_EQ(PoseAt(step, 9).localPosition.x, 0.0f);
    EXPECT_EQ(PoseAt(step, 10).localPosition.x, 10.0f);
    EXPECT_FLOAT_EQ(PoseAt(step, 20).localPosition.x, 25.0f);  // the second key's own segment is linear

    const MotionTrack easeIn = track(KeyInterpolation::EaseIn(), KeyInterpolation::Linear());
    EXPECT_NEAR(PoseAt(easeIn, 5).localPosition.x, 3.153568f, 2e-5f);

    // Smooth: tangents 1 at frame 0 (one-sided), (40 - 0) / 30 at 10 and
    // (40 - 10) / 20 at 30 (one-sided); by hand, 4.583333 at frame 5 and
    // 24.583333 at frame 20.
    const MotionTrack smooth = track(KeyInterpolation::Smooth(), KeyInterpolation::Smooth());
    EXPECT_NEAR(PoseAt(smooth, 5).localPosition.x, 4.583333f, 1e-5f);
    EXPECT_NEAR(PoseAt(smooth, 20).localPosition.x, 24.583333f, 1e-5f);
    // A smooth key's tangent counts its neighbours whatever their kind.
    const MotionTrack mixed = track(KeyInterpolation::Linear(), KeyInterpolation::Smooth());
    EXPECT_FLOAT_EQ(PoseAt(mixed, 5).localPosition.x, 5.0f);
    EXPECT_NEAR(PoseAt(mixed, 20).localPosition.x, 24.583333f, 1e-5f);

    // On a key every kind gives that key's pose, and after the last the last key's matrix whole.
    for (const MotionTrack& t : {step, easeIn, smooth, mixed}) {
        EXPECT_EQ(PoseAt(t, 10).localPosition.x, 10.0f);
        EXPECT_EQ(PoseAt(t, 31).localMatrix, t.keys.back().matrix);
    }
}

TEST(EvaluateTrack, SmoothThroughFourUnevenKeys)
{
    // y: 0 at 0, 6 at 4, 2 at 10, 8 at 12. Tangents: 1.5, 0.2, 0.25, 3.
    // Frame 7 lies in the segment 4 ... 10 at t = 0.5:
    // 0.5*6 + 0.125*6*0.2 + 0.5*2 - 0.125*6*0.25 = 3.9625.
    // Frame 11 lies in 10 ... 12 at t = 0.5: 0.5*2 + 0.125*2*0.25 + 0.5*8 - 0.125*2*3 = 4.3125.
    const MotionTrack track{{KeyAt(0, {0, 0, 0}, KeyInterpolation::Smooth()),
                             KeyAt(4, {0, 6, 0}, KeyInterpolation::Smooth()),
                             KeyAt(10, {0, 2, 0}, KeyInterpolation::Smooth()), KeyAt(12, {0, 8, 0})}};
    EXPECT_NEAR(PoseAt(track, 7).localPosition.y, 3.9625f, 1e-5f);
    EXPECT_NEAR(PoseAt(track, 11).localPosition.y, 4.3125f, 1e-5f);
    // The sampler walks the same segments to the same bits.
    TrackSampler sampler(track);
    for (int frame = 0; frame <= 14; ++frame) {
        TrackPose sampled;
        ASSERT_TRUE(sampler.Sample(frame, sampled));
        const TrackPose direct = PoseAt(track, frame);
        EXPECT_EQ(sampled.localMatrix, direct.localMatrix) << frame;
        EXPECT_EQ(sampled.localPosition, direct.localPosition) << frame;
    }
}

TEST(EvaluateTrack, SmoothRotationKeepsEachQuaternionOnTheHemisphereOfTheOneBefore)
{
    // 0, 170 and 340 degrees about Y: the quaternion of 340 degrees comes out
    // of its matrix on the far side of that of 170; taken as it comes, the
    // curve would turn back through 75 degrees. Kept on one side, it goes on
    // turning the same way: past 170 and near 255 halfway to 340.
    const float deg = static_cast<float>(kPi / 180.0);
    const MotionTrack track{{KeyAt(0, {}, KeyInterpolation::Smooth(), 0.0f),
                             KeyAt(10, {}, KeyInterpolation::Smooth(), 170.0f * deg),
                             KeyAt(20, {}, KeyInterpolation::Smooth(), 340.0f * deg)}};
    const double halfway = DegreesAboutY(PoseAt(track, 15).localMatrix);
    EXPECT_GT(halfway, 240.0);
    EXPECT_LT(halfway, 270.0);
    // Each frame turns on by less than the step between the keys.
    double previous = DegreesAboutY(PoseAt(track, 10).localMatrix);
    for (int frame = 11; frame <= 20; ++frame) {
        const double angle = DegreesAboutY(PoseAt(track, frame).localMatrix);
        EXPECT_GT(angle, previous) << frame;
        previous = angle;
    }
}

namespace {

// A track of keys at frames with heights y (and headings about Y in degrees), all of interpolation.
MotionTrack HeightTrack(const std::vector<int>& frames, const std::vector<float>& y, KeyInterpolation interpolation,
                        const std::vector<float>& headings = {})
{
    MotionTrack track;
    for (size_t k = 0; k < frames.size(); ++k)
        track.keys.push_back(KeyAt(frames[k], {0.0f, y[k], 0.0f}, interpolation,
                                   headings.empty() ? 0.0f : headings[k] * float(kPi / 180.0)));
    return track;
}

}  // namespace

// Auto-clamped keys never leave the range of the two keys around a frame: a
// hop's base, flat before and after (where the quaternion Smooth dips below
// the floor), and a sine-like run of extremes.
TEST(EvaluateTrack, AutoClampedBezierStaysWithinEachSegmentsKeys)
{
    const std::vector<int> frames{0, 8, 17, 25, 34, 42, 51, 60};
    const std::vector<float> hop{0, 0, 8, 25, 0, 0, 0, 0}, sine{0, 10, 0, -10, 0, 10, 0, -10};
    for (const std::vector<float>& heights : {hop, sine}) {
        const MotionTrack track = HeightTrack(frames, heights, KeyInterpolation::AutoClamped());
        for (size_t k = 0; k + 1 < frames.size(); ++k)
            for (int frame = frames[k]; frame < frames[k + 1]; ++frame) {
                const float y = PoseAt(track, frame).localPosition.y;
                EXPECT_GE(y, std::min(heights[k], heights[k + 1]) - 1e-5f) << frame;
                EXPECT_LE(y, std::max(heights[k], heights[k + 1]) + 1e-5f) << frame;
            }
    }
    float lowest = 0.0f;
    const MotionTrack smooth = HeightTrack(frames, hop, KeyInterpolation::Smooth());
    for (int frame = 34; frame < 42; ++frame) lowest = std::min(lowest, PoseAt(smooth, frame).localPosition.y);
    EXPECT_LT(lowest, -0.5f);  // what auto-clamped mends
}

// Auto and vector handles against the Bezier curve itself, evaluated by de
// Casteljau with handles a third of the way to the next key in time; and a
// heading turning on past 180 degrees is unwrapped, never turning back.
TEST(EvaluateTrack, AutoAndVectorBezierFollowTheirHandlesAndHeadingsUnwrap)
{
    const std::vector<int> frames{0, 10, 40, 50};
    const std::vector<float> y{0, 10, 12, 30};
    const auto bezier = [](double p0, double p1, double p2, double p3, double u) {
        const double a = p0 + (p1 - p0) * u, b = p1 + (p2 - p1) * u, c = p2 + (p3 - p2) * u;
        const double d = a + (b - a) * u, e = b + (c - b) * u;
        return d + (e - d) * u;
    };
    // Auto: the slope at a key is that from the key before to the key after.
    const MotionTrack automatic = HeightTrack(frames, y, KeyInterpolation::Bezier(TangentMode::Auto));
    const double slope1 = (12.0 - 0.0) / 40.0, slope2 = (30.0 - 10.0) / 40.0;
    for (int frame = 10; frame < 40; ++frame)
        EXPECT_NEAR(PoseAt(automatic, frame).localPosition.y,
                    bezier(10, 10 + slope1 * 10, 12 - slope2 * 10, 12, (frame - 10) / 30.0), 1e-4)
            << frame;
    // Vector: each handle points at the neighbouring key, so a segment between two vector keys is straight.
    const MotionTrack vector = HeightTrack(frames, y, KeyInterpolation::Bezier(TangentMode::Vector));
    for (int frame = 10; frame < 40; ++frame)
        EXPECT_NEAR(PoseAt(vector, frame).localPosition.y, 10 + 2.0 * (frame - 10) / 30.0, 1e-4) << frame;

    // Headings 0, 170, 340, 510: the keys read 0, 170, -20, 150, yet the turn goes on the same way.
    const MotionTrack turn =
        HeightTrack(frames, {0, 0, 0, 0}, KeyInterpolation::AutoClamped(), {0.0f, 170.0f, 340.0f, 510.0f});
    double previous = 0.0;
    for (int frame = 1; frame <= 50; ++frame) {
        double degrees = DegreesAboutY(PoseAt(turn, frame).localMatrix);
        while (degrees < previous - 1e-3) degrees += 360.0;
        EXPECT_LT(degrees - previous, 30.0) << frame;
        previous = degrees;
    }
    EXPECT_NEAR(previous, 510.0, 1e-3);
}

// In a loop the curves wrap across the seam: the first key's neighbour before
// it is the one before the last key, so the motion goes through frame 0 at
// the speed the keys around the seam give, the same on both sides (and not
// at the flat start and end of a track that does not loop).
TEST(EvaluateTrack, ALoopsCurvesWrapAcrossTheSeam)
{
    const MotionTrack track = HeightTrack({0, 10, 20, 30, 40}, {0, 10, 0, -10, 0}, KeyInterpolation::AutoClamped());
    const auto y = [&track](int frame, int32_t loop) {
        TrackPose pose;
        EXPECT_TRUE(EvaluateTrack(track, frame, pose, loop));
        return pose.localPosition.y;
    };
    const float after = y(1, 40) - y(0, 40), before = y(40, 40) - y(39, 40);
    EXPECT_NEAR(after, before, 1e-4f);
    EXPECT_GT(after, 0.8f);
    EXPECT_LT(y(1, 0) - y(0, 0), 0.5f);
    // Inside, away from the seam, the loop changes nothing.
    EXPECT_EQ(y(20, 40), y(20, 0));
}

// Aligned and free keys follow their own handles: each segment is the cubic
// Bezier through the keys and the facing handles, time and value both cubic
// in the curve's parameter, here solved for time by halving. A key made
// free keeps the curve it showed.
TEST(EvaluateTrack, OwnHandlesGiveTheBezierThroughThemAndAKeyMadeFreeKeepsItsCurve)
{
    MotionTrack track = HeightTrack({0, 12, 30}, {0, 10, 4}, KeyInterpolation::Bezier(TangentMode::Free));
    track.keys[2].interpolation = KeyInterpolation::Bezier(TangentMode::Aligned);
    constexpr int kY = 4;  // the y channel
    track.keys[0].handles.outFrames[kY] = 4, track.keys[0].handles.outValues[kY] = 0;
    track.keys[1].handles.inFrames[kY] = -2, track.keys[1].handles.inValues[kY] = -1;
    track.keys[1].handles.outFrames[kY] = 5, track.keys[1].handles.outValues[kY] = 6;
    track.keys[2].handles.inFrames[kY] = -8, track.keys[2].handles.inValues[kY] = 3;
    const auto independent = [](const double(&x)[4], const double(&y)[4], double frame) {
        const auto at = [](const double(&p)[4], double u) {
            const double w = 1 - u;
            return w * w * w * p[0] + 3 * w * w * u * p[1] + 3 * w * u * u * p[2] + u * u * u * p[3];
        };
        double low = 0, high = 1;
        for (int i = 0; i < 100; ++i) (at(x, 0.5 * (low + high)) < frame ? low : high) = 0.5 * (low + high);
        return at(y, 0.5 * (low + high));
    };
    const double first[2][4] = {{0, 4, 10, 12}, {0, 0, 9, 10}}, second[2][4] = {{12, 17, 22, 30}, {10, 16, 7, 4}};
    for (int frame = 0; frame <= 30; ++frame) {
        TrackPose pose;
        ASSERT_TRUE(EvaluateTrack(track, frame, pose));
        const auto& [x, y] = frame <= 12 ? first : second;
        EXPECT_NEAR(pose.localPosition.y, independent(x, y, frame), 1e-4) << frame;
    }

    // Auto-clamped keys made free one by one: every frame as before.
    const MotionTrack hop =
        HeightTrack({0, 10, 20, 35, 40}, {0, 8, 25, 0, 0}, KeyInterpolation::AutoClamped(), {0, 30, -20, 90, 0});
    Scene scene;
    Motion motion;
    motion.length = 40;
    motion.tracks = {hop};
    scene.MutableMotions().push_back(motion);
    for (const KeyFrame& key : hop.keys)
        ASSERT_TRUE(SetKeyInterpolation(scene, 0, 0, key.frame, KeyInterpolation::Bezier(TangentMode::Free)));
    for (int frame = 0; frame <= 40; ++frame) {
        TrackPose before, after;
        ASSERT_TRUE(EvaluateTrack(hop, frame, before));
        ASSERT_TRUE(EvaluateTrack(scene.MotionAt(0).tracks[0], frame, after));
        EXPECT_NEAR(after.localPosition.y, before.localPosition.y, 1e-4) << frame;
        EXPECT_TRUE(NearlyEqualMatrices(after.localMatrix, before.localMatrix, 1e-4f)) << frame;
    }
    // Back to auto-clamped: the handles go.
    ASSERT_TRUE(SetKeyInterpolation(scene, 0, 0, 10, KeyInterpolation::AutoClamped()));
    EXPECT_EQ(scene.MotionAt(0).tracks[0].keys[1].handles.outFrames[kY], 0.0f);
}

// A track baked at every frame strays from its curve between frames by the
// chord's sag: for a smoothstep rise of 10 over 10 frames, measured against
// the cubic itself; a linear track does not stray at all.
TEST(BakeDeviation, TheChordsLargestSagBetweenFramesAndNoneForLinearKeys)
{
    const MotionTrack rise = HeightTrack({0, 10}, {0, 10}, KeyInterpolation::AutoClamped());
    const auto y = [](double frame) {
        const double s = frame / 10.0;
        return 10.0 * (3 * s * s - 2 * s * s * s);
    };
    double sag = 0.0;
    for (int f = 0; f < 10; ++f) sag = std::max(sag, std::fabs(0.5 * (y(f) + y(f + 1)) - y(f + 0.5)));
    const BakeDeviation smooth = BakeDeviationOf(rise, 0, 10, 0);
    EXPECT_NEAR(smooth.length, sag, 1e-5);
    EXPECT_LT(smooth.degrees, 1e-3);

    const MotionTrack turn = HeightTrack({0, 10, 20}, {0, 3, 0}, KeyInterpolation::Linear(), {0, 90, 0});
    const BakeDeviation linear = BakeDeviationOf(turn, 0, 20, 0);
    EXPECT_LT(linear.length, 1e-5);
    EXPECT_LT(linear.degrees, 1e-3);
    // The same turn eased in strays, by less than a frame's turn (9 degrees).
    const BakeDeviation eased =
        BakeDeviationOf(HeightTrack({0, 10, 20}, {0, 3, 0}, KeyInterpolation::EaseIn(), {0, 90, 0}), 0, 20, 0);
    EXPECT_GT(eased.degrees, 0.01);
    EXPECT_LT(eased.degrees, 9.0);
}

// The angles remembered for a key follow its rotation: a key turned in
// place (same address) is evaluated with its new angles.
TEST(EvaluateTrack, AKeyTurnedInPlaceIsEvaluatedAfresh)
{
    MotionTrack track = HeightTrack({0, 10, 20}, {0, 0, 0}, KeyInterpolation::AutoClamped(), {0, 40, 0});
    TrackPose before, after;
    ASSERT_TRUE(EvaluateTrack(track, 5, before));
    track.keys[1].matrix = RotationFromAngles({-40, 0, 0});
    ASSERT_TRUE(EvaluateTrack(track, 5, after));
    EXPECT_NEAR(AnglesFromMatrix(before.localMatrix).h, -AnglesFromMatrix(after.localMatrix).h, 1e-3);
    EXPECT_GT(AnglesFromMatrix(before.localMatrix).h, 5.0f);
}
