#include "foreign/ChannelSampling.h"
#include "support/ForeignSamples.h"

#include <gtest/gtest.h>

using namespace m3d;

TEST(ChannelSamplingTest, EachInterpolationFollowsTheFileRules)
{
    // Hermite by hand: keys at 1 s and 3 s, values 0 and 10, out-tangent 2 and in-tangent -1 (per second).
    // At 2 s, t = 0.5 and the interval is 2: 0.5 * 0 + 0.125 * 2 * 2 + 0.5 * 10 - 0.125 * 2 * -1 = 5.75.
    const ForeignChannel cubic{0,
                               ForeignPath::Translation,
                               ForeignInterpolation::CubicSpline,
                               {1, 3},
                               {0, 0, 0, 0, 0, 0, 2, 0, 0, -1, 0, 0, 10, 0, 0, 7, 0, 0}};
    float v[3];
    SampleChannel(cubic, 2.0, v);
    EXPECT_NEAR(v[0], 5.75f, 1e-6f);
    SampleChannel(cubic, 0.0, v);  // before the first key: its value, not its in-tangent
    EXPECT_EQ(v[0], 0.0f);
    SampleChannel(cubic, 9.0, v);
    EXPECT_EQ(v[0], 10.0f);

    const ForeignChannel step{0, ForeignPath::Translation, ForeignInterpolation::Step, {0, 0.5f}, {0, 1, 0, 0, 2, 0}};
    SampleChannel(step, 0.4999, v);
    EXPECT_EQ(v[1], 1.0f);
    SampleChannel(step, 0.5, v);
    EXPECT_EQ(v[1], 2.0f);

    // Linear rotation from 0 to 180 - 2° about Z: the shorter arc passes 89°, and a key stored negated
    // (the same rotation) changes nothing.
    const Quaternion a = AxisAngle(0, 0, 1, 0), b = AxisAngle(0, 0, 1, float(M_PI * 178 / 180));
    for (float sign : {1.0f, -1.0f}) {
        const ForeignChannel turn{0,
                                  ForeignPath::Rotation,
                                  ForeignInterpolation::Linear,
                                  {0, 2},
                                  {a.x, a.y, a.z, a.w, sign * b.x, sign * b.y, sign * b.z, sign * b.w}};
        float q[4];
        SampleChannel(turn, 1.0, q);
        const float angle = 2 * std::atan2(std::fabs(q[2]), std::fabs(q[3]));
        EXPECT_NEAR(angle, float(M_PI * 89 / 180), 1e-5f) << sign;
    }
}

TEST(ChannelSamplingTest, ChannelsOverrideOnlyTheirOwnNodeAndPath)
{
    const ForeignModel model = ArmModel();
    const std::vector<NodeTransform> at = NodeTransformsAt(model, 0, 0.75);
    ASSERT_EQ(at.size(), 3u);
    EXPECT_EQ(at[0].translation.x, 1.0f);  // the shoulder turns but stays where it is
    EXPECT_EQ(at[0].scale.z, 2.0f);
    EXPECT_EQ(at[2].translation.y, 2.0f);
    EXPECT_EQ(at[1].translation.z, 1.0f);
    EXPECT_EQ(NodeTransformsAt(model, -1, 0.75)[2].translation.y, 1.0f);  // the rest pose ignores animations
    EXPECT_DOUBLE_EQ(AnimationDuration(model.animations[0]), 1.0);
}
