#include "view/RotationAngles.h"
#include "support/MatrixMatchers.h"

#include <gtest/gtest.h>

#include <random>

using namespace m3d;

namespace {

TEST(RotationAngles, DegreesTurnTheAxesTheLeftHandedWay)
{
    EXPECT_TRUE(VectorsNear(TransformNormal({0, 0, 1}, RotationFromAngles({90, 0, 0})), {1, 0, 0}, 1e-6f));
    EXPECT_TRUE(VectorsNear(TransformNormal({0, 0, 1}, RotationFromAngles({0, 90, 0})), {0, -1, 0}, 1e-6f));
    EXPECT_TRUE(VectorsNear(TransformNormal({1, 0, 0}, RotationFromAngles({0, 0, 90})), {0, 1, 0}, 1e-6f));
    // Pitch before heading: +Y pitched to +Z, then turned to +X.
    EXPECT_TRUE(VectorsNear(TransformNormal({0, 1, 0}, RotationFromAngles({90, 90, 0})), {1, 0, 0}, 1e-6f));
}

TEST(RotationAngles, DecompositionInvertsTheRotationBelowNinetyDegreesOfPitch)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> turn(-179.0f, 179.0f);
    std::uniform_real_distribution<float> pitch(-85.0f, 85.0f);
    for (int i = 0; i < 2000; ++i) {
        const HeadingPitchBank in{turn(random), pitch(random), turn(random)};
        Matrix4 m = RotationFromAngles(in);
        m.SetTranslation({40, -3, 12});  // ignored
        const HeadingPitchBank out = AnglesFromMatrix(m);
        ASSERT_NEAR(out.h, in.h, 1e-4f) << i;
        ASSERT_NEAR(out.p, in.p, 1e-4f) << i;
        ASSERT_NEAR(out.b, in.b, 1e-4f) << i;
    }
}

TEST(RotationAngles, EveryFiveDegreesComeBackAsTypedToTheFieldsPrecision)
{
    // Heading and bank over a whole turn, pitch up to 5 degrees from straight
    // up or down; small angles next to zero, where a cosine alone is blunt.
    std::vector<float> turns, pitches{0.01f, -0.01f, 0.0001f};
    for (int a = -175; a <= 180; a += 5) turns.push_back(float(a));
    for (int a = -85; a <= 85; a += 5) pitches.push_back(float(a));
    for (float h : turns)
        for (float p : pitches)
            for (float b : turns) {
                const HeadingPitchBank out = AnglesFromMatrix(RotationFromAngles({h, p, b}));
                ASSERT_NEAR(out.h, h, 1e-4f) << h << " " << p << " " << b;
                ASSERT_NEAR(out.p, p, 1e-4f) << h << " " << p << " " << b;
                ASSERT_NEAR(out.b, b, 1e-4f) << h << " " << p << " " << b;
            }
}

TEST(RotationAngles, ForwardStraightUpOrDownPutsTheTurnIntoHeading)
{
    // Exact rotations whose forward axis is vertical, turned about it by a.
    for (float a : {0.0f, 30.0f, -60.0f, 135.0f}) {
        const Matrix4 turn = MatrixRotationY(a * kDegreesToRadians);
        for (float sign : {1.0f, -1.0f}) {
            // Forward along sign * Y, up pointing horizontally, right staying level.
            const Matrix4 tilt = MatrixRotationX(-sign * 90.0f * kDegreesToRadians);
            Matrix4 m = tilt * turn;
            m.m[2][0] = 0;
            m.m[2][1] = sign;
            m.m[2][2] = 0;
            const HeadingPitchBank out = AnglesFromMatrix(m);
            EXPECT_EQ(out.p, -sign * 90.0f);
            EXPECT_EQ(out.b, 0.0f);
            EXPECT_TRUE(MatricesNear(RotationFromAngles(out), m, 1e-5f)) << "a " << a << " sign " << sign;
        }
    }
}

TEST(RotationAngles, TheNearestTripleReadsBackAsTypedThroughEveryHalfTurn)
{
    // Each axis alone every 10 degrees from -180 to 180, pitch past 90 too,
    // read with the triple typed as the reference.
    for (int axis = 0; axis < 3; ++axis)
        for (int a = -180; a <= 180; a += 10) {
            HeadingPitchBank typed;
            (axis == 0 ? typed.h : axis == 1 ? typed.p : typed.b) = float(a);
            const HeadingPitchBank out = NearestAngles(RotationFromAngles(typed), typed);
            ASSERT_NEAR(out.h, typed.h, 1e-3f) << axis << " " << a;
            ASSERT_NEAR(out.p, typed.p, 1e-3f) << axis << " " << a;
            ASSERT_NEAR(out.b, typed.b, 1e-3f) << axis << " " << a;
        }
    // Straight up or down heading and bank turn alike: the bank typed stays.
    for (const HeadingPitchBank typed : {HeadingPitchBank{30, 90, 20}, HeadingPitchBank{-150, -90, 170}}) {
        const HeadingPitchBank out = NearestAngles(RotationFromAngles(typed), typed);
        EXPECT_NEAR(out.h, typed.h, 1e-3f);
        EXPECT_NEAR(out.p, typed.p, 1e-3f);
        EXPECT_NEAR(out.b, typed.b, 1e-3f);
    }
    // From (0, 0, 0), -110 about X is a pitch of -110, not (180, -70, 180);
    // whole turns of the reference carry over.
    const HeadingPitchBank pitched = NearestAngles(MatrixRotationX(-110.0f * kDegreesToRadians), {});
    EXPECT_NEAR(pitched.h, 0.0f, 1e-3f);
    EXPECT_NEAR(pitched.p, -110.0f, 1e-3f);
    EXPECT_NEAR(pitched.b, 0.0f, 1e-3f);
    EXPECT_NEAR(NearestAngles(RotationFromAngles({10, 0, 0}), {700, 0, 0}).h, 730.0f, 1e-3f);
}

}  // namespace
