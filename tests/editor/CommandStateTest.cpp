#include "editor/CommandState.h"

#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "editor/PartCommands.h"
#include "support/SceneFixtures.h"

#include <gtest/gtest.h>

TEST(CommandState, PlaybackLocksTheEditingControlsOnlyAndTheSelectionGatesTheRest)
{
    TempFolder folder;
    EditorSession session;
    using C = EditorCommand;
    // Nothing loaded: only what needs nothing can run.
    EXPECT_TRUE(CanRun(session, C::AddPart));
    EXPECT_FALSE(CanRun(session, C::SwapPart));
    EXPECT_FALSE(CanRun(session, C::ExportX));
    EXPECT_FALSE(CanRun(session, C::SetKey));
    EXPECT_FALSE(CanRun(session, C::MirrorMotion));
    EXPECT_FALSE(CanRun(session, C::Play));

    AddCube(session, folder, "body.mqo");
    ASSERT_TRUE(NewMotionCommand(session, "walk"));
    session.History().RestartHistory();
    session.History().PushUndo();
    for (C c : {C::SwapPart, C::ExportX, C::SetKey, C::MirrorMotion, C::Play, C::Undo, C::SetRelativeRotation})
        EXPECT_TRUE(CanRun(session, c)) << static_cast<int>(c);
    EXPECT_FALSE(CanRun(session, C::Stop));

    session.SetPlaying(true);
    const C locked[] = {C::AddPart, C::DeletePart, C::SwapPart, C::AddMirroredPart, C::SymmetrySettings,
                        C::SetRelativeRotation, C::SetAbsoluteRotation, C::SetRelativePosition,
                        C::SetAbsolutePosition, C::LinkLR, C::FitViews, C::Undo, C::Redo, C::SelectMotion,
                        C::NewMotion, C::DeleteMotion, C::RenameMotion, C::SetMotionLength, C::SetKey,
                        C::DeleteKey, C::Play, C::SetAllKeys, C::DeleteAllKeys, C::CopyKeys, C::PasteKeys,
                        C::FrameRate};
    for (C c : locked) EXPECT_FALSE(CanRun(session, c)) << static_cast<int>(c);
    for (C c : {C::Stop, C::ExportX, C::MirrorMotion, C::SaveProject, C::MirrorPose})
        EXPECT_TRUE(CanRun(session, c)) << static_cast<int>(c);
    EXPECT_FALSE(session.History().UndoEnabled());

    session.SetPlaying(false);
    SelectPart(session, -1);
    EXPECT_FALSE(CanRun(session, C::SwapPart));
    EXPECT_FALSE(CanRun(session, C::LevelPartInAllKeyframes));
    EXPECT_TRUE(CanRun(session, C::SetAbsolutePosition));  // records an undo step all the same
    session.SelectMotion(-1);
    EXPECT_FALSE(CanRun(session, C::MirrorMotion));
}

TEST(EditorSession, TheCurrentPartNeverOutlivesThePartsItNames)
{
    TempFolder folder;
    EditorSession session;
    const int a = AddCubeUnder(session, folder, -1, "a.mqo");
    AddCubeUnder(session, folder, -1, "b.mqo");
    const int c = AddCubeUnder(session, folder, -1, "c.mqo");
    SelectPart(session, c);
    // Another Part goes: the selected one moves down an index and stays current.
    session.GetScene().RemovePart(session.GetScene().parts[a]->treeItem);
    EXPECT_EQ(session.CurrentPart(), 1);
    EXPECT_EQ(session.GetScene().parts[session.CurrentPart()]->displayName, "c");
    // The selected one goes with everything else.
    session.GetScene().ClearScene();
    EXPECT_EQ(session.CurrentPart(), -1);
}
