#include "view/EditTestScene.h"
#include "anim/MotionOperations.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "editor/PartCommands.h"
#include "editor/SymmetryEditor.h"
#include "support/MatrixMatchers.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

class UndoButtons {
public:
    explicit UndoButtons(EditorSession& session)
        : subscription(session.Events().Subscribe([this](const EditorEvent& event) {
              OnEvent<HistoryButtonsChanged>(event, [this](const HistoryButtonsChanged& e) {
                  undoEnabled = e.undoEnabled;
                  redoEnabled = e.redoEnabled;
              });
          }))
    {
    }
    EditorSubscription subscription;
    bool undoEnabled = true;
    bool redoEnabled = true;
};

// Two Parts (a child under a top-level Part) and a Motion, the history empty.
struct HistoryScene {
    HistoryScene()
    {
        parent = AddModelPart(scene, folder, CubeModel(1), -1, {1, 2, 3});
        child = AddModelPart(scene, folder, CubeModel(1), parent, {0, 5, 0});
        session.History().Clear();
    }
    // A pose edit: the parent goes to x = value (the child follows), then a push.
    void Edit(float value)
    {
        scene.Parts()[parent]->localPosition = {value, 0, 0};
        scene.UpdateHierarchy(0);
        session.History().PushUndo("edit");
    }
    float ParentX() const { return scene.Parts()[parent]->localPosition.x; }

    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    UndoButtons buttons{session};
    int parent = -1;
    int child = -1;
};

TEST(DocumentHistory, PoseStepsRestoreLocalFieldsAndWorldMatrices)
{
    HistoryScene h;
    EXPECT_FALSE(h.session.History().UndoEnabled());
    const Matrix4 childWorldAtStart = h.scene.WorldMatrixOf(h.child);
    h.scene.Parts()[h.child]->localMatrix = MatrixRotationY(0.5f);
    h.Edit(7);
    const Matrix4 childWorldAfterEdit = h.scene.WorldMatrixOf(h.child);
    EXPECT_TRUE(h.buttons.undoEnabled);
    EXPECT_EQ(h.session.History().UndoLabel(), "edit");

    h.session.History().Undo();
    EXPECT_EQ(h.ParentX(), 1);
    EXPECT_EQ(h.scene.Parts()[h.parent]->localPosition.z, 3);
    EXPECT_TRUE(MatricesNear(h.scene.Parts()[h.child]->localMatrix, Matrix4::Identity(), 0));
    EXPECT_TRUE(MatricesNear(h.scene.WorldMatrixOf(h.child), childWorldAtStart, 0));
    EXPECT_FALSE(h.buttons.undoEnabled);
    EXPECT_TRUE(h.buttons.redoEnabled);

    h.session.History().Redo();
    EXPECT_EQ(h.ParentX(), 7);
    EXPECT_TRUE(MatricesNear(h.scene.WorldMatrixOf(h.child), childWorldAfterEdit, 0));
    EXPECT_FALSE(h.buttons.redoEnabled);
    h.session.History().Redo();
    EXPECT_EQ(h.session.History().Position(), 1);
}

TEST(DocumentHistory, AnEditAfterUndoDropsTheRedoStepsAndANullEditRecordsNothing)
{
    HistoryScene h;
    h.Edit(10);
    h.Edit(20);
    h.session.History().Undo();
    h.Edit(30);
    EXPECT_EQ(h.session.History().StepCount(), 2);
    EXPECT_FALSE(h.session.History().RedoEnabled());
    h.Edit(30);
    EXPECT_EQ(h.session.History().StepCount(), 2);
    h.session.History().Undo();
    EXPECT_EQ(h.ParentX(), 10);
}

TEST(DocumentHistory, UndoDropsPoseEditsNotRecordedYet)
{
    HistoryScene h;
    h.Edit(10);
    h.scene.Parts()[h.parent]->localPosition = {55, 0, 0};
    h.session.History().Undo();
    EXPECT_EQ(h.ParentX(), 1);
    h.session.History().Redo();
    EXPECT_EQ(h.ParentX(), 10);
}

TEST(DocumentHistory, KeepsTheNewestStepsUpToItsBound)
{
    HistoryScene h;
    const int edits = DocumentHistory::kMaxSteps + 5;
    for (int i = 1; i <= edits; ++i) h.Edit(static_cast<float>(i));
    EXPECT_EQ(h.session.History().StepCount(), DocumentHistory::kMaxSteps);
    while (h.session.History().UndoEnabled()) h.session.History().Undo();
    // Edits 1 ... 5 fell out: undoing everything reaches the pose of edit 5.
    EXPECT_EQ(h.ParentX(), 5);
    h.session.History().Redo();
    EXPECT_EQ(h.ParentX(), 6);
}

TEST(DocumentHistory, PlayingDisablesBothButtons)
{
    HistoryScene h;
    h.Edit(1);
    h.Edit(2);
    h.session.History().Undo();
    h.session.SetPlaying(true);
    EXPECT_FALSE(h.buttons.undoEnabled);
    EXPECT_FALSE(h.buttons.redoEnabled);
    h.session.SetPlaying(false);
    EXPECT_TRUE(h.buttons.undoEnabled);
    EXPECT_TRUE(h.buttons.redoEnabled);
}

TEST(DocumentHistory, AKeyAndThePoseAreStepsOfOneHistoryInTheirOrder)
{
    HistoryScene h;
    NewMotionCommand(h.session, "walk");
    h.session.SelectPart(h.parent);
    h.session.SetCurrentFrame(10);
    h.Edit(4);
    ASSERT_TRUE(h.session.Timeline().SetKeyHere());
    EXPECT_EQ(h.session.History().StepCount(), 3);
    h.session.History().Undo();
    EXPECT_EQ(h.scene.Motions()[0].tracks[h.parent].keys.size(), 1u);
    EXPECT_EQ(h.ParentX(), 4);
    h.session.History().Undo();
    EXPECT_EQ(h.ParentX(), 1);
    h.session.History().Undo();
    EXPECT_TRUE(h.scene.Motions().empty());
    h.session.History().Redo();
    h.session.History().Redo();
    h.session.History().Redo();
    ASSERT_EQ(h.scene.Motions()[0].tracks[h.parent].keys.size(), 2u);
    EXPECT_EQ(h.scene.Motions()[0].tracks[h.parent].keys[1].matrix.Translation().x, 4);
}

TEST(DocumentHistory, AKeySetOnAManyPartModelKeepsOneKey)
{
    HistoryScene h;
    for (int i = 0; i < 5000; ++i)
        h.scene.AppendPart(-1, "p.mesh", nullptr, {"p" + std::to_string(i), "p" + std::to_string(i)});
    NewMotionCommand(h.session, "walk");
    const size_t before = h.session.History().Bytes();
    h.session.SelectPart(5);
    h.session.SetCurrentFrame(3);
    ASSERT_TRUE(h.session.Timeline().SetKeyHere());
    // One key with its two sides, not a copy of 5002 tracks.
    EXPECT_LT(h.session.History().Bytes() - before, 2 * sizeof(KeyFrame) + 512);
}

TEST(DocumentHistory, UndoingADeletedPartBringsBackItsMeshPlacePartnerAndKeys)
{
    HistoryScene h;
    const int other = AddModelPart(h.scene, h.folder, CubeModel(2), -1, {0, 0, 9});
    h.scene.Parts()[h.child]->symmetryIndex = other;
    h.scene.Parts()[other]->symmetryIndex = h.child;
    NewMotionCommand(h.session, "walk");
    SetKeyMatrix(h.scene, 0, h.child, 7, MatrixTranslation(3, 4, 5));
    const CMesh* childMesh = h.scene.Parts()[h.child]->mesh.get();
    const TreeItem parentItem = h.scene.Parts()[h.parent]->treeItem;
    h.session.History().Clear();

    h.session.SelectPart(h.parent);
    DeleteCurrentPart(h.session);
    ASSERT_EQ(h.scene.PartCount(), 1);
    EXPECT_EQ(h.scene.Parts()[0]->symmetryIndex, -1);
    EXPECT_EQ(h.scene.Motions()[0].tracks.size(), 1u);

    h.session.History().Undo();
    ASSERT_EQ(h.scene.PartCount(), 3);
    EXPECT_EQ(h.scene.Parts()[h.child]->mesh.get(), childMesh);
    EXPECT_EQ(h.scene.Parts()[h.child]->parentIndex, h.parent);
    EXPECT_EQ(h.scene.Parts()[h.child]->symmetryIndex, other);
    EXPECT_EQ(h.scene.Parts()[other]->symmetryIndex, h.child);
    ASSERT_EQ(h.scene.Motions()[0].tracks[h.child].keys.size(), 2u);
    EXPECT_EQ(h.scene.Motions()[0].tracks[h.child].keys[1].matrix.Translation().y, 4);
    // The tree holds the Parts in their old order, the restored Part selected.
    const std::vector<TreeItem>& top = h.scene.Tree().GetChildren(h.scene.rootPart.treeItem);
    ASSERT_EQ(top.size(), 2u);
    EXPECT_NE(top[0], parentItem);
    EXPECT_EQ(top[0], h.scene.Parts()[h.parent]->treeItem);
    EXPECT_EQ(h.scene.Tree().GetChildren(top[0]).front(), h.scene.Parts()[h.child]->treeItem);
    EXPECT_EQ(h.session.CurrentPart(), h.parent);

    h.session.History().Redo();
    EXPECT_EQ(h.scene.PartCount(), 1);
}

TEST(DocumentHistory, TheUnsavedMarkFollowsTheDocumentNotThePose)
{
    HistoryScene h;
    NewMotionCommand(h.session, "walk");
    h.session.History().MarkSaved();
    h.Edit(5);
    EXPECT_FALSE(h.session.History().IsModified());
    h.session.SelectPart(h.child);
    h.session.SetCurrentFrame(10);
    h.session.Timeline().SetKeyHere();
    EXPECT_TRUE(h.session.History().IsModified());
    EXPECT_NE(h.session.TitleText().find(" *"), std::string::npos);
    h.session.History().Undo();
    EXPECT_FALSE(h.session.History().IsModified());
    EXPECT_EQ(h.session.TitleText().find(" *"), std::string::npos);
    // Another way back to the same keys counts as unchanged too.
    h.session.History().Redo();
    h.session.Timeline().DeleteKeys();
    EXPECT_FALSE(h.session.History().IsModified());
    // A save point lost with the redo steps it was on is still found by content.
    h.session.History().Undo();
    h.session.History().MarkSaved();
    h.session.History().Undo();
    h.Edit(9);
    EXPECT_TRUE(h.session.History().IsModified());
}

}  // namespace
