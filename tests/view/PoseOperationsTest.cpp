#include "view/PoseOperations.h"

#include "scene/Scene.h"
#include "support/MatrixMatchers.h"
#include "support/SceneFixtures.h"
#include "view/RotationAngles.h"

#include <gtest/gtest.h>

namespace {

Matrix4 Angles(float h, float p, float b) { return RotationFromAngles({h, p, b}); }

// A body with a left and a right arm that name each other as partners, and a
// head without a partner.
struct Figure {
    TempFolder folder;
    Scene scene;
    int body, armL, armR, head;
    Figure()
    {
        body = AddCubeUnder(scene, folder, -1, "body.mqo");
        armL = AddCubeUnder(scene, folder, body, "armL.mqo");
        armR = AddCubeUnder(scene, folder, body, "armR.mqo");
        head = AddCubeUnder(scene, folder, body, "head.mqo");
        scene.parts[armL]->symmetryIndex = armR;
        scene.parts[armR]->symmetryIndex = armL;
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

// m with _12, _13, _21 and _31 negated, written out element by element.
Matrix4 Reflected(const Matrix4& m)
{
    Matrix4 r = m;
    r.m[0][1] = -m.m[0][1];
    r.m[0][2] = -m.m[0][2];
    r.m[1][0] = -m.m[1][0];
    r.m[2][0] = -m.m[2][0];
    return r;
}

Matrix4 WithoutTranslation(Matrix4 m)
{
    m.SetTranslation({0, 0, 0});
    return m;
}

}  // namespace

TEST(MirrorPose, PartnersSwapReflectedRotationsAndKeepTheirPositions)
{
    Figure f;
    const Matrix4 left = f.Local(f.armL), right = f.Local(f.armR), head = f.Local(f.head), body = f.Local(f.body);
    const Vec3 leftWorld = f.scene.WorldMatrixOf(f.armL).Translation();
    const Vec3 rightWorld = f.scene.WorldMatrixOf(f.armR).Translation();
    MirrorPose(f.scene);
    EXPECT_TRUE(MatricesNear(WithoutTranslation(f.Local(f.armL)), Reflected(right), 0));
    EXPECT_TRUE(MatricesNear(WithoutTranslation(f.Local(f.armR)), Reflected(left), 0));
    EXPECT_TRUE(MatricesNear(f.Local(f.head), Reflected(head), 0));
    EXPECT_TRUE(MatricesNear(f.Local(f.body), Reflected(body), 0));
    EXPECT_TRUE(VectorsNear(f.scene.parts[f.armL]->localPosition, {-3, 2, 0}, 0));
    EXPECT_TRUE(VectorsNear(f.scene.parts[f.armR]->localPosition, {3, 2, 0}, 0));
    // The body turned, so the arms' world positions move with it, but each
    // arm stays at its own shoulder: the world position follows the parent.
    const Matrix4 bodyWorld = f.scene.WorldMatrixOf(f.body);
    EXPECT_TRUE(VectorsNear(f.scene.WorldMatrixOf(f.armL).Translation(), TransformPoint({-3, 2, 0}, bodyWorld), 1e-5f));
    EXPECT_TRUE(VectorsNear(f.scene.WorldMatrixOf(f.armR).Translation(), TransformPoint({3, 2, 0}, bodyWorld), 1e-5f));
    EXPECT_FALSE(VectorsNear(leftWorld, rightWorld, 1.0f));
}

TEST(MirrorPose, MeshesReceiveTheComposedWorldAndAPairedChildKeepsItsPositionInTheTranslationRow)
{
    Figure f;
    MirrorPose(f.scene);
    for (int i : {f.armL, f.armR, f.head}) {
        const Matrix4 bodyWorld = f.scene.parts[f.body]->mesh->GetMatrix();
        Matrix4 expected = f.Local(i) * bodyWorld;
        expected.SetTranslation(TransformPoint(f.scene.parts[i]->localPosition, bodyWorld));
        EXPECT_TRUE(MatricesNear(f.scene.parts[i]->mesh->GetMatrix(), expected, 1e-5f)) << "part " << i;
    }
    EXPECT_TRUE(VectorsNear(f.Local(f.armL).Translation(), {-3, 2, 0}, 0));
    EXPECT_TRUE(VectorsNear(f.Local(f.armR).Translation(), {3, 2, 0}, 0));
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

TEST(MirrorPose, APartnerIndexOutsideThePartsCountsAsNone)
{
    Figure f;
    f.scene.parts[f.head]->symmetryIndex = 99;
    const Matrix4 head = f.Local(f.head);
    MirrorPose(f.scene);
    EXPECT_TRUE(MatricesNear(f.Local(f.head), Reflected(head), 0));
}

TEST(DropToGround, RaisesEveryTopLevelPartByTheDepthOfTheLowestVertex)
{
    TempFolder folder;
    Scene scene;
    const int body = AddCubeUnder(scene, folder, -1, "body.mqo");
    const int leg = AddCubeUnder(scene, folder, body, "leg.mqo");  // cube of half size 1
    const int other = AddCubeUnder(scene, folder, -1, "other.mqo");
    scene.parts[body]->localPosition = {0, 1, 0};
    scene.parts[leg]->localPosition = {0, -12.5f, 0};  // lowest vertex at 1 - 12.5 - 1 = -12.5
    scene.parts[other]->localPosition = {4, 3, 2};
    scene.UpdateHierarchy(0);
    float lowest = 0;
    ASSERT_TRUE(LowestModelY(scene, lowest));
    EXPECT_FLOAT_EQ(lowest, -12.5f);

    EXPECT_TRUE(DropToGround(scene));
    EXPECT_FLOAT_EQ(scene.parts[body]->localPosition.y, 13.5f);
    EXPECT_FLOAT_EQ(scene.parts[other]->localPosition.y, 15.5f);
    EXPECT_FLOAT_EQ(scene.parts[other]->localPosition.x, 4.0f);
    EXPECT_FLOAT_EQ(scene.parts[leg]->localPosition.y, -12.5f);
    ASSERT_TRUE(LowestModelY(scene, lowest));
    EXPECT_NEAR(lowest, 0.0f, 1e-5f);
}

TEST(DropToGround, TheLowestVertexCountsInItsRotatedWorldPosition)
{
    TempFolder folder;
    Scene scene;
    const int cube = AddCubeUnder(scene, folder, -1, "cube.mqo");
    // Banked by 45 degrees a cube of half size 1 reaches sqrt(2) below its centre.
    scene.parts[cube]->localMatrix = RotationFromAngles({0, 0, 45});
    scene.parts[cube]->localPosition = {7, 10, 0};
    scene.UpdateHierarchy(0);
    DropToGround(scene);
    EXPECT_NEAR(scene.parts[cube]->localPosition.y, std::sqrt(2.0f), 1e-5f);
}

TEST(DropToGround, AModelWithoutVerticesStaysWhereItIs)
{
    TempFolder folder;
    Scene scene;
    float lowest = 3;
    EXPECT_FALSE(LowestModelY(scene, lowest));
    EXPECT_FALSE(DropToGround(scene));
    // An unreadable object file still gives a Part, with an empty mesh.
    scene.AddPartFromFile(folder.File("missing.mqo"));
    scene.parts[0]->localPosition = {1, 2, 3};
    EXPECT_FALSE(DropToGround(scene));
    EXPECT_FALSE(LowestModelY(scene, lowest));
    EXPECT_EQ(lowest, 3);
    EXPECT_TRUE(VectorsNear(scene.parts[0]->localPosition, {1, 2, 3}, 0));
}
