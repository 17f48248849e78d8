#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "scene/Scene.h"
#include "support/MatrixMatchers.h"
#include "support/SceneFixtures.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// Two top-level Parts and a child of the first.
struct ThreeParts {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    ThreeParts()
    {
        AddCubeUnder(scene, folder, -1, "body.mqo");
        AddCubeUnder(scene, folder, 0, "arm.mqo");
        AddCubeUnder(scene, folder, -1, "other.mqo");
    }
};

std::vector<int> FramesOf(const MotionTrack& track)
{
    std::vector<int> frames;
    for (const KeyFrame& key : track.keys) frames.push_back(key.frame);
    return frames;
}

}  // namespace

TEST(MotionOperations, ANewMotionStartsFromTheCurrentOnesFrameZeroOrThePoseWithoutOne)
{
    ThreeParts f;
    f.scene.Parts()[1]->localMatrix = MatrixRotationX(0.25f);
    f.scene.Parts()[1]->localPosition = {0, 3, 0};
    f.session.SetCurrentFrame(17);
    NewMotionCommand(f.session, "walk");
    EXPECT_EQ(f.session.CurrentFrame(), 17);
    EXPECT_EQ(f.scene.Motions()[0].tracks[1].keys[0].matrix, KeyMatrixOf(MatrixRotationX(0.25f), {0, 3, 0}));
    // Posed otherwise on screen, the next Motion still starts as the first does.
    f.scene.Parts()[1]->localPosition = {5, 5, 5};
    NewMotionCommand(f.session, "run");
    EXPECT_EQ(f.session.CurrentMotion(), 1);
    EXPECT_EQ(f.session.CurrentFrame(), 0);
    const Motion& run = f.scene.Motions()[1];
    EXPECT_EQ(run.name, "run");
    EXPECT_EQ(run.length, DEFAULT_MOTION_LENGTH);
    ASSERT_EQ(run.tracks.size(), 3u);
    for (const MotionTrack& track : run.tracks) EXPECT_EQ(FramesOf(track), std::vector<int>{0});
    EXPECT_EQ(run.tracks[1].keys[0].matrix, KeyMatrixOf(MatrixRotationX(0.25f), {0, 3, 0}));
    EXPECT_EQ(f.scene.Parts()[1]->localPosition, (Vec3{0, 3, 0}));
}

TEST(MotionOperations, DuplicateIsADeepCopyAndResetsTheFrame)
{
    ThreeParts f;
    NewMotionCommand(f.session, "walk");
    SetMotionLength(f.scene, 0, 90);
    SetKeyMatrix(f.scene, 0, 2, 45, MatrixRotationZ(1.0f));
    f.session.SetCurrentFrame(30);
    ASSERT_TRUE(DuplicateMotionCommand(f.session, "walk2"));
    EXPECT_EQ(f.session.CurrentMotion(), 1);
    EXPECT_EQ(f.session.CurrentFrame(), 0);
    EXPECT_EQ(f.scene.Motions()[1].length, 90);
    EXPECT_EQ(FramesOf(f.scene.Motions()[1].tracks[2]), (std::vector<int>{0, 45}));
    SetKeyMatrix(f.scene, 1, 2, 45, Matrix4::Identity());
    EXPECT_EQ(f.scene.Motions()[0].tracks[2].keys[1].matrix, MatrixRotationZ(1.0f));
    EXPECT_FALSE(DuplicateMotion(f.scene, 5, "x"));
    EXPECT_EQ(f.scene.Motions().size(), 2u);
}

TEST(MotionOperations, DeletingMovesTheCurrentMotionToTheSameIndexOrTheNewLast)
{
    ThreeParts f;
    for (const char* name : {"a", "b", "c"}) NewMotionCommand(f.session, name);
    f.session.SelectMotion(1);
    DeleteMotionCommand(f.session);
    EXPECT_EQ(f.session.CurrentMotion(), 1);
    EXPECT_EQ(f.scene.Motions()[1].name, "c");
    DeleteMotionCommand(f.session);
    EXPECT_EQ(f.session.CurrentMotion(), 0);
    EXPECT_FALSE(DeleteMotion(f.scene, 1));
    DeleteMotionCommand(f.session);
    EXPECT_EQ(f.session.CurrentMotion(), -1);
    EXPECT_TRUE(f.scene.Motions().empty());
}

TEST(MotionOperations, ShorteningKeepsAKeyAtTheNewLengthAndLengtheningAddsNone)
{
    ThreeParts f;
    NewMotionCommand(f.session, "m");
    for (int frame : {10, 20, 21, 59}) SetKey(f.scene, 0, 1, frame);
    SetMotionLength(f.scene, 0, 20);
    EXPECT_EQ(f.scene.Motions()[0].length, 20);
    EXPECT_EQ(FramesOf(f.scene.Motions()[0].tracks[1]), (std::vector<int>{0, 10, 20}));
    SetMotionLength(f.scene, 0, 500);
    EXPECT_EQ(FramesOf(f.scene.Motions()[0].tracks[1]), (std::vector<int>{0, 10, 20}));
}

TEST(MotionOperations, SetKeyReplacesAnExistingKeyAndDeleteKeySparesFrameZero)
{
    ThreeParts f;
    NewMotionCommand(f.session, "m");
    SetKey(f.scene, 0, 0, 30);
    SetKey(f.scene, 0, 0, 10);
    SetKey(f.scene, 0, 0, 20);
    EXPECT_EQ(FramesOf(f.scene.Motions()[0].tracks[0]), (std::vector<int>{0, 10, 20, 30}));
    f.scene.Parts()[0]->localPosition = {7, 8, 9};
    SetKey(f.scene, 0, 0, 20);
    EXPECT_EQ(f.scene.Motions()[0].tracks[0].keys.size(), 4u);
    EXPECT_EQ(f.scene.Motions()[0].tracks[0].keys[2].matrix.Translation(), (Vec3{7, 8, 9}));

    EXPECT_FALSE(DeleteKey(f.scene, 0, 0, 0));
    EXPECT_FALSE(DeleteKey(f.scene, 0, 0, 15));
    EXPECT_TRUE(DeleteKey(f.scene, 0, 0, 10));
    EXPECT_EQ(FramesOf(f.scene.Motions()[0].tracks[0]), (std::vector<int>{0, 20, 30}));
    EXPECT_FALSE(SetKey(f.scene, 0, 3, 5));
    EXPECT_FALSE(SetKey(f.scene, 1, 0, 5));
}

TEST(MotionOperations, NamesTheProjectFileCouldNotHoldAreRefused)
{
    ThreeParts f;
    ASSERT_TRUE(NewMotionCommand(f.session, "walk"));
    EXPECT_FALSE(NewMotionCommand(f.session, "walk"));
    EXPECT_FALSE(NewMotionCommand(f.session, ""));
    EXPECT_FALSE(DuplicateMotion(f.scene, 0, "あいうえおかきくけ"));
    EXPECT_FALSE(RenameMotion(f.scene, 0, "walk"));  // its own name counts as taken
    EXPECT_EQ(f.scene.Motions().size(), 1u);
    EXPECT_TRUE(RenameMotion(f.scene, 0, "あいうえおかきく"));
    EXPECT_EQ(f.scene.Motions()[0].name, "あいうえおかきく");
}

TEST(MotionOperations, ShorteningTheCurrentMotionPullsTheCurrentFrameIn)
{
    ThreeParts f;
    NewMotionCommand(f.session, "a");
    NewMotionCommand(f.session, "b");
    f.session.SetCurrentFrame(50);
    SetMotionLength(f.scene, 0, 20);  // not current
    EXPECT_EQ(f.session.CurrentFrame(), 50);
    SetMotionLengthCommand(f.session, 30);
    EXPECT_EQ(f.session.CurrentFrame(), 30);
    EXPECT_FALSE(SetMotionLengthCommand(f.session, -1));
}

TEST(MotionOperations, RemovingAPartMovesTheLaterTracksDown)
{
    ThreeParts f;
    NewMotionCommand(f.session, "m");
    for (int i = 0; i < 3; ++i) SetKeyMatrix(f.scene, 0, i, 5 + i, Matrix4());
    // Part 1 is a leaf, so it goes alone.
    f.scene.RemovePart(f.scene.Parts()[1]->treeItem);
    ASSERT_EQ(f.scene.Motions()[0].tracks.size(), 2u);
    EXPECT_EQ(FramesOf(f.scene.Motions()[0].tracks[0]), (std::vector<int>{0, 5}));
    EXPECT_EQ(FramesOf(f.scene.Motions()[0].tracks[1]), (std::vector<int>{0, 7}));
}

TEST(EvaluatePose, WritesEveryPartAndRecomposesTheWorld)
{
    ThreeParts f;
    NewMotionCommand(f.session, "m");
    Matrix4 body = MatrixRotationY(1.5707963f);
    body.SetTranslation({0, 10, 0});
    SetKeyMatrix(f.scene, 0, 0, 10, body);
    Matrix4 arm;
    arm.SetTranslation({2, 0, 0});
    SetKeyMatrix(f.scene, 0, 1, 0, arm);

    EvaluatePose(f.scene, 0, 10);
    EXPECT_EQ(f.scene.Parts()[0]->localMatrix, body);
    EXPECT_EQ(f.scene.Parts()[0]->localPosition, (Vec3{0, 10, 0}));
    Vec3 armWorld;
    f.scene.Parts()[1]->mesh->GetPosition(armWorld);
    EXPECT_TRUE(VectorsNear(armWorld, {0, 10, -2}, 1e-5f));

    EvaluatePose(f.scene, 0, 5);
    EXPECT_TRUE(VectorsNear(f.scene.Parts()[0]->localPosition, {0, 5, 0}, 1e-6f));
    EXPECT_EQ(f.scene.Parts()[0]->localMatrix.Translation(), (Vec3{0, 0, 0}));
}

TEST(EvaluatePose, InvalidMotionOrFrameAndKeylessTracksChangeNothing)
{
    ThreeParts f;
    NewMotionCommand(f.session, "m");
    SetKeyMatrix(f.scene, 0, 0, 0, MatrixTranslation(1, 1, 1));
    SetKeyMatrix(f.scene, 0, 2, 0, MatrixTranslation(3, 3, 3));
    for (auto& part : f.scene.Parts()) part->localPosition = {-5, -5, -5};

    EvaluatePose(f.scene, -1, 0);
    EvaluatePose(f.scene, 0, -1);
    EvaluatePose(f.scene, 1, 0);
    for (auto& part : f.scene.Parts()) EXPECT_EQ(part->localPosition, (Vec3{-5, -5, -5}));

    // A damaged track without keys leaves its own Part alone and the others still move.
    f.scene.MutableMotions()[0].tracks[1].keys.clear();
    f.scene.MutableMotions()[0].tracks.pop_back();
    EvaluatePose(f.scene, 0, 3);
    EXPECT_EQ(f.scene.Parts()[0]->localPosition, (Vec3{1, 1, 1}));
    EXPECT_EQ(f.scene.Parts()[1]->localPosition, (Vec3{-5, -5, -5}));
    EXPECT_EQ(f.scene.Parts()[2]->localPosition, (Vec3{-5, -5, -5}));
}

TEST(EvaluatePose, PartsWithoutMeshStillPassTheirWorldToChildren)
{
    EditorSession session;
    Scene& scene = session.GetScene();
    for (int i = 0; i < 2; ++i) scene.MutableParts().push_back(std::make_unique<Part>());
    scene.Parts()[1]->parentIndex = 0;
    NewMotionCommand(session, "m");
    SetKeyMatrix(scene, 0, 0, 0, MatrixTranslation(0, 4, 0));
    SetKeyMatrix(scene, 0, 1, 0, MatrixTranslation(1, 0, 0));
    EvaluatePose(scene, 0, 0);
    EXPECT_EQ(scene.WorldMatrixOf(1).Translation(), (Vec3{1, 4, 0}));
}
