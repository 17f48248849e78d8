#include "view/EditTestScene.h"
#include "anim/MotionOperations.h"
#include "support/MatrixMatchers.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <gtest/gtest.h>

namespace {

class UndoButtons {
public:
    explicit UndoButtons(EditorSession& session)
        : subscription(session.Events().Subscribe([this](const EditorEvent& event) {
              OnEvent<HistoryButtonsChanged>(event, [this](const HistoryButtonsChanged& e) {
                  undoEnabled = e.undoEnabled;
                  redoEnabled = e.redoEnabled;
                  ++reports;
              });
          }))
    {
    }
    EditorSubscription subscription;
    bool undoEnabled = true;
    bool redoEnabled = true;
    int reports = 0;
};

// Two Parts (a child under a top-level Part), the history restarted.
struct HistoryScene {
    HistoryScene()
    {
        parent = AddModelPart(scene, folder, CubeModel(1), -1, {1, 2, 3});
        child = AddModelPart(scene, folder, CubeModel(1), parent, {0, 5, 0});
        session.History().RestartHistory();
    }
    // An edit: the parent goes to x = value (the child follows), then a push.
    void Edit(float value)
    {
        scene.parts[parent]->localPosition = {value, 0, 0};
        scene.UpdateHierarchy(0);
        session.History().PushUndo();
    }
    float ParentX() const { return scene.parts[parent]->localPosition.x; }

    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    UndoButtons buttons{session};
    int parent = -1;
    int child = -1;
};

TEST(PoseHistory, RestartLeavesOneSnapshotWithBothButtonsDisabled)
{
    HistoryScene h;
    EXPECT_EQ(h.session.History().SnapshotCount(), 1);
    EXPECT_EQ(h.session.History().Current(), 0);
    EXPECT_EQ(h.session.History().PartCount(), 2);
    EXPECT_GT(h.buttons.reports, 0);
    EXPECT_FALSE(h.buttons.undoEnabled);
    EXPECT_FALSE(h.buttons.redoEnabled);
}

TEST(PoseHistory, UndoAndRedoRestoreLocalFieldsAndWorldMatrices)
{
    HistoryScene h;
    const Matrix4 childWorldAtStart = h.scene.WorldMatrixOf(h.child);
    h.scene.parts[h.child]->localMatrix = MatrixRotationY(0.5f);
    h.Edit(7);
    const Matrix4 childWorldAfterEdit = h.scene.WorldMatrixOf(h.child);
    EXPECT_TRUE(h.buttons.undoEnabled);

    h.session.History().Undo();
    EXPECT_EQ(h.ParentX(), 1);
    EXPECT_EQ(h.scene.parts[h.parent]->localPosition.z, 3);
    EXPECT_TRUE(MatricesNear(h.scene.parts[h.child]->localMatrix, Matrix4::Identity(), 0));
    // The mesh gets the stored world matrix with its translation.
    EXPECT_TRUE(MatricesNear(h.scene.WorldMatrixOf(h.child), childWorldAtStart, 0));
    EXPECT_FALSE(h.buttons.undoEnabled);
    EXPECT_TRUE(h.buttons.redoEnabled);

    h.session.History().Redo();
    EXPECT_EQ(h.ParentX(), 7);
    EXPECT_TRUE(MatricesNear(h.scene.WorldMatrixOf(h.child), childWorldAfterEdit, 0));
    EXPECT_FALSE(h.buttons.redoEnabled);
    // At the newest slot redo does nothing.
    h.session.History().Redo();
    EXPECT_EQ(h.session.History().Current(), 1);
}

TEST(PoseHistory, AnEditAfterUndoDropsTheRedoSteps)
{
    HistoryScene h;
    h.Edit(10);
    h.Edit(20);
    h.session.History().Undo();
    h.Edit(30);
    EXPECT_EQ(h.session.History().SnapshotCount(), 3);
    EXPECT_EQ(h.session.History().Current(), 2);
    EXPECT_FALSE(h.session.History().RedoEnabled());
    h.session.History().Undo();
    EXPECT_EQ(h.ParentX(), 10);
}

TEST(PoseHistory, OnlyTheLastHundredPosesCanBeReached)
{
    HistoryScene h;
    for (int i = 1; i <= 120; ++i) h.Edit(static_cast<float>(i));
    EXPECT_EQ(h.session.History().Current(), 99);
    EXPECT_EQ(h.session.History().SnapshotCount(), 100);
    int undos = 0;
    while (h.session.History().UndoEnabled()) {
        h.session.History().Undo();
        ++undos;
    }
    EXPECT_EQ(undos, 99);
    // The restart pose and edits 1 ... 20 fell out; every later one survives in order.
    EXPECT_EQ(h.ParentX(), 21);
    h.session.History().Redo();
    EXPECT_EQ(h.ParentX(), 22);
    EXPECT_EQ(h.scene.WorldMatrixOf(h.child).Translation().x, 22);
}

TEST(PoseHistory, PlayingDisablesBothButtons)
{
    HistoryScene h;
    h.Edit(1);
    h.Edit(2);
    h.session.History().Undo();
    h.session.SetPlaying(true);
    h.session.History().UpdateUndoButtons();
    EXPECT_FALSE(h.buttons.undoEnabled);
    EXPECT_FALSE(h.buttons.redoEnabled);
    h.session.SetPlaying(false);
    h.session.History().UpdateUndoButtons();
    EXPECT_TRUE(h.buttons.undoEnabled);
    EXPECT_TRUE(h.buttons.redoEnabled);
}

TEST(PoseHistory, UndoLeavesTheKeysAlone)
{
    HistoryScene h;
    NewMotionCommand(h.session, "walk");
    h.Edit(4);
    SetKey(h.scene, 0, h.parent, 10);
    h.session.History().Undo();
    ASSERT_EQ(h.scene.motions[0].tracks[h.parent].keys.size(), 2u);
    EXPECT_EQ(h.scene.motions[0].tracks[h.parent].keys[1].matrix.Translation().x, 4);
}

TEST(PoseHistory, AFreedHistoryRecordsNothingUntilRestarted)
{
    HistoryScene h;
    h.Edit(1);
    h.session.History().FreeHistory();
    EXPECT_EQ(h.session.History().SnapshotCount(), 0);
    h.Edit(2);
    EXPECT_EQ(h.session.History().SnapshotCount(), 0);
    EXPECT_FALSE(h.session.History().UndoEnabled());
    EXPECT_FALSE(h.session.History().RedoEnabled());
    h.session.History().Undo();
    EXPECT_EQ(h.ParentX(), 2);
    // A history sized for fewer Parts than the Scene now has restores only those.
    h.session.History().InitHistory();
    h.session.History().PushUndo();
    AddModelPart(h.scene, h.folder, CubeModel(1), -1, {9, 9, 9});
    h.Edit(3);
    h.session.History().Undo();
    EXPECT_EQ(h.ParentX(), 2);
    EXPECT_EQ(h.scene.parts[2]->localPosition.x, 9);
}

}  // namespace
