#include "view/PoseOperations.h"

#include "scene/Scene.h"
#include "support/MatrixMatchers.h"
#include "support/SceneFixtures.h"
#include "view/RotationAngles.h"
#include "editor/EditorSession.h"
#include "editor/PoseCommands.h"
#include "editor/MotionCommands.h"
#include "editor/OptionCommands.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace m3d;

namespace {

Matrix4 Angles(float h, float p, float b) { return RotationFromAngles({h, p, b}); }

Matrix4 WithoutTranslation(Matrix4 m)
{
    m.SetTranslation({0, 0, 0});
    return m;
}

// m with _12, _13, _21 and _31 negated, translation row dropped.
Matrix4 Reflected(const Matrix4& m)
{
    Matrix4 r = WithoutTranslation(m);
    for (auto [row, column] : {std::pair{0, 1}, {0, 2}, {1, 0}, {2, 0}}) r.m[row][column] = -m.m[row][column];
    return r;
}

// A turned body with a left and a right arm that name each other as
// partners, and a head without a partner (index 99 counts as none).
struct Figure {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    int body, armL, armR, head;
    Figure()
    {
        body = AddCubeUnder(scene, folder, -1, "body.mqo");
        armL = AddCubeUnder(scene, folder, body, "armL.mqo");
        armR = AddCubeUnder(scene, folder, body, "armR.mqo");
        head = AddCubeUnder(scene, folder, body, "head.mqo");
        scene.parts[armL]->symmetryIndex = armR;
        scene.parts[armR]->symmetryIndex = armL;
        scene.parts[head]->symmetryIndex = 99;
        Pose(body, Angles(20, 0, 0), {0, 5, 0});
        Pose(armL, Angles(10, 35, -60), {-3, 2, 0});
        Pose(armR, Angles(-40, 5, 25), {3, 2, 0});
        Pose(head, Angles(15, -10, 5), {0, 4, 0});
        scene.UpdateHierarchy(0);
    }
    void Pose(int i, const Matrix4& rotation, Vec3 position)
    {
        scene.parts[i]->localMatrix = rotation;
        scene.parts[i]->localPosition = position;
    }
    Matrix4 Local(int i) const { return scene.parts[i]->localMatrix; }
};

}  // namespace

TEST(MirrorPose, PartnersSwapReflectedRotationsAndEveryPartStaysInPlace)
{
    Figure f;
    const Matrix4 left = f.Local(f.armL), right = f.Local(f.armR), head = f.Local(f.head), body = f.Local(f.body);
    MirrorPose(f.scene);
    EXPECT_TRUE(MatricesNear(WithoutTranslation(f.Local(f.armL)), Reflected(right), 0));
    EXPECT_TRUE(MatricesNear(WithoutTranslation(f.Local(f.armR)), Reflected(left), 0));
    EXPECT_TRUE(MatricesNear(f.Local(f.head), Reflected(head), 0));
    EXPECT_TRUE(MatricesNear(f.Local(f.body), Reflected(body), 0));
    // A paired child carries its own position in the translation row.
    EXPECT_TRUE(VectorsNear(f.Local(f.armL).Translation(), {-3, 2, 0}, 0));
    EXPECT_TRUE(VectorsNear(f.scene.parts[f.armR]->localPosition, {3, 2, 0}, 0));
    // Every mesh gets its local rotation under the (mirrored) body, at its own place.
    const Matrix4 bodyWorld = f.scene.parts[f.body]->mesh->GetMatrix();
    for (int i : {f.armL, f.armR, f.head}) {
        Matrix4 expected = f.Local(i) * bodyWorld;
        expected.SetTranslation(TransformPoint(f.scene.parts[i]->localPosition, bodyWorld));
        EXPECT_TRUE(MatricesNear(f.scene.parts[i]->mesh->GetMatrix(), expected, 1e-5f)) << "part " << i;
    }
}

TEST(MirrorPose, TwiceRestoresEveryRotation)
{
    Figure f;
    std::vector<Matrix4> before;
    for (const auto& part : f.scene.parts) before.push_back(WithoutTranslation(part->localMatrix));
    MirrorPose(f.scene);
    MirrorPose(f.scene);
    for (int i = 0; i < f.scene.PartCount(); ++i)
        EXPECT_TRUE(MatricesNear(WithoutTranslation(f.Local(i)), before[i], 0)) << "part " << i;
}

TEST(DropToGround, RaisesEveryTopLevelPartByTheDepthOfTheLowestVertexInTheWorld)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    const int body = AddCubeUnder(scene, folder, -1, "body.mqo");
    const int leg = AddCubeUnder(scene, folder, body, "leg.mqo");  // cubes of half size 1
    const int other = AddCubeUnder(scene, folder, -1, "other.mqo");
    scene.parts[body]->localPosition = {0, 1, 0};
    scene.parts[leg]->localPosition = {0, -12.5f, 0};  // lowest vertex at 1 - 12.5 - 1 = -12.5
    scene.parts[other]->localPosition = {4, 3, 2};
    scene.UpdateHierarchy(0);
    EXPECT_TRUE(DropToGround(scene));
    EXPECT_FLOAT_EQ(scene.parts[body]->localPosition.y, 13.5f);
    EXPECT_TRUE(VectorsNear(scene.parts[other]->localPosition, {4, 15.5f, 2}, 0));
    EXPECT_FLOAT_EQ(scene.parts[leg]->localPosition.y, -12.5f);
    float lowest = 1;
    ASSERT_TRUE(LowestModelY(scene, lowest));
    EXPECT_NEAR(lowest, 0.0f, 1e-5f);

    // Banked by 45 degrees the leg reaches sqrt(2) below its centre.
    scene.parts[leg]->localMatrix = Angles(0, 0, 45);
    scene.UpdateHierarchy(0);
    DropToGround(scene);
    EXPECT_NEAR(scene.parts[body]->localPosition.y, 12.5f + std::sqrt(2.0f), 1e-4f);
}

TEST(DropToGround, AModelWithoutVerticesStaysWhereItIs)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    float lowest = 3;
    EXPECT_FALSE(DropToGround(scene));
    scene.AddPartFromFile(folder.File("missing.mqo"));  // a Part with an empty mesh
    scene.parts[0]->localPosition = {1, 2, 3};
    EXPECT_FALSE(DropToGround(scene));
    EXPECT_FALSE(LowestModelY(scene, lowest));
    EXPECT_EQ(lowest, 3);
    EXPECT_TRUE(VectorsNear(scene.parts[0]->localPosition, {1, 2, 3}, 0));
}

TEST(PoseCommands, MirrorAndDropEachRecordOneUndoStepAndDropFitsTheViews)
{
    Figure f;
    f.session.History().Clear();
    MirrorPoseCommand(f.session);
    EXPECT_EQ(f.session.History().StepCount(), 1);
    f.session.Views().views[0].target = {-100, -100, -100};
    DropToGroundCommand(f.session);
    EXPECT_EQ(f.session.History().StepCount(), 2);
    EXPECT_FALSE(VectorsNear(f.session.Views().views[0].target, {-100, -100, -100}, 1.0f));
    f.session.History().Undo();
    EXPECT_FLOAT_EQ(f.scene.parts[f.body]->localPosition.y, 5.0f);

    EditorSession empty;
    empty.History().Clear();
    DropToGroundCommand(empty);
    EXPECT_EQ(empty.History().StepCount(), 0);  // nothing moved
}

TEST(LevelCurrentPart, KeepsTheWorldHeadingDropsPitchAndBankAndRecordsOneUndoStep)
{
    Figure f;
    f.session.History().Clear();
    SelectPart(f.scene, f.armL);
    // H 30, P 20, B 10 in the world, under the turned body.
    Matrix4 bodyInverse;
    ASSERT_TRUE(MatrixInverse(WithoutTranslation(f.scene.WorldMatrixOf(f.body)), bodyInverse));
    f.scene.parts[f.armL]->localMatrix = Angles(30, 20, 10) * bodyInverse;
    f.scene.UpdateHierarchy(0);
    const Vec3 position = f.scene.WorldMatrixOf(f.armL).Translation();
    const Matrix4 rightBefore = f.Local(f.armR);
    LevelCurrentPart(f.session);
    const HeadingPitchBank angles = AnglesFromMatrix(f.scene.WorldMatrixOf(f.armL));
    EXPECT_NEAR(angles.h, 30.0f, 1e-3f);
    EXPECT_NEAR(angles.p, 0.0f, 1e-3f);
    EXPECT_NEAR(angles.b, 0.0f, 1e-3f);
    EXPECT_TRUE(VectorsNear(f.scene.WorldMatrixOf(f.armL).Translation(), position, 1e-5f));
    EXPECT_EQ(f.Local(f.armR), rightBefore);  // "左右連動" is off
    EXPECT_EQ(f.session.History().StepCount(), 1);

    f.session.TransformPanel().linkLR = 1;
    f.scene.parts[f.armL]->localMatrix = Angles(-70, 15, 40);
    f.scene.UpdateHierarchy(0);
    LevelCurrentPart(f.session);
    EXPECT_TRUE(MatricesNear(WithoutTranslation(f.Local(f.armR)), Reflected(f.Local(f.armL)), 1e-6f));
    EXPECT_TRUE(VectorsNear(f.scene.parts[f.armR]->localPosition, {3, 2, 0}, 0));

    SelectPart(f.scene, -1);
    const Matrix4 head = f.Local(f.head);
    LevelCurrentPart(f.session);
    EXPECT_EQ(f.Local(f.head), head);
    EXPECT_EQ(f.session.History().StepCount(), 2);  // nothing moved the third time
}

TEST(GridWidthDialog, StoresWidthsFromOneToTenThousandAndShowsThemInTheTitle)
{
    EditorSession session;
    EXPECT_EQ(CloseGridWidthDialog(session, true, 1), GridWidthOutcome::Stored);
    EXPECT_EQ(session.Views().gridWidth, 1);
    EXPECT_EQ(CloseGridWidthDialog(session, true, 10000), GridWidthOutcome::Stored);
    {
        RecordingObserver observer(session);
        for (int refused : {0, 10001, -5}) EXPECT_EQ(CloseGridWidthDialog(session, true, refused), GridWidthOutcome::Refused);
        EXPECT_TRUE(observer.events.empty());
    }
    EXPECT_EQ(CloseGridWidthDialog(session, false, 250), GridWidthOutcome::Kept);
    EXPECT_EQ(session.Views().gridWidth, 10000);
    EXPECT_NE(session.TitleText().find("グリッドの幅:10000"), std::string::npos) << session.TitleText();
}
