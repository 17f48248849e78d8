#include "view/TransformOperations.h"
#include "view/EditTestScene.h"
#include "support/MatrixMatchers.h"
#include "editor/EditorSession.h"
#include "editor/PoseCommands.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// The decomposition works with acos in floats: an angle near 0 comes back
// within about 0.02 degrees.
void ExpectAngles(HeadingPitchBank a, HeadingPitchBank expected)
{
    EXPECT_NEAR(a.h, expected.h, 0.03f);
    EXPECT_NEAR(a.p, expected.p, 0.03f);
    EXPECT_NEAR(a.b, expected.b, 0.03f);
}

// A top-level Part with a child, both away from the origin, and the history restarted.
struct PanelScene {
    PanelScene()
    {
        body = AddModelPart(scene, folder, CubeModel(1), -1, {2, 3, 4});
        arm = AddModelPart(scene, folder, CubeModel(1), body, {1, 0, 0});
        hand = AddModelPart(scene, folder, CubeModel(1), arm, {0, -2, 0});
        session.History().Clear();
    }
    TransformValues& Fields() { return session.TransformPanel().fields; }
    TransformValues Values() const { return TransformValuesOf(scene, session.CurrentPart()); }

    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    int body = -1, arm = -1, hand = -1;
};

TEST(TransformPanel, SetsWithoutACurrentPartMoveNothingAndRecordNoStep)
{
    PanelScene s;
    SelectPart(s.scene, -1);
    const Matrix4 before = s.scene.WorldMatrixOf(s.body);
    s.Fields().relativeRotation = {10, 20, 30};
    s.Fields().absolutePosition = {5, 6, 7};
    OnRelativeRotationSet(s.session);
    OnRelativePositionSet(s.session);
    OnAbsoluteRotationSet(s.session);
    OnAbsolutePositionSet(s.session);
    EXPECT_EQ(s.session.History().StepCount(), 0);
    EXPECT_TRUE(MatricesNear(s.scene.WorldMatrixOf(s.body), before, 0));
    // The absolute handlers refill all twelve fields with 0.
    EXPECT_EQ(s.Fields().relativeRotation.b, 0);
    EXPECT_EQ(s.Fields().absolutePosition.x, 0);
}

TEST(TransformPanel, RelativeRotationTurnsThePartAndTheFieldsShowIt)
{
    PanelScene s;
    SelectPart(s.scene, s.body);
    s.Fields().relativeRotation = {90, 0, 0};
    OnRelativeRotationSet(s.session);
    const Matrix4 world = s.scene.WorldMatrixOf(s.body);
    EXPECT_TRUE(VectorsNear(AxisOf(world, 2), {1, 0, 0}, 1e-6f));
    EXPECT_TRUE(VectorsNear(world.Translation(), {2, 3, 4}, 0));
    ExpectAngles(s.Fields().absoluteRotation, {90, 0, 0});
    EXPECT_EQ(s.session.History().StepCount(), 1);
    // The descendants follow: the hand hangs from the turned arm.
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, s.arm), {2, 3, 3}, 1e-5f));
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, s.hand), {2, 1, 3}, 1e-5f));
}

TEST(TransformPanel, ChildValuesAreInTheParentsRotatedFrame)
{
    PanelScene s;
    SelectPart(s.scene, s.body);
    SetRelativeRotation(s.scene, s.session.CurrentPart(), {0, 0, 90});
    SelectPart(s.scene, s.arm);
    SetRelativePosition(s.scene, s.session.CurrentPart(), {0, 10, 0});
    // Banked 90, the body's Y axis points along world -X.
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, s.arm), {-8, 3, 4}, 1e-5f));
    EXPECT_TRUE(VectorsNear(s.Values().absolutePosition, {-8, 3, 4}, 1e-5f));
    EXPECT_TRUE(VectorsNear(s.Values().relativePosition, {0, 10, 0}, 0));
    ExpectAngles(s.Values().absoluteRotation, {0, 0, 90});
    ExpectAngles(s.Values().relativeRotation, {0, 0, 0});

    SetRelativeRotation(s.scene, s.session.CurrentPart(), {0, 30, 0});
    ExpectAngles(s.Values().relativeRotation, {0, 30, 0});
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, s.arm), {-8, 3, 4}, 1e-5f));

    SetAbsoluteRotation(s.scene, s.session.CurrentPart(), {45, 0, 0});
    ExpectAngles(s.Values().absoluteRotation, {45, 0, 0});
    Matrix4 localRotation = s.scene.Parts()[s.arm]->localMatrix;
    localRotation.SetTranslation({0, 0, 0});
    EXPECT_TRUE(MatricesNear(localRotation * RotationFromAngles({0, 0, 90}), RotationFromAngles({45, 0, 0}), 1e-6f));
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, s.arm), {-8, 3, 4}, 1e-5f));

    SetAbsolutePosition(s.scene, s.session.CurrentPart(), {1, 1, 1});
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, s.arm), {1, 1, 1}, 0));
    // World (1, 1, 1) is (-1, -2, -3) from the body, which is (-2, 1, -3) in its banked frame.
    EXPECT_TRUE(VectorsNear(s.scene.Parts()[s.arm]->localPosition, {-2, 1, -3}, 1e-5f));
    ExpectAngles(s.Values().absoluteRotation, {45, 0, 0});
    // The hand still hangs 2 below the arm along the arm's own Y axis.
    const Matrix4 armWorld = s.scene.WorldMatrixOf(s.arm);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, s.hand), Vec3{1, 1, 1} - AxisOf(armWorld, 1) * 2, 1e-5f));
}

TEST(TransformPanel, LinkedAbsoluteSetsReachThePartnerMirrored)
{
    PanelScene s;
    const int partner = AddModelPart(s.scene, s.folder, CubeModel(1), -1, {-2, 3, 4});
    s.scene.Parts()[partner]->symmetryIndex = s.body;
    s.session.TransformPanel().linkLR = 1;
    SelectPart(s.scene, s.body);

    s.Fields().absolutePosition = {5, 2, 1};
    OnAbsolutePositionSet(s.session);
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, s.body), {5, 2, 1}, 0));
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, partner), {-5, 2, 1}, 0));
    EXPECT_EQ(s.session.CurrentPart(), s.body);

    s.Fields().absoluteRotation = {30, 10, 20};
    OnAbsoluteRotationSet(s.session);
    EXPECT_EQ(s.session.CurrentPart(), s.body);
    ExpectAngles(s.Fields().absoluteRotation, {30, 10, 20});
    ExpectAngles(AnglesFromMatrix(s.scene.WorldMatrixOf(partner)), {-30, 10, -20});
    EXPECT_EQ(s.session.History().StepCount(), 2);
}

TEST(TransformPanel, LinkedRelativeSetsCopyTheMirroredLocalPose)
{
    PanelScene s;
    const int partnerArm = AddModelPart(s.scene, s.folder, CubeModel(1), s.body, {-7, 7, 7});
    s.scene.Parts()[partnerArm]->localMatrix = MatrixRotationX(1.0f);
    s.scene.Parts()[partnerArm]->symmetryIndex = s.arm;
    s.session.TransformPanel().linkLR = 1;
    SelectPart(s.scene, s.arm);

    s.Fields().relativeRotation = {20, -15, 40};
    OnRelativeRotationSet(s.session);
    s.Fields().relativePosition = {3, 4, 5};
    OnRelativePositionSet(s.session);
    ExpectAngles(AnglesFromMatrix(s.scene.Parts()[partnerArm]->localMatrix), {-20, -15, -40});
    EXPECT_TRUE(VectorsNear(s.scene.Parts()[partnerArm]->localPosition, {-3, 4, 5}, 0));
    EXPECT_TRUE(VectorsNear(WorldPosition(s.scene, partnerArm), {-1, 7, 9}, 1e-5f));
    // Without the link the partner keeps its pose.
    s.session.TransformPanel().linkLR = 0;
    s.Fields().relativePosition = {6, 0, 0};
    OnRelativePositionSet(s.session);
    EXPECT_TRUE(VectorsNear(s.scene.Parts()[partnerArm]->localPosition, {-3, 4, 5}, 0));
}

TEST(TransformPanel, RotationsReadAsTypedAndGoOnFromWhatEachPartShowedLast)
{
    PanelScene s;
    // Shown for the first time, a pitch of -110 reads from (0, 0, 0).
    SetRelativeRotation(s.scene, s.arm, {0, -110, 0});
    s.session.SelectPart(s.arm);
    ExpectAngles(s.Fields().relativeRotation, {0, -110, 0});

    // Pitches past 90 typed and set read back as typed, and again when the
    // Part is shown after another (from (0, 0, 0) the second one would read
    // (0, -85, -170)).
    s.session.SelectPart(s.body);
    s.Fields().relativeRotation = {0, 100, 0};
    OnRelativeRotationSet(s.session);
    ExpectAngles(s.Fields().relativeRotation, {0, 100, 0});
    ExpectAngles(s.Fields().absoluteRotation, {0, 100, 0});
    s.Fields().absoluteRotation = {-180, -95, 10};
    OnAbsoluteRotationSet(s.session);
    ExpectAngles(s.Fields().absoluteRotation, {-180, -95, 10});
    const HeadingPitchBank relative = s.Fields().relativeRotation;
    s.session.SelectPart(s.arm);
    s.session.SelectPart(s.body);
    ExpectAngles(s.Fields().absoluteRotation, {-180, -95, 10});
    ExpectAngles(s.Fields().relativeRotation, relative);
}

}  // namespace
