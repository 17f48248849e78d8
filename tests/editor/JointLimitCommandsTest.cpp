#include "editor/EditorSession.h"
#include "editor/JointLimitCommands.h"
#include "editor/history/DocumentHistory.h"
#include "support/SceneFixtures.h"

#include <gtest/gtest.h>

using namespace m3d;

TEST(SetJointLimitCommand, IsOneUndoStepThatCountsAsAnUnsavedChange)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddCubeUnder(scene, folder, -1, "body.mqo");
    AddCubeUnder(scene, folder, 0, "arm.mqo");
    DocumentHistory& history = session.History();
    history.Clear();
    history.MarkSaved();
    const JointLimit elbow{JointAxis::X, -30.0f, 120.0f};

    // No such Part, a limit out of the rules: refused, nothing recorded.
    EXPECT_FALSE(SetJointLimitCommand(session, 2, elbow));
    EXPECT_FALSE(SetJointLimitCommand(session, 1, {JointAxis::X, 10.0f, -10.0f}));
    EXPECT_FALSE(SetJointLimitCommand(session, 1, {JointAxis::Free, 0.0f, 5.0f}));
    EXPECT_EQ(history.StepCount(), 0);

    ASSERT_TRUE(SetJointLimitCommand(session, 1, elbow));
    EXPECT_FALSE(SetJointLimitCommand(session, 1, elbow));
    EXPECT_EQ(history.StepCount(), 1);
    EXPECT_EQ(scene.PartAt(1)->jointLimit, elbow);
    EXPECT_TRUE(scene.PartAt(0)->jointLimit.IsFree());
    EXPECT_TRUE(history.IsModified());

    history.Undo();
    EXPECT_TRUE(scene.PartAt(1)->jointLimit.IsFree());
    EXPECT_FALSE(history.IsModified());
    history.Redo();
    EXPECT_EQ(scene.PartAt(1)->jointLimit, elbow);
    EXPECT_TRUE(history.IsModified());
}
