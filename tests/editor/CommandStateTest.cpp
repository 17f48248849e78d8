#include "editor/CommandState.h"

#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "editor/PartCommands.h"
#include "support/SceneFixtures.h"

#include <gtest/gtest.h>

using namespace m3d;

TEST(CommandState, PlaybackLocksTheEditingControlsOnlyAndTheSelectionGatesThePartCommands)
{
    TempFolder folder;
    EditorSession session;
    using C = EditorCommand;
    // Nothing loaded: the Part commands need a Part; the rest runs and does nothing without one.
    EXPECT_TRUE(CanRun(session, C::AddPart));
    for (C c : {C::SwapPart, C::DeletePart, C::AddMirroredPart, C::Undo, C::Redo})
        EXPECT_FALSE(CanRun(session, c)) << static_cast<int>(c);
    for (C c : {C::ExportX, C::SetKey, C::MirrorMotion, C::DeleteMotion, C::PasteKeys, C::Play, C::Stop})
        EXPECT_TRUE(CanRun(session, c)) << static_cast<int>(c);

    AddCube(session, folder, "body.mqo");
    ASSERT_TRUE(NewMotionCommand(session, "walk"));
    EXPECT_TRUE(CanRun(session, C::Undo));
    EXPECT_TRUE(CanRun(session, C::SwapPart));

    session.SetPlaying(true);
    const C locked[] = {C::AddPart,
                        C::DeletePart,
                        C::SwapPart,
                        C::AddMirroredPart,
                        C::SymmetrySettings,
                        C::SetRelativeRotation,
                        C::SetAbsoluteRotation,
                        C::SetRelativePosition,
                        C::SetAbsolutePosition,
                        C::LinkLR,
                        C::FitViews,
                        C::Undo,
                        C::Redo,
                        C::SelectMotion,
                        C::NewMotion,
                        C::DeleteMotion,
                        C::RenameMotion,
                        C::SetMotionLength,
                        C::SetKey,
                        C::DeleteKey,
                        C::SetAllKeys,
                        C::DeleteAllKeys,
                        C::CopyKeys,
                        C::PasteKeys,
                        C::FrameRate};
    for (C c : locked) EXPECT_FALSE(CanRun(session, c)) << static_cast<int>(c);
    for (C c : {C::Play, C::Stop, C::ExportX, C::MirrorMotion, C::SaveProject, C::MirrorPose})
        EXPECT_TRUE(CanRun(session, c)) << static_cast<int>(c);

    session.SetPlaying(false);
    SelectPart(session, -1);
    EXPECT_FALSE(CanRun(session, C::SwapPart));
    EXPECT_TRUE(CanRun(session, C::SetAbsolutePosition));
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
    session.GetScene().RemovePart(session.GetScene().Parts()[a]->treeItem);
    EXPECT_EQ(session.CurrentPart(), 1);
    EXPECT_EQ(session.GetScene().Parts()[session.CurrentPart()]->displayName, "c");
    // The selected one goes with everything else.
    session.GetScene().ClearScene();
    EXPECT_EQ(session.CurrentPart(), -1);
}
