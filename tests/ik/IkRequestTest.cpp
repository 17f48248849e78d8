#include "ik/IkRequest.h"
#include "ik/PinHold.h"
#include "scene/PoseComposition.h"
#include "support/IkRigs.h"
#include "support/MatrixMatchers.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// hips(0) with two legs as partners, mirrored in X: thigh, shin and foot
// (the knees bent toward +Z), a toe under each foot; and a tail(7) under the
// hips that belongs to no chain.
struct Legs : TestRig {
    int hips = Add(-1, {0, 4, 0}, MatrixRotationY(0.2f));
    int thighL = Add(hips, {0.5f, 0, 0}, MatrixRotationX(-0.4f));
    int shinL = Add(thighL, {0, -2, 0}, MatrixRotationX(0.8f));
    int footL = Add(shinL, {0, -2, 0}, MatrixRotationX(-0.4f));
    int thighR = Add(hips, {-0.5f, 0, 0}, MatrixRotationX(-0.4f));
    int shinR = Add(thighR, {0, -2, 0}, MatrixRotationX(0.8f));
    int footR = Add(shinR, {0, -2, 0}, MatrixRotationX(-0.4f));
    int tail = Add(hips, {0, 0, -0.5f}, MatrixRotationX(1.0f));
    int toeL = Add(footL, {0, 0, 0.5f});

    Legs()
    {
        Partners(thighL, thighR);
        Partners(shinL, shinR);
        Partners(footL, footR);
    }
};

}  // namespace

TEST(SolveIk, PinnedFeetStayWhileTheHipsMoveOrTurn)
{
    const Legs start;
    const Vec3 feet[] = {start.Pivot(start.footL), start.Pivot(start.footR)};
    for (const bool turn : {false, true}) {
        SCOPED_TRACE(turn ? "turned" : "moved");
        Legs legs;
        IkRequest request;
        request.pins = {legs.footR, legs.footL, legs.footL};
        std::vector<IkReport> reports;
        if (turn) {
            // A change made elsewhere (a drag of the rotation), then the pins held.
            const LocalPose before = legs.pose;
            Matrix4& hips = legs.pose[size_t(legs.hips)].localMatrix;
            hips = MatrixRotationZ(0.3f) * MatrixRotationY(0.2f);
            hips.SetTranslation({0, 4, 0});
            for (const IkGoalResult& pin : HoldPins(legs.rig, before, legs.pose, request.pins))
                reports.push_back({IkGoalKind::Pin, pin});
        } else {
            request.move = PivotMove{legs.hips, {0.3f, 3.2f, 0.4f}};
            reports = SolveIk(legs.rig, legs.pose, request);
            ASSERT_EQ(reports.front().kind, IkGoalKind::Move);
            EXPECT_TRUE(VectorsNear(legs.Pivot(legs.hips), {0.3f, 3.2f, 0.4f}, 1e-5f));
            reports.erase(reports.begin());
        }
        // One result per pinned Part, in Part order.
        ASSERT_EQ(reports.size(), 2u);
        EXPECT_EQ(reports[0].result.part, legs.footL);
        EXPECT_EQ(reports[1].result.part, legs.footR);
        for (const IkReport& report : reports) EXPECT_LT(report.result.distance, 1e-3f);
        EXPECT_TRUE(VectorsNear(legs.Pivot(legs.footL), feet[0], 1e-3f));
        EXPECT_TRUE(VectorsNear(legs.Pivot(legs.footR), feet[1], 1e-3f));
        // Besides the hips, only the legs' upper Parts turned; the feet, toe and tail kept their local poses.
        LocalPose withoutHips = legs.pose;
        withoutHips[size_t(legs.hips)] = start.pose[size_t(legs.hips)];
        EXPECT_TRUE(OnlyTheseTurned(start.pose, withoutHips, {legs.thighL, legs.shinL, legs.thighR, legs.shinR}));
    }
}

TEST(SolveIk, ThePartnerChainReachesTheMirroredTarget)
{
    const Legs start;
    Legs legs;
    IkRequest request;
    const Vec3 target{1.2f, 1.0f, 1.5f};
    request.chain = ChainGoal{legs.footL, legs.thighL, target};
    request.mirrorPartners = true;
    const std::vector<IkReport> reports = SolveIk(legs.rig, legs.pose, request);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1].kind, IkGoalKind::PartnerTarget);
    EXPECT_EQ(reports[1].result.part, legs.footR);
    EXPECT_TRUE(VectorsNear(reports[1].result.target, MirrorPosition(target), 0));
    EXPECT_TRUE(VectorsNear(legs.Pivot(legs.footL), target, 1e-3f));
    EXPECT_TRUE(VectorsNear(legs.Pivot(legs.footR), MirrorPosition(target), 1e-3f));
    EXPECT_TRUE(OnlyTheseTurned(start.pose, legs.pose, {legs.thighL, legs.shinL, legs.thighR, legs.shinR}));

    // Without partners on, or for a chain of Parts without partners, only the one chain.
    EXPECT_FALSE(PartnerChainGoal(legs.rig, {legs.toeL, legs.hips, target}));
    Legs alone;
    request.mirrorPartners = false;
    EXPECT_EQ(SolveIk(alone.rig, alone.pose, request).size(), 1u);
    EXPECT_TRUE(OnlyTheseTurned(start.pose, alone.pose, {legs.thighL, legs.shinL}));
}
