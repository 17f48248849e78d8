#include "editor/PartTreeCommands.h"

#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "editor/MotionCommands.h"
#include "scene/ProjectFile.h"
#include "scene/ProjectFileFormat.h"
#include "support/MatrixMatchers.h"
#include "support/OutcomeAssertions.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"
#include "view/RotationAngles.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace m3d;

namespace {

// torso(0) > arm(1) > hand(2), hip(3) > leg(4), and a finger(5) under the
// hand; every Part turned and placed, two Motions with keys on every Part at
// frames of their own, so parents interpolate at the hand's key frames.
struct Figure {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();

    Figure()
    {
        for (const auto& [name, parent] : std::vector<std::pair<std::string, int>>{
                 {"torso", -1}, {"arm", 0}, {"hand", 1}, {"hip", -1}, {"leg", 3}, {"finger", 2}})
            AddCubeUnder(session, folder, parent, name + ".mqo");
        for (int i = 0; i < scene.PartCount(); ++i) {
            scene.Parts()[i]->localMatrix = RotationFromAngles({10.0f * i, -7.0f * i + 3, 5.0f});
            scene.Parts()[i]->localPosition = {1.5f * i, 2.0f - i, 0.5f * i};
        }
        scene.UpdateHierarchy(0);
        EXPECT_TRUE(NewMotionCommand(session, "walk"));
        EXPECT_TRUE(NewMotionCommand(session, "run"));
        for (int m = 0; m < 2; ++m) {
            SetMotionLength(scene, m, 40);
            for (int i = 0; i < scene.PartCount(); ++i)
                for (int frame = 4 + i + m; frame <= 40; frame += 7 + i) {
                    Matrix4 key = RotationFromAngles({3.0f * frame - 20 * i, 11.0f * m + frame, -2.0f * i});
                    key.SetTranslation({0.1f * frame, i - 0.2f * frame, 1.0f + m});
                    SetKeyMatrix(scene, m, i, frame, key);
                }
        }
        session.History().Clear();
    }

    // What a save writes of the Parts and Motions.
    std::string ProjectBytes() const
    {
        const Expected<std::string> bytes = BuildProjectFile(ProjectPartRecordsOf(scene), scene.Motions());
        EXPECT_TRUE(Succeeded(bytes));
        return bytes ? *bytes : std::string();
    }

    // The world matrix the pose command gives Part part at every key frame of its tracks, by Motion and frame.
    std::map<std::pair<int, int>, Matrix4> WorldsAtKeys(int part)
    {
        std::map<std::pair<int, int>, Matrix4> worlds;
        for (int m = 0; m < scene.MotionCount(); ++m)
            for (const KeyFrame& key : MotionTrack(scene.Motions()[m].tracks[part]).keys) {
                EvaluatePose(scene, m, key.frame);
                worlds[{m, key.frame}] = scene.WorldMatrixOf(part);
            }
        return worlds;
    }
};

TEST(ReparentCurrentPart, EveryKeyKeepsItsWorldMatrixTheChildrenTheirKeysAndUndoTheProjectBytes)
{
    Figure f;
    const std::string before = f.ProjectBytes();
    const std::map<std::pair<int, int>, Matrix4> worldsBefore = f.WorldsAtKeys(2);
    const MotionTrack fingerKeys = f.scene.Motions()[1].tracks[5];
    const Matrix4 shownBefore = f.scene.WorldMatrixOf(2);
    const TreeItem hand = f.scene.Parts()[2]->treeItem;
    f.session.SelectPart(2);

    ASSERT_TRUE(ReparentCurrentPart(f.session, 4));
    // The hand and its finger go after the leg: torso arm hip leg hand finger.
    ASSERT_EQ(f.scene.Parts()[4]->treeItem, hand);
    EXPECT_EQ(f.scene.Parts()[4]->parentIndex, 3);
    EXPECT_EQ(f.scene.Parts()[5]->parentIndex, 4);
    EXPECT_EQ(f.session.CurrentPart(), 4);
    EXPECT_TRUE(MatricesNear(f.scene.WorldMatrixOf(4), shownBefore, 1e-4f));
    EXPECT_EQ(f.scene.Motions()[1].tracks[5].keys.size(), fingerKeys.keys.size());
    EXPECT_EQ(f.scene.Motions()[1].tracks[5].keys.back().matrix, fingerKeys.keys.back().matrix);
    const std::map<std::pair<int, int>, Matrix4> worldsAfter = f.WorldsAtKeys(4);
    ASSERT_EQ(worldsAfter.size(), worldsBefore.size());
    for (const auto& [at, world] : worldsBefore)
        EXPECT_TRUE(MatricesNear(worldsAfter.at(at), world, 2e-4f)) << "Motion " << at.first << " frame " << at.second;

    EXPECT_EQ(f.session.History().Position(), 1);
    f.session.History().Undo();
    EXPECT_EQ(f.ProjectBytes(), before);
    EXPECT_EQ(f.scene.Tree().GetChildren(f.scene.Parts()[1]->treeItem), (std::vector<TreeItem>{hand}));
    f.session.History().Redo();
    EXPECT_EQ(f.scene.Parts()[4]->treeItem, hand);
    EXPECT_TRUE(MatricesNear(f.WorldsAtKeys(4).at({0, 6}), worldsBefore.at({0, 6}), 2e-4f));
}

TEST(ReparentCurrentPart, ToTheTopLevelAndUnderItsOwnAncestorKeepTheWorldsToo)
{
    for (const int newParent : {-1, 0}) {
        Figure f;
        const std::map<std::pair<int, int>, Matrix4> worldsBefore = f.WorldsAtKeys(2);
        f.session.SelectPart(2);
        ASSERT_TRUE(ReparentCurrentPart(f.session, newParent)) << newParent;
        const int hand = f.session.CurrentPart();
        EXPECT_EQ(f.scene.Parts()[hand]->parentIndex, newParent);
        for (const auto& [at, world] : f.WorldsAtKeys(hand))
            EXPECT_TRUE(MatricesNear(world, worldsBefore.at(at), 2e-4f)) << newParent << " at frame " << at.second;
    }
}

TEST(ReparentCurrentPart, RefusesItsOwnSubtreeItsParentAndNoSelectionWithoutAStep)
{
    Figure f;
    const std::string before = f.ProjectBytes();
    f.session.SelectPart(1);
    EXPECT_FALSE(ReparentCurrentPart(f.session, 5));  // the arm under its grandchild
    EXPECT_FALSE(ReparentCurrentPart(f.session, 0));  // the torso is its parent already
    f.session.SelectPart(-1);
    EXPECT_FALSE(ReparentCurrentPart(f.session, 3));
    EXPECT_EQ(f.ProjectBytes(), before);
    EXPECT_EQ(f.session.History().StepCount(), 0);
}

TEST(RenameCurrentPart, TheNameIsCheckedAsForAMirroredPartAndTheNewNameIsOneUndoStep)
{
    Figure f;
    f.session.SelectPart(2);
    EXPECT_EQ(RenameCurrentPart(f.session, "arm"), PartNameProblem::Taken);
    EXPECT_EQ(RenameCurrentPart(f.session, "arm.L"), PartNameProblem::Taken);
    EXPECT_EQ(RenameCurrentPart(f.session, "ARM"), PartNameProblem::Taken);  // arm.mesh would be its file
    // The project file would give back another name: a separator, or ～ for 〜.
    for (const std::string name : {"hand¥l", "head〜", "x−1"}) {
        EXPECT_EQ(RenameCurrentPart(f.session, name), PartNameProblem::Folded) << name;
        EXPECT_NE(PartNameProblemMessage(PartNameProblem::Folded, name).find("代わりに"), std::string::npos);
    }
    EXPECT_NE(PartNameProblemMessage(PartNameProblem::Folded, "hand¥l").find("「￥」"), std::string::npos);
    for (const std::string name : {"", ".hidden", "sub/palm", "..\\palm"})
        EXPECT_EQ(RenameCurrentPart(f.session, name), PartNameProblem::Invalid) << name;
    for (const std::string& name : std::vector<std::string>{"pa\x01lm", "\xF0\x9F\x98\x80", std::string(260, 'p')})
        EXPECT_EQ(RenameCurrentPart(f.session, name), PartNameProblem::NotSavable) << name;
    EXPECT_EQ(RenameCurrentPart(f.session, "hand"), PartNameProblem::None);  // its own name: nothing to do
    EXPECT_EQ(f.session.History().StepCount(), 0);

    EXPECT_EQ(RenameCurrentPart(f.session, "palm.R.mqo"), PartNameProblem::None);
    EXPECT_EQ(f.scene.Parts()[2]->baseName, "palm");
    EXPECT_EQ(f.scene.Parts()[2]->displayName, "palm");
    EXPECT_EQ(f.scene.Tree().GetText(f.scene.Parts()[2]->treeItem), "palm");
    EXPECT_EQ(f.session.History().StepCount(), 1);
    EXPECT_NE(f.session.TitleText().find("palm"), std::string::npos);
    // A name another Part shows (not as its baseName) is taken as the baseName and numbered for the tree.
    f.scene.Parts()[0]->displayName = "wrist";
    f.session.SelectPart(2);
    EXPECT_EQ(RenameCurrentPart(f.session, "wrist"), PartNameProblem::None);
    EXPECT_EQ(f.scene.Parts()[2]->baseName, "wrist");
    EXPECT_EQ(f.scene.Parts()[2]->displayName, "wrist00000");
    f.session.History().Undo();
    f.session.History().Undo();
    EXPECT_EQ(f.scene.Parts()[2]->baseName, "hand");
    EXPECT_EQ(f.scene.Tree().GetText(f.scene.Parts()[2]->treeItem), "hand");
}

TEST(RenameCurrentPart, TheNextSaveWritesTheNewMeshFileAndLeavesTheOldOneAlone)
{
    Figure f;
    ScriptedPrompt prompt;
    prompt.savePaths = {f.folder.File("figure.anm")};
    prompt.meshAnswers = {MeshOverwriteAnswer::YesToAll};
    ASSERT_TRUE(SaveAsCommand(f.session, prompt));
    const std::string handFile = f.folder.Read("hand.mesh");
    f.session.SelectPart(2);
    ASSERT_EQ(RenameCurrentPart(f.session, "palm"), PartNameProblem::None);
    EXPECT_TRUE(f.session.History().IsModified());
    prompt.yesNo = {true};  // replace the project file
    ASSERT_TRUE(SaveCommand(f.session, prompt));
    EXPECT_EQ(f.folder.Read("palm.mesh"), handFile);
    EXPECT_EQ(f.folder.Read("hand.mesh"), handFile);
    EditorSession reopened;
    ASSERT_TRUE(OpenProject(reopened, f.folder.File("figure.anm"), ProjectOpening::Editing).complete);
    ASSERT_EQ(reopened.GetScene().PartCount(), 6);
    EXPECT_EQ(reopened.GetScene().Parts()[2]->baseName, "palm");
}

}  // namespace
