#include "scene/ModelScale.h"

#include "anim/MotionOperations.h"
#include "scene/Scene.h"
#include "support/MatrixMatchers.h"
#include "support/SceneFixtures.h"
#include "view/RotationAngles.h"
#include "editor/EditorSession.h"
#include "editor/OptionCommands.h"
#include "editor/MotionCommands.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace m3d;

namespace {

// A body (cube of half size 1) with an arm, and two Motions with keys.
struct Scaled {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    int body, arm;
    Matrix4 turned = KeyMatrixOf(RotationFromAngles({30, 20, 10}), {1, 0, -3});
    Scaled()
    {
        body = AddCubeUnder(scene, folder, -1, "body.mqo");
        arm = AddCubeUnder(scene, folder, body, "arm.mqo");
        NewMotionCommand(session, "walk");
        SetKeyMatrix(scene, 0, body, 0, KeyMatrixOf(Matrix4::Identity(), {10, 0, 0}));
        SetKeyMatrix(scene, 0, arm, 10, turned);
        NewMotionCommand(session, "run");
        SetKeyMatrix(scene, 1, arm, 0, KeyMatrixOf(Matrix4::Identity(), {0, 4, 0}));
        session.SelectMotion(0);
    }
    const Matrix4& KeyAt(int motion, int part, int frame)
    {
        const MotionTrack& track = scene.motions[motion].tracks[part];
        return track.keys[track.FindKey(frame)].matrix;
    }
    float VertexX(int part) { return scene.parts[part]->mesh->GetVertex(0)->x; }
};

}  // namespace

TEST(ScaleModel, ScalesKeyTranslationsOfEveryMotionOnlyAndHalvingRestoresThem)
{
    Scaled s;
    ASSERT_TRUE(ScaleModel(s.scene, 2.0f));
    Matrix4 expected = s.turned;
    expected.SetTranslation({2, 0, -6});
    EXPECT_EQ(s.KeyAt(0, s.arm, 10), expected);
    EXPECT_TRUE(VectorsNear(s.KeyAt(1, s.arm, 0).Translation(), {0, 8, 0}, 0));
    EXPECT_EQ(s.scene.motions[0].tracks[s.arm].keys.size(), 2u);
    ASSERT_TRUE(ScaleModel(s.scene, 0.5f));
    EXPECT_TRUE(MatricesNear(s.KeyAt(0, s.arm, 10), s.turned, 1e-6f));
    EXPECT_TRUE(VectorsNear(s.KeyAt(1, s.arm, 0).Translation(), {0, 4, 0}, 1e-6f));
}

TEST(ScaleModel, GeometryAccumulatesAndThePoseComesFromFrameZeroOfTheCurrentMotion)
{
    Scaled s;
    const float before = s.VertexX(s.body);
    ASSERT_NE(before, 0.0f);
    s.session.SetCurrentFrame(10);
    ASSERT_TRUE(ScaleCommand(s.session, 3.0f));
    ASSERT_TRUE(ScaleCommand(s.session, 2.0f));
    EXPECT_FLOAT_EQ(s.VertexX(s.body), before * 6.0f);
    EXPECT_FLOAT_EQ(s.VertexX(s.arm), before * 6.0f);
    EXPECT_TRUE(VectorsNear(s.scene.parts[s.body]->localPosition, {60, 0, 0}, 1e-4f));
    EXPECT_TRUE(VectorsNear(s.scene.parts[s.arm]->localPosition, {0, 0, 0}, 0));
    // The views look at the centre of the model: the body and the arm at x = 60.
    EXPECT_TRUE(VectorsNear(s.session.Views().views[0].target, {60, 0, 0}, 1e-3f));

    s.session.SelectMotion(-1);
    s.scene.parts[s.body]->localPosition = {1, 2, 3};
    ASSERT_TRUE(ScaleModel(s.scene, 4.0f));
    EXPECT_TRUE(VectorsNear(s.scene.parts[s.body]->localPosition, {1, 2, 3}, 0));
}

TEST(ScaleModel, RefusedFactorsChangeNothingAndCancellingOnlyFitsTheViews)
{
    Scaled s;
    const float before = s.VertexX(s.body);
    for (float factor : {0.0f, -1.0f, 0.00009f, 10000.5f, std::nanf(""), INFINITY}) {
        EXPECT_FALSE(ScaleModel(s.scene, factor)) << factor;
        EXPECT_EQ(CloseScaleDialog(s.session, true, factor), ScaleDialogOutcome::Refused);
    }
    EXPECT_EQ(s.VertexX(s.body), before);
    s.session.Views().views[0].target = {-50, -50, -50};
    EXPECT_EQ(CloseScaleDialog(s.session, false, 2.0f), ScaleDialogOutcome::Kept);
    EXPECT_TRUE(VectorsNear(s.KeyAt(0, s.body, 0).Translation(), {10, 0, 0}, 0));
    EXPECT_FALSE(VectorsNear(s.session.Views().views[0].target, {-50, -50, -50}, 1.0f));
    EXPECT_EQ(CloseScaleDialog(s.session, true, kMinModelScale), ScaleDialogOutcome::Applied);
    EXPECT_EQ(CloseScaleDialog(s.session, true, kMaxModelScale), ScaleDialogOutcome::Applied);
    EXPECT_TRUE(VectorsNear(s.KeyAt(0, s.body, 0).Translation(), {10, 0, 0}, 1e-3f));
}
