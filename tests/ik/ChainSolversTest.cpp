#include "ik/ChainSolvers.h"
#include "support/IkRigs.h"
#include "support/MatrixMatchers.h"
#include "view/RotationAngles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace m3d;

namespace {

// base(0) turned and placed off the origin, with an arm under it: upper(1),
// lower(2), hand(3) (the end), finger(4) under the hand, and side(5) beside
// the arm. The arm is bent with the elbow (lower's pivot) toward +Z.
struct Arm : TestRig {
    int base = Add(-1, {1, 2, 3}, MatrixRotationY(0.3f));
    int upper = Add(base, {0, 1, 0}, MatrixRotationX(0.3f));
    int lower = Add(upper, {0, 2, 0}, MatrixRotationX(-1.1f));
    int hand = Add(lower, {0, 2, 0}, MatrixRotationZ(0.2f));
    int finger = Add(hand, {0, 0.5f, 0});
    int side = Add(base, {1, 0, 0});

    ChainGoal Goal(Vec3 target) const { return {hand, upper, target, std::nullopt}; }
};

// body(0) > thigh(1) > shin(2) > foot(3): a leg of two units a segment
// hanging from the hip (the thigh's pivot) at (0, 4, 0), the knee (the
// shin's pivot) bent forward, toward +Z, and the foot under the hip.
struct Leg : TestRig {
    int body = Add(-1, {0, 4, 0});
    int thigh = Add(body, {0, 0, 0}, MatrixRotationX(-0.6f));
    int shin = Add(thigh, {0, -2, 0}, MatrixRotationX(1.2f));
    int foot = Add(shin, {0, -2, 0});

    // The normal of the bend: thigh x shin.
    Vec3 BendNormal() const { return Cross(Pivot(shin) - Pivot(thigh), Pivot(foot) - Pivot(shin)); }
};

// The part of v across the line through a toward b.
Vec3 AcrossLine(Vec3 v, Vec3 a, Vec3 b)
{
    const Vec3 d = Normalize(b - a);
    return v - d * Dot(v, d);
}

// Root(1) under base(0) and a straight chain of links up +Y, each turned a
// little, the last the end; every Part one unit from its parent.
struct Chain : TestRig {
    int base = Add(-1, {0, -1, 0}, MatrixRotationZ(0.4f));
    int root = -1, end = -1;
    explicit Chain(int turning)
    {
        int parent = base;
        for (int k = 0; k <= turning; ++k)
            parent = Add(parent, {0, k == 0 ? 0.5f : 1.0f, 0}, MatrixRotationYawPitchRoll(0.1f * k, 0.15f, -0.1f));
        root = base + 1;
        end = parent;
    }
    std::vector<int> Turning() const
    {
        std::vector<int> parts;
        for (int p = root; p < end; ++p) parts.push_back(p);
        return parts;
    }
};

// The angle of a rotation about X alone (degrees), and how far it is from one.
struct Hinge {
    float degrees;
    float offAxis;
};
Hinge HingeAboutX(const Matrix4& local)
{
    return {std::atan2(local.m[1][2], local.m[1][1]) * kRadiansToDegrees,
            std::fabs(local.m[0][0] - 1.0f) + std::fabs(local.m[0][1]) + std::fabs(local.m[0][2])};
}

}  // namespace

TEST(TwoJointChain, ReachesTargetsAndStretchesTowardTargetsOutOfReach)
{
    const Arm start;
    const Vec3 root = start.Pivot(start.upper);
    for (const Vec3 target : {Vec3{2, 4, 5}, Vec3{-1, 5, 2}, Vec3{1.5f, 1.5f, 4.5f}, Vec3{3, 2.5f, 2.5f}}) {
        SCOPED_TRACE(::testing::Message() << target.x << " " << target.y << " " << target.z);
        ASSERT_LT(Length(target - root), 3.9f);
        Arm arm;
        const IkGoalResult result = SolveTwoJointChain(arm.rig, arm.pose, arm.Goal(target));
        EXPECT_EQ(result.part, arm.hand);
        EXPECT_LT(result.distance, 1e-3f);
        EXPECT_TRUE(VectorsNear(arm.Pivot(arm.hand), target, 1e-3f));
        EXPECT_TRUE(OnlyTheseTurned(start.pose, arm.pose, {arm.upper, arm.lower}));
    }
    // Out of reach: straight along the line toward the target, 4 units long.
    Arm arm;
    const Vec3 far{-6, 9, 1};
    const IkGoalResult result = SolveTwoJointChain(arm.rig, arm.pose, arm.Goal(far));
    const Vec3 toward = Normalize(far - root);
    EXPECT_TRUE(VectorsNear(arm.Pivot(arm.lower), root + toward * 2.0f, 1e-4f));
    EXPECT_TRUE(VectorsNear(arm.Pivot(arm.hand), root + toward * 4.0f, 1e-4f));
    EXPECT_NEAR(result.distance, Length(far - root) - 4.0f, 1e-4f);
}

TEST(TwoJointChain, TheKneeBendsTheWayItDidWhereverTheTargetPasses)
{
    const Leg start;
    ASSERT_GT(start.Pivot(start.shin).z, 1.0f);
    const Vec3 hip = start.Pivot(start.thigh);
    // A free knee, and one hinged about X either way, which the exact
    // solution breaks for a target off the leg's plane so that the descent
    // solves it.
    for (const bool hinged : {false, true}) {
        // Ahead of the knee (across the hip-knee line from the foot), behind
        // it (across the hip-foot line), beside it, and beside and ahead.
        for (const Vec3 offset : {Vec3{0, -2, 2.2f}, Vec3{0, -3, -1.2f}, Vec3{1.5f, -1.8f, 1.8f}, Vec3{2, 0, 2.5f}}) {
            SCOPED_TRACE(::testing::Message() << hinged << ": " << offset.x << " " << offset.y << " " << offset.z);
            Leg leg;
            if (hinged) leg.rig.limits[size_t(leg.shin)] = {JointAxis::X, -150.0f, 150.0f};
            const IkGoalResult result = SolveTwoJointChain(leg.rig, leg.pose, {leg.foot, leg.thigh, hip + offset});
            EXPECT_LT(result.distance, 1e-3f);
            EXPECT_GT(Dot(leg.BendNormal(), start.BendNormal()), 0.0f);
        }
    }
}

TEST(TwoJointChain, BendsTowardThePole)
{
    Arm arm;
    const Vec3 root = arm.Pivot(arm.upper), target{1, 5, 4};
    // The elbow is toward +Z now; a pole behind the arm turns it around.
    for (const Vec3 pole : {Vec3{1, 4, -3}, Vec3{5, 4, 3}, Vec3{1, 4, 8}}) {
        ChainGoal goal = arm.Goal(target);
        goal.pole = pole;
        const IkGoalResult result = SolveTwoJointChain(arm.rig, arm.pose, goal);
        EXPECT_LT(result.distance, 1e-3f);
        const Vec3 elbow = AcrossLine(arm.Pivot(arm.lower) - root, root, target);
        EXPECT_GT(Dot(Normalize(elbow), Normalize(AcrossLine(pole - root, root, target))), 0.999f);
    }
}

TEST(CcdChain, SixJointsReachTargetsInReachAndLieStraightTowardTargetsOutOfReach)
{
    const Chain start(6);
    const Vec3 root = start.Pivot(start.root);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-1, 1);
    for (int trial = 0; trial < 12; ++trial) {
        Vec3 direction = Normalize({coordinate(random), coordinate(random), coordinate(random)});
        const Vec3 target = root + direction * (1.0f + 4.0f * (trial + 1) / 12.0f);
        SCOPED_TRACE(trial);
        Chain chain(6);
        const IkGoalResult result = SolveCcdChain(chain.rig, chain.pose, {chain.end, chain.root, target});
        EXPECT_LT(result.distance, 1e-3f);
        EXPECT_TRUE(VectorsNear(chain.Pivot(chain.end), target, 1e-3f));
        EXPECT_TRUE(OnlyTheseTurned(start.pose, chain.pose, chain.Turning()));
    }
    Chain chain(6);
    const Vec3 far{9, 3, -5};
    SolveChain(chain.rig, chain.pose, {chain.end, chain.root, far});
    const Vec3 toward = Normalize(far - root);
    for (int p = chain.root; p <= chain.end; ++p)
        EXPECT_TRUE(VectorsNear(chain.Pivot(p), root + toward * float(p - chain.root), 1e-4f)) << "Part " << p;
}

TEST(CcdChain, LimitedPartsTurnOnlyAboutTheirAxesWithinTheirRanges)
{
    // A free shoulder with a knee-like hinge [0, 120] and a hinge [-10, 45]
    // below it, in a chain of four turning Parts.
    const auto make = [] {
        Chain chain(4);
        chain.rig.limits[size_t(chain.root + 1)] = {JointAxis::X, 0.0f, 120.0f};
        chain.rig.limits[size_t(chain.root + 2)] = {JointAxis::X, -10.0f, 45.0f};
        return chain;
    };
    const Chain start = make();
    const Vec3 root = start.Pivot(start.root);
    for (const Vec3 target : {root + Vec3{0.5f, 2.0f, 1.0f}, root + Vec3{-1, 1, -1}, root + Vec3{2, -1, 0}}) {
        Chain chain = make();
        const IkGoalResult result = SolveChain(chain.rig, chain.pose, {chain.end, chain.root, target});
        EXPECT_LT(result.distance, 1e-3f);
        for (int k : {1, 2}) {
            const JointLimit& limit = chain.rig.limits[size_t(chain.root + k)];
            const Hinge hinge = HingeAboutX(chain.pose[size_t(chain.root + k)].localMatrix);
            EXPECT_LT(hinge.offAxis, 1e-5f);
            EXPECT_GE(hinge.degrees, limit.minDegrees - 1e-3f);
            EXPECT_LE(hinge.degrees, limit.maxDegrees + 1e-3f);
        }
    }
    // A target behind the plane the hinges bend into: the chain comes no
    // farther from it than lying straight (every hinge at 0), and keeps its ranges.
    Chain chain(4), straight(4);
    for (int p : chain.Turning()) {
        chain.rig.limits[size_t(p)] = {JointAxis::X, 0.0f, 90.0f};
        straight.pose[size_t(p)].localMatrix = Matrix4();
        straight.pose[size_t(p)].localMatrix.SetTranslation(straight.pose[size_t(p)].localPosition);
    }
    const Vec3 behind = root + Vec3{0, 1, -2};
    const IkGoalResult result = SolveChain(chain.rig, chain.pose, {chain.end, chain.root, behind});
    EXPECT_LE(result.distance, Length(straight.Pivot(straight.end) - behind));
    for (int p : chain.Turning()) {
        const Hinge hinge = HingeAboutX(chain.pose[size_t(p)].localMatrix);
        EXPECT_LT(hinge.offAxis, 1e-5f);
        EXPECT_GE(hinge.degrees, -1e-3f);
        EXPECT_LE(hinge.degrees, 90.0f + 1e-3f);
    }
}

TEST(TwoJointChain, ALimitTheExactSolutionBreaksIsKept)
{
    // The elbow may only bend one way about X, by 0 ... 150 degrees.
    const Vec3 targets[] = {{1, 4, 6}, {0, 3, 1}, {2, 5, 3}};
    for (const Vec3 target : targets) {
        Arm arm;
        arm.rig.limits[size_t(arm.lower)] = {JointAxis::X, -150.0f, 0.0f};
        const IkGoalResult result = SolveTwoJointChain(arm.rig, arm.pose, arm.Goal(target));
        EXPECT_LT(result.distance, 1e-3f);
        const Hinge elbow = HingeAboutX(arm.pose[size_t(arm.lower)].localMatrix);
        EXPECT_LT(elbow.offAxis, 1e-5f);
        EXPECT_GE(elbow.degrees, -150.0f - 1e-3f);
        EXPECT_LE(elbow.degrees, 1e-3f);
    }
}

TEST(ChainSolvers, AChainThatIsNoneChangesNothing)
{
    Arm arm;
    const LocalPose before = arm.pose;
    // The root is not above the end, or is the end itself.
    for (const ChainGoal& goal : {ChainGoal{arm.hand, arm.side, {0, 0, 0}}, ChainGoal{arm.hand, arm.hand, {0, 0, 0}},
                                  ChainGoal{arm.upper, arm.hand, {0, 0, 0}}, ChainGoal{99, arm.upper, {0, 0, 0}}}) {
        SolveChain(arm.rig, arm.pose, goal);
        EXPECT_TRUE(OnlyTheseTurned(before, arm.pose, {}));
    }
    EXPECT_TRUE(ChainParts(arm.rig, arm.hand, arm.side).empty());
    EXPECT_EQ(ChainParts(arm.rig, arm.finger, arm.base), (std::vector<int>{0, 1, 2, 3, 4}));
}
