#include "anim/PartPivot.h"

#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "editor/MotionCommands.h"
#include "editor/PartShapeCommands.h"
#include "support/SceneFixtures.h"
#include "view/RotationAngles.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// arm (0) > hand (1), and a loose box (2). "swing" turns the arm about
// three axes with every kind of interpolation while the hand slides;
// "still" has frame-0 keys only.
struct Swinging {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    Swinging()
    {
        AddCubeUnder(session, folder, -1, "arm.mqo");
        AddCubeUnder(session, folder, 0, "hand.mqo");
        AddCubeUnder(session, folder, -1, "box.mqo");
        scene.Parts()[1]->localPosition = {0, -3, 0};
        NewMotionCommand(session, "still");
        NewMotionCommand(session, "swing");
        const auto key = [&](int part, int frame, HeadingPitchBank angles, Vec3 at, KeyInterpolation timing) {
            SetKeyMatrix(scene, 1, part, frame, KeyMatrixOf(RotationFromAngles(angles), at), timing);
            SetKeyInterpolation(scene, 1, part, frame, timing);
        };
        key(0, 0, {0, 0, 0}, {1, 2, 3}, KeyInterpolation::Smooth());
        key(0, 10, {90, 20, 0}, {1, 4, 3}, KeyInterpolation::EaseInOut());
        key(0, 25, {170, -30, 45}, {0, 4, 0}, KeyInterpolation::Linear());
        key(0, 40, {170, -30, 45}, {2, 4, 0}, KeyInterpolation::Step());
        key(0, 50, {-60, 10, 0}, {2, 0, 0}, KeyInterpolation::Linear());
        key(1, 20, {0, 0, 30}, {0, -3, 1}, KeyInterpolation::Smooth());
    }
    // Every vertex of every Part in the world, at every frame of every Motion.
    std::vector<Vec3> WorldVertices()
    {
        std::vector<Vec3> out;
        for (const Motion& motion : scene.Motions())
            for (int frame = 0; frame <= motion.length; ++frame) {
                const std::vector<Matrix4> worlds = WorldPoseAt(scene, motion, frame);
                for (int part = 0; part < scene.PartCount(); ++part)
                    for (const Vec3& v : scene.Parts()[part]->mesh->GetVertexPositions())
                        out.push_back(TransformPoint(v, worlds[size_t(part)]));
            }
        return out;
    }
};

void ExpectNear(const std::vector<Vec3>& a, const std::vector<Vec3>& b, float tolerance)
{
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        ASSERT_NEAR(a[i].x, b[i].x, tolerance) << i;
        ASSERT_NEAR(a[i].y, b[i].y, tolerance) << i;
        ASSERT_NEAR(a[i].z, b[i].z, tolerance) << i;
    }
}

}  // namespace

TEST(PartPivot, EveryVertexStaysWhereItStoodAtEveryFrameOfEveryMotion)
{
    Swinging s;
    const std::vector<Vec3> before = s.WorldVertices();
    const Matrix4 handWorld = s.scene.WorldMatrixOf(1);
    ASSERT_TRUE(MovePartPivot(s.scene, 0, {0.5f, -1.0f, 0.25f}));
    ExpectNear(s.WorldVertices(), before, 1e-4f);
    // The pose shown keeps its place too, the hand's included.
    const Matrix4 handAfter = s.scene.WorldMatrixOf(1);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_NEAR(handAfter.m[r][c], handWorld.m[r][c], 1e-5f);
    // The turning arm needed keys between its own; the still Motion none.
    EXPECT_GT(s.scene.Motions()[1].tracks[0].keys.size(), 5u);
    EXPECT_EQ(s.scene.Motions()[0].tracks[0].keys.size(), 1u);
    // The pivot named by place: the bottom of the box, now off the origin.
    const std::optional<Vec3> bottom = PivotPoint(s.scene, 0, PivotPlace::BoxBottomCentre);
    ASSERT_TRUE(bottom.has_value());
    EXPECT_NEAR(bottom->x, -0.5f, 1e-6f);
    EXPECT_NEAR(bottom->y, 0.0f, 1e-6f);
    EXPECT_NEAR(bottom->z, -0.25f, 1e-6f);
    EXPECT_FALSE(MovePartPivot(s.scene, 3, {1, 0, 0}));
    // A pivot so far away that single precision cannot hold the arm about it is refused, changing nothing.
    const std::vector<Vec3> arm = s.scene.Parts()[0]->mesh->GetVertexPositions();
    EXPECT_TRUE(PivotKeepsShape(s.scene, 0, {1000, 0, 0}));
    EXPECT_FALSE(MovePartPivot(s.scene, 0, {1e9f, 0, 0}));
    EXPECT_EQ(s.scene.Parts()[0]->mesh->GetVertexPositions(), arm);
}

TEST(PartPivot, AMoveAndAResizeAreOneUndoStepEachTakenBackBitForBit)
{
    Swinging s;
    EvaluatePose(s.scene, 1, 0);  // the arm stands at (1, 2, 3)
    s.session.SelectPart(0);
    s.session.History().Clear();
    const std::vector<Vec3> vertices = s.scene.Parts()[0]->mesh->GetVertexPositions();
    const std::vector<Motion> motions = s.scene.Motions();
    const Vec3 handPosition = s.scene.Parts()[1]->localPosition;

    ASSERT_TRUE(MovePivotCommand(s.session, *PivotPoint(s.scene, 0, PivotPlace::WorldOrigin)));
    // The world origin is now the arm's pivot: its world position is 0.
    const Vec3 pivot = s.scene.WorldMatrixOf(0).Translation();
    EXPECT_NEAR(pivot.x, 0.0f, 1e-5f);
    EXPECT_NEAR(pivot.y, 0.0f, 1e-5f);
    const std::vector<Vec3> moved = s.scene.Parts()[0]->mesh->GetVertexPositions();
    const Vec3 handMoved = s.scene.Parts()[1]->localPosition;
    ASSERT_TRUE(ResizePartCommand(s.session, 2.0f));
    // Resized about the pivot; the hand stays.
    const std::vector<Vec3> resized = s.scene.Parts()[0]->mesh->GetVertexPositions();
    for (size_t v = 0; v < moved.size(); ++v) EXPECT_EQ(resized[v], moved[v] * 2.0f);
    EXPECT_EQ(s.scene.Parts()[1]->localPosition, handMoved);
    EXPECT_EQ(s.session.History().Position(), 2);
    EXPECT_FALSE(ResizePartCommand(s.session, 0.0f));
    s.session.History().Undo();
    s.session.History().Undo();
    EXPECT_EQ(s.scene.Parts()[0]->mesh->GetVertexPositions(), vertices);
    EXPECT_EQ(s.scene.Parts()[1]->localPosition, handPosition);
    for (size_t m = 0; m < motions.size(); ++m)
        for (size_t t = 0; t < motions[m].tracks.size(); ++t) {
            const auto& a = motions[m].tracks[t].keys;
            const auto& b = s.scene.Motions()[m].tracks[t].keys;
            ASSERT_EQ(a.size(), b.size()) << m << " " << t;
            for (size_t k = 0; k < a.size(); ++k) EXPECT_EQ(a[k].matrix, b[k].matrix);
        }
}
