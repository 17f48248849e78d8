#include "editor/CommandHost.h"
#include "editor/CommandRegistry.h"
#include "support/MotionFixtures.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

struct Host : CommandHost {
    ScriptedPrompt prompt;
    UserPrompt& Prompt() override { return prompt; }
};

// Two Parts, a Motion of 100 frames with keys at 10 (Part 0, x = 4) and 30 (Part 1).
struct Stepping : MotionSessionFixture {
    Host host;
    Stepping() : MotionSessionFixture(2, 100)
    {
        PutKey(0, 10, 4.0f);
        PutKey(1, 30, 1.0f);
        session.SelectPart(-1);
        session.History().Clear();
    }
    int Run(EditorCommand command)
    {
        RunCommand(command, session, host);
        return session.CurrentFrame();
    }
    float ShownX(int part) { return session.GetScene().Parts()[part]->localPosition.x; }
};

}  // namespace

TEST(FrameCommands, StepAndJumpShowThePoseThereAndStayInTheMotion)
{
    Stepping s;
    using C = EditorCommand;
    EXPECT_EQ(s.Run(C::PreviousFrame), 0);
    EXPECT_EQ(s.Run(C::NextFrame), 1);
    // No Part selected: the next key of any Part.
    EXPECT_EQ(s.Run(C::NextKey), 10);
    EXPECT_EQ(s.ShownX(0), 4.0f);
    EXPECT_EQ(s.Run(C::NextFrame), 11);
    EXPECT_EQ(s.Run(C::PreviousKey), 10);
    // Part 1 selected: its own keys only (0 and 30).
    s.session.SelectPart(1);
    EXPECT_EQ(s.Run(C::NextKey), 30);
    EXPECT_EQ(s.Run(C::NextKey), 30);
    EXPECT_EQ(s.Run(C::PreviousKey), 0);
    EXPECT_EQ(s.ShownX(0), 0.0f);
    // The ends, and the timeline scrolled to show the frame.
    EXPECT_EQ(s.Run(C::LastFrame), 100);
    EXPECT_EQ(s.session.Timeline().ScrollTens(), s.session.Timeline().MaxScrollTens());
    // Stepping beyond the end leaves a pose set there alone.
    s.session.GetScene().Parts()[1]->localPosition.x = 9.0f;
    EXPECT_EQ(s.Run(C::NextFrame), 100);
    EXPECT_EQ(s.ShownX(1), 9.0f);
    EXPECT_EQ(s.Run(C::PreviousFrame), 99);
    EXPECT_EQ(s.Run(C::FirstFrame), 0);
    EXPECT_EQ(s.session.Timeline().ScrollTens(), 0);
    // Locked while playing.
    s.Run(C::TogglePlayback);
    ASSERT_TRUE(s.session.IsPlaying());
    EXPECT_EQ(s.Run(C::NextFrame), 0);
    s.Run(C::TogglePlayback);
    EXPECT_FALSE(s.session.IsPlaying());
}

TEST(FrameCommands, GoingToFramesIsNoUndoStepUnlessItThrowsAnUnkeyedPoseAway)
{
    Stepping s;
    using C = EditorCommand;
    DocumentHistory& history = s.session.History();
    s.Run(C::NextKey);  // frame 10: Part 0 at x = 4
    s.Run(C::NextFrame);
    s.Run(C::LastFrame);
    s.Run(C::FirstFrame);
    EXPECT_EQ(history.Position(), 0);

    // A pose edit that no key holds: the first frame step brings it back on undo.
    s.session.GetScene().Parts()[0]->localPosition.x = 7.0f;
    history.PushUndo("移動");
    s.Run(C::NextFrame);
    s.Run(C::NextFrame);
    EXPECT_EQ(history.Position(), 2);
    EXPECT_EQ(history.UndoLabel(), "フレームの移動");
    history.Undo();
    EXPECT_EQ(s.ShownX(0), 7.0f);
    EXPECT_EQ(history.UndoLabel(), "移動");

    // Keyed, the same edit is left behind by frame steps without a step, and
    // the first undo after them takes the key back.
    RunCommand(C::SetAllKeys, s.session, s.host);
    s.Run(C::NextFrame);
    s.Run(C::PreviousKey);
    EXPECT_EQ(history.UndoLabel(), "全パーツのキーの設定");
}
