#include "editor/MotionTimeline.h"

#include "anim/PoseEvaluation.h"
#include "editor/CommandHost.h"
#include "editor/CommandRegistry.h"
#include "editor/PartCommands.h"
#include "editor/PartTreeCommands.h"
#include "support/MotionFixtures.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// Client x of the middle of frame f's five pixels with the timeline at its start.
int XOf(int frame) { return 86 + 5 * frame; }

// Chooses frames from ... to as a double click and a drag do.
void ChooseRange(MotionTimeline& timeline, int from, int to)
{
    timeline.LeftDoubleClick(XOf(from), 40);
    timeline.MouseMove(XOf(to));
    timeline.LeftUp();
}

// a, b and c at the top level, and a Motion "walk" of 60 frames.
struct ThreeTopLevelParts {
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    ThreeTopLevelParts()
    {
        for (const char* name : {"a.mqo", "b.mqo", "c.mqo"}) AddCubeUnder(session, folder, -1, name);
        EXPECT_TRUE(NewMotionCommand(session, "walk"));
        EXPECT_TRUE(SetMotionLengthCommand(session, 60));
    }
};

}  // namespace

TEST(MotionTimeline, MouseMappingAtTheEdgesOfTheTimeline)
{
    MotionSessionFixture f(2, 100);
    MotionTimeline timeline(f.session);
    EXPECT_EQ(timeline.FrameAtX(84), 0);
    EXPECT_EQ(timeline.FrameAtX(88), 0);
    EXPECT_EQ(timeline.FrameAtX(89), 1);
    EXPECT_EQ(timeline.FrameX(70), 436);
    EXPECT_TRUE(timeline.InTimelineArea(84, 37));
    EXPECT_TRUE(timeline.InTimelineArea(438, 157));
    EXPECT_FALSE(timeline.InTimelineArea(83, 100));
    EXPECT_FALSE(timeline.InTimelineArea(439, 100));
    EXPECT_FALSE(timeline.InTimelineArea(200, 158));
    EXPECT_EQ(timeline.RowAt(7, 37), 0);
    EXPECT_EQ(timeline.RowAt(435, 157), 7);
    EXPECT_EQ(timeline.RowAt(6, 40), -1);
    EXPECT_EQ(timeline.RowAt(100, 36), -1);

    // A click picks the frame and the row's Part; scrolled by 30 frames the same x is 30 later.
    timeline.LeftDown(XOf(12), 37 + 15 + 2);
    EXPECT_EQ(f.session.CurrentFrame(), 12);
    EXPECT_EQ(f.session.CurrentPart(), 1);
    timeline.LeftUp();
    timeline.ScrollHorizontal(ScrollAction::ToEnd, 0);
    EXPECT_EQ(timeline.ScrollTens(), 3);
    EXPECT_EQ(f.session.CurrentFrame(), 30);  // pulled into the visible frames
    timeline.LeftDown(XOf(12), 40);
    EXPECT_EQ(f.session.CurrentFrame(), 42);
    // Beyond the Motion's end: its last frame.
    timeline.LeftDown(438, 40);
    EXPECT_EQ(f.session.CurrentFrame(), 100);
}

TEST(MotionTimeline, ScrollRangeFollowsTheLength)
{
    MotionSessionFixture f(1, 60);
    MotionTimeline timeline(f.session);
    EXPECT_EQ(timeline.MaxScrollTens(), 0);
    timeline.ScrollHorizontal(ScrollAction::LineForward, 0);
    EXPECT_EQ(timeline.ScrollTens(), 0);
    ASSERT_TRUE(SetMotionLengthCommand(f.session, 100));
    EXPECT_EQ(timeline.MaxScrollTens(), 3);
    timeline.ScrollHorizontal(ScrollAction::Track, 9);
    EXPECT_EQ(timeline.ScrollTens(), 3);
    // Shortened again: the position comes back into range.
    ASSERT_TRUE(SetMotionLengthCommand(f.session, 60));
    timeline.UpdateScrollRanges();
    EXPECT_EQ(timeline.ScrollTens(), 0);
}

TEST(MotionTimeline, DragsPastTheRightEdgeSetTheAutoScrollSpeed)
{
    MotionSessionFixture f(1, 200);
    MotionTimeline timeline(f.session);
    timeline.LeftDown(XOf(5), 40);
    timeline.MouseMove(XOf(71));
    EXPECT_EQ(timeline.AutoScroll(), 1);
    EXPECT_EQ(f.session.CurrentFrame(), 70);
    timeline.MouseMove(XOf(95));
    EXPECT_EQ(timeline.AutoScroll(), 3);
    timeline.MouseMove(XOf(-12));
    EXPECT_EQ(timeline.AutoScroll(), -2);
    EXPECT_EQ(f.session.CurrentFrame(), 0);
    timeline.LeftUp();
    EXPECT_EQ(timeline.AutoScroll(), 0);
    timeline.MouseMove(XOf(30));
    EXPECT_EQ(f.session.CurrentFrame(), 0);  // no drag, no scrub
}

TEST(MotionTimeline, DeletesOverARangeKeepFrameZero)
{
    MotionSessionFixture f(2, 60);
    MotionTimeline timeline(f.session);
    for (int part : {0, 1})
        for (int frame : {1, 2, 3}) f.PutKey(part, frame, 1.0f);
    // Range dragged backwards from 2 to 0.
    ChooseRange(timeline, 2, 0);
    ASSERT_EQ(timeline.RangeLow(), 0);
    ASSERT_EQ(timeline.RangeHigh(), 2);
    f.session.SelectPart(1);
    EXPECT_TRUE(timeline.DeleteKeys());
    EXPECT_TRUE(f.HasKey(1, 0));
    EXPECT_FALSE(f.HasKey(1, 1));
    EXPECT_FALSE(f.HasKey(1, 2));
    EXPECT_TRUE(f.HasKey(1, 3));
    EXPECT_TRUE(f.HasKey(0, 2));
    EXPECT_TRUE(timeline.DeleteAllKeys());
    EXPECT_TRUE(f.HasKey(0, 0));
    EXPECT_FALSE(f.HasKey(0, 1));
    EXPECT_FALSE(f.HasKey(0, 2));
    EXPECT_TRUE(f.HasKey(0, 3));
}

TEST(MotionTimeline, PasteReplacesTheTargetFramesKeysAndGapsAlike)
{
    MotionSessionFixture f(2, 60);
    MotionTimeline timeline(f.session);
    f.PutKey(0, 11, 11.0f);
    f.PutKey(1, 11, 12.0f);
    f.PutKey(0, 40, 1.0f);
    f.PutKey(1, 42, 1.0f);
    ChooseRange(timeline, 10, 12);
    ASSERT_TRUE(timeline.CopyKeys());
    EXPECT_FALSE(timeline.HasRange());
    ASSERT_EQ(timeline.Clipboard().frames, 3);

    f.session.SetCurrentFrame(40);
    EXPECT_TRUE(timeline.PasteKeys());
    for (int part : {0, 1}) {
        EXPECT_FALSE(f.HasKey(part, 40));
        ASSERT_TRUE(f.HasKey(part, 41));
        EXPECT_FALSE(f.HasKey(part, 42));
    }
    EXPECT_EQ(f.Marker(0, 41), 11.0f);
    EXPECT_EQ(f.Marker(1, 41), 12.0f);

    // Near the end nothing lands after the last frame; a Part added since the
    // copy keeps its keys.
    const int added = AddCube(f.session, f.folder, "late.mqo");
    f.PutKey(added, 60, 5.0f);
    f.session.SetCurrentFrame(59);
    timeline.PasteKeys();
    EXPECT_TRUE(f.HasKey(0, 60));
    EXPECT_EQ(f.Track(0).keys.back().frame, 60);
    EXPECT_TRUE(f.HasKey(added, 60));
}

TEST(MotionTimeline, PastedKeysFollowTheirPartsAcrossDeletesUndoAndReparenting)
{
    // keys at 10: a x = 1, b x = 2, none of c (a gap).
    ThreeTopLevelParts f;
    EditorSession& session = f.session;
    Scene& scene = f.scene;
    const auto put = [&](int part, int frame, float x) {
        SetKeyMatrix(scene, 0, part, frame, MatrixTranslation(x, 0, 0));
    };
    const auto keyX = [&](int part, int frame) {
        const MotionTrack& track = scene.MotionAt(0).tracks[part];
        const int key = track.FindKey(frame);
        return key < 0 ? -1.0f : track.keys[key].matrix.m[3][0];
    };
    put(0, 10, 1);
    put(1, 10, 2);
    put(2, 40, 9);
    MotionTimeline& timeline = session.Timeline();
    ChooseRange(timeline, 10, 10);
    ASSERT_TRUE(timeline.CopyKeys());

    // a goes: b and c move up a place, and their own keys land on them.
    session.SelectPart(0);
    DeleteCurrentPart(session);
    session.SetCurrentFrame(40);
    ASSERT_TRUE(timeline.PasteKeys());
    EXPECT_EQ(keyX(0, 40), 2.0f);   // b's
    EXPECT_EQ(keyX(1, 40), -1.0f);  // c had no key at 10: its key at 40 goes

    // Undone, a is back and takes its key again.
    session.History().Undo();
    session.History().Undo();
    ASSERT_EQ(scene.PartCount(), 3);
    EXPECT_EQ(keyX(2, 40), 9.0f);
    session.SetCurrentFrame(50);
    ASSERT_TRUE(timeline.PasteKeys());
    EXPECT_EQ(keyX(0, 50), 1.0f);
    EXPECT_EQ(keyX(1, 50), 2.0f);

    // c copied at the top level (x = 3), then put under b: pasted where b is
    // at x = 2, its key is re-expressed to keep its place in the world.
    put(2, 10, 3);
    ChooseRange(timeline, 10, 10);
    ASSERT_TRUE(timeline.CopyKeys());
    session.SelectPart(2);
    ASSERT_TRUE(ReparentCurrentPart(session, 1));
    session.SetCurrentFrame(20);
    ASSERT_TRUE(timeline.PasteKeys());
    EXPECT_FLOAT_EQ(keyX(2, 20), 1.0f);
    EXPECT_FLOAT_EQ(WorldPoseAt(scene, scene.MotionAt(0), 20)[2].m[3][0], 3.0f);
}

TEST(MotionTimeline, ACommandDuringAKeyDragEndsItWithoutMovingKeys)
{
    struct Host : CommandHost {
        ScriptedPrompt prompt;
        UserPrompt& Prompt() override { return prompt; }
    } host;
    ThreeTopLevelParts f;
    EditorSession& session = f.session;
    Scene& scene = f.scene;
    SetKeyMatrix(scene, 0, 1, 10, MatrixTranslation(1, 0, 0));
    SetKeyMatrix(scene, 0, 2, 10, MatrixTranslation(2, 0, 0));
    session.SelectPart(1);
    RunCommand(EditorCommand::DeletePart, session, host);
    ASSERT_EQ(scene.PartCount(), 2);

    // c's key (now in the second row) is picked up; Ctrl+Z brings b back into that row.
    MotionTimeline& timeline = session.Timeline();
    timeline.LeftDown(XOf(10) + 1, 37 + 15 + 8);
    ASSERT_TRUE(timeline.DraggedKeys().has_value());
    timeline.MouseMove(XOf(30));
    RunCommand(EditorCommand::Undo, session, host);
    EXPECT_FALSE(timeline.DraggedKeys().has_value());
    timeline.LeftUp();
    ASSERT_EQ(scene.PartCount(), 3);
    for (int part : {1, 2}) {
        EXPECT_GE(scene.MotionAt(0).tracks[part].FindKey(10), 0) << part;
        EXPECT_LT(scene.MotionAt(0).tracks[part].FindKey(30), 0) << part;
    }
    EXPECT_TRUE(session.History().RedoEnabled());
}

TEST(MotionTimeline, ZoomMapsClicksAtTwoFiveAndTwentyPixelsAFrame)
{
    MotionSessionFixture f(1, 600);
    MotionTimeline timeline(f.session);
    struct Case {
        int pixels, visible, lastLine, rulerStep;
    };
    // Visible frames fill 355 pixels; the ruler's numbered lines stay 40 pixels apart or more.
    for (const Case c : {Case{2, 177, 85 + 2 * 176, 20}, Case{5, 71, 436, 10}, Case{20, 17, 94 + 20 * 16, 2}}) {
        timeline.SetFramePixels(c.pixels);
        SCOPED_TRACE(c.pixels);
        EXPECT_EQ(timeline.Geometry().VisibleFrames(), c.visible);
        EXPECT_EQ(timeline.FrameX(c.visible - 1), c.lastLine);
        EXPECT_EQ(timeline.Geometry().RulerStep(), c.rulerStep);
        // A frame's cell starts at 84 + pixels x frame; its line lies in it.
        for (int frame : {0, 1, c.visible - 1}) {
            EXPECT_EQ(timeline.FrameAtX(84 + c.pixels * frame), frame);
            EXPECT_EQ(timeline.FrameAtX(84 + c.pixels * frame + c.pixels - 1), frame);
            EXPECT_EQ(timeline.FrameAtX(timeline.FrameX(frame)), frame);
        }
        // The last frame in view is the Motion's when scrolled to the end.
        timeline.ScrollHorizontal(ScrollAction::ToEnd, 0);
        EXPECT_GE(timeline.FirstFrame() + c.visible - 1, 600);
        EXPECT_LT(timeline.FirstFrame() + c.visible - 11, 600);
        timeline.ScrollHorizontal(ScrollAction::ToStart, 0);
    }
    // The designed ruler numbers' places, in dialog units.
    const int designed[8] = {42, 71, 99, 128, 156, 185, 214, 242};
    for (int j = 0; j < 8; ++j) EXPECT_EQ(TimelineGeometry::RulerLabelLeftUnits(86 + 50 * j), designed[j]);

    // Ctrl+wheel keeps the frame under the mouse near it; the zoom stays within 2 ... 20.
    timeline.SetFramePixels(5);
    timeline.ScrollHorizontal(ScrollAction::Track, 20);  // frames 200 ... 270
    ASSERT_EQ(timeline.FrameAtX(300), 243);
    EXPECT_TRUE(timeline.ZoomAt(300, 15));
    EXPECT_EQ(timeline.FramePixels(), 20);
    EXPECT_NEAR(timeline.FrameAtX(300), 243, 5);
    EXPECT_FALSE(timeline.ZoomAt(300, 1));
    EXPECT_TRUE(timeline.ZoomAt(300, -30));
    EXPECT_EQ(timeline.FramePixels(), 2);
    EXPECT_NEAR(timeline.FrameAtX(300), 243, 5);
}

TEST(MotionTimeline, ALargerPanelShowsMoreRowsAndFrames)
{
    MotionSessionFixture f(12, 300);
    MotionTimeline timeline(f.session);
    f.session.SelectPart(0);
    EXPECT_EQ(timeline.MaxFirstRow(), 4);
    timeline.SetPanelGrowth(100, 3);
    EXPECT_EQ(timeline.Geometry().Rows(), 11);
    EXPECT_EQ(timeline.MaxFirstRow(), 1);
    EXPECT_EQ(timeline.Geometry().VisibleFrames(), 91);
    EXPECT_EQ(timeline.MaxScrollTens(), 21);
    // The eleventh row and the frame 90 are under the mouse now.
    EXPECT_EQ(timeline.RowAt(300, 37 + 15 * 10 + 5), 10);
    EXPECT_TRUE(timeline.InTimelineArea(538, 37 + 15 * 11));
    EXPECT_EQ(timeline.FrameAtX(538), 90);
    timeline.LeftDown(XOf(89), 37 + 15 * 10 + 5);
    EXPECT_EQ(f.session.CurrentFrame(), 89);
    EXPECT_EQ(f.session.CurrentPart(), 10);
    timeline.LeftUp();
}

TEST(MotionTimeline, DraggingAKeyMarkerMovesItAsOneUndoStep)
{
    MotionSessionFixture f(2, 60);
    MotionTimeline timeline(f.session);
    f.PutKey(1, 10, 10.0f);
    f.PutKey(1, 20, 20.0f);
    const int row1 = 37 + 15 + 8;  // on the markers of the second row
    const int steps = f.session.History().Position();
    timeline.LeftDown(XOf(10) + 1, row1);
    ASSERT_TRUE(timeline.DraggedKeys().has_value());
    EXPECT_EQ(f.session.GetScene().Parts()[1]->localPosition.x, 10.0f);  // the press shows the pose there
    timeline.MouseMove(XOf(20));
    EXPECT_EQ(timeline.DraggedKeys()->offset, 10);
    EXPECT_TRUE(f.HasKey(1, 10));  // nothing moves before the button comes up
    timeline.LeftUp();
    EXPECT_FALSE(f.HasKey(1, 10));
    EXPECT_EQ(f.Marker(1, 20), 10.0f);  // landed on frame 20's key and replaced it
    EXPECT_EQ(f.session.CurrentFrame(), 20);
    EXPECT_EQ(f.session.History().Position(), steps + 1);
    f.session.History().Undo();
    EXPECT_EQ(f.Marker(1, 10), 10.0f);
    EXPECT_EQ(f.Marker(1, 20), 20.0f);

    // Released where it was pressed: an ordinary click, moving no key.
    timeline.LeftDown(XOf(20), row1);
    timeline.LeftUp();
    EXPECT_NE(f.session.History().UndoLabel(), "キーの移動");
    EXPECT_EQ(f.Marker(1, 20), 20.0f);
    EXPECT_EQ(f.session.CurrentFrame(), 20);
    // The frame-0 marker is not picked up: the press scrubs.
    timeline.LeftDown(XOf(0), row1);
    EXPECT_FALSE(timeline.DraggedKeys().has_value());
    timeline.MouseMove(XOf(5));
    EXPECT_EQ(f.session.CurrentFrame(), 5);
    timeline.LeftUp();
    EXPECT_TRUE(f.HasKey(1, 0));
}

TEST(MotionTimeline, DraggingInsideTheRangeMovesEveryPartsKeysAndTheRange)
{
    MotionSessionFixture f(2, 60);
    MotionTimeline timeline(f.session);
    f.PutKey(0, 5, 5.0f);
    f.PutKey(1, 7, 7.0f);
    f.PutKey(1, 58, 58.0f);
    ChooseRange(timeline, 0, 8);
    // Pressed inside the range (between markers), dragged 60 frames on: the
    // block stops where its last key (7) meets the length; 58 is not in it.
    timeline.LeftDown(XOf(4), 100);
    timeline.MouseMove(XOf(64));
    timeline.LeftUp();
    EXPECT_TRUE(f.HasKey(0, 0));
    EXPECT_EQ(f.Marker(0, 58), 5.0f);
    EXPECT_EQ(f.Marker(1, 60), 7.0f);
    EXPECT_EQ(f.Marker(1, 58), 58.0f);
    EXPECT_TRUE(timeline.HasRange());
    EXPECT_EQ(timeline.RangeLow(), 53);
    EXPECT_EQ(timeline.RangeHigh(), 61);
    // A click inside the range without a drag clears it, as a click does.
    timeline.LeftDown(XOf(55), 100);
    timeline.LeftUp();
    EXPECT_FALSE(timeline.HasRange());
}

TEST(MotionTimeline, InterpolationGoesToTheRangesKeysOfTheSelectionAsOneUndoStepAndTravelsWithCopies)
{
    MotionSessionFixture f(2, 60);
    MotionTimeline& timeline = f.session.Timeline();
    for (int part : {0, 1})
        for (int frame : {10, 20, 30}) f.PutKey(part, frame, float(frame));
    f.session.History().Clear();
    const auto kinds = [&f](int part) {
        std::vector<InterpolationKind> out;
        for (const KeyFrame& key : f.Track(part).keys) out.push_back(key.interpolation.Kind());
        return out;
    };
    using K = InterpolationKind;

    // Without a range: the selected Part's key at the current frame.
    f.session.SelectPart(1);
    f.session.SetCurrentFrame(20);
    ASSERT_TRUE(timeline.SetInterpolation(KeyInterpolation::Step()));
    EXPECT_EQ(kinds(1), (std::vector<K>{K::Linear, K::Linear, K::Step, K::Linear}));
    EXPECT_EQ(kinds(0), (std::vector<K>{K::Linear, K::Linear, K::Linear, K::Linear}));
    // A range with no Part selected: every Part's keys inside it, as one step.
    f.session.SelectPart(-1);
    ChooseRange(timeline, 15, 30);
    const int steps = f.session.History().StepCount();
    ASSERT_TRUE(timeline.SetInterpolation(KeyInterpolation::Smooth()));
    EXPECT_EQ(f.session.History().StepCount(), steps + 1);
    EXPECT_EQ(kinds(0), (std::vector<K>{K::Linear, K::Linear, K::Smooth, K::Smooth}));
    EXPECT_EQ(kinds(1), (std::vector<K>{K::Linear, K::Linear, K::Smooth, K::Smooth}));
    EXPECT_TRUE(f.session.History().IsModified());
    EXPECT_FALSE(timeline.SetInterpolation(KeyInterpolation::Smooth()));  // nothing changes, no step
    f.session.History().Undo();
    EXPECT_EQ(kinds(1), (std::vector<K>{K::Linear, K::Linear, K::Step, K::Linear}));

    // Copied keys carry their interpolation onto the keys they replace.
    ChooseRange(timeline, 20, 20);
    ASSERT_TRUE(timeline.CopyKeys());
    f.session.SetCurrentFrame(30);
    ASSERT_TRUE(timeline.PasteKeys());
    EXPECT_EQ(kinds(1), (std::vector<K>{K::Linear, K::Linear, K::Step, K::Step}));

    // A new key takes the interpolation chosen for new keys; a key set again keeps its own.
    timeline.SetNewKeyInterpolation(KeyInterpolation::EaseOut());
    f.session.SelectPart(1);
    f.session.SetCurrentFrame(40);
    ASSERT_TRUE(timeline.SetKeyHere());
    f.session.SetCurrentFrame(20);
    ASSERT_TRUE(timeline.SetKeyHere());
    EXPECT_EQ(kinds(1), (std::vector<K>{K::Linear, K::Linear, K::Step, K::Step, K::Ease}));
}

TEST(MotionTimeline, ClicksScrubsAndPlaybackShowFramesAsNoUndoStepUnlessAnUnkeyedPoseGoes)
{
    MotionSessionFixture f(1, 60);
    MotionTimeline& timeline = f.session.Timeline();
    f.PutKey(0, 20, 8.0f);
    DocumentHistory& history = f.session.History();
    history.Clear();
    const auto shownX = [&f] { return f.session.GetScene().Parts()[0]->localPosition.x; };

    timeline.LeftDown(XOf(20), 40);
    EXPECT_EQ(shownX(), 8.0f);
    timeline.MouseMove(XOf(10));  // a left drag shows each frame too
    EXPECT_EQ(shownX(), 4.0f);
    timeline.LeftUp();
    f.session.Playback().Play();
    f.session.Playback().Stop();
    EXPECT_EQ(history.Position(), 0);

    // A pose no key holds: the scrub that throws it away is one step back to it.
    f.session.GetScene().Parts()[0]->localPosition.x = 3.0f;
    history.PushUndo("移動");
    timeline.RightDown(XOf(20), 40);
    timeline.MouseMove(XOf(30));
    timeline.RightUp();
    EXPECT_EQ(history.Position(), 2);
    EXPECT_EQ(history.UndoLabel(), "タイムラインのポーズ");
    history.Undo();
    EXPECT_EQ(shownX(), 3.0f);
}

TEST(MotionTimeline, FramesAfterTheLengthAreShadedFromTheEdgeOfTheFirstOnesCell)
{
    MotionSessionFixture f(1, 30);
    MotionTimeline& timeline = f.session.Timeline();
    // Frame 31 is the first after the Motion: its 5-pixel cell starts 2 pixels left of its line.
    ASSERT_TRUE(timeline.PastLengthX().has_value());
    EXPECT_EQ(*timeline.PastLengthX(), XOf(31) - 2);
    EXPECT_EQ(timeline.FrameAtX(*timeline.PastLengthX()), 31);
    EXPECT_EQ(timeline.FrameAtX(*timeline.PastLengthX() - 1), 30);
    // A Motion longer than the frames shown has nothing to shade.
    ASSERT_TRUE(SetMotionLengthCommand(f.session, 70));
    EXPECT_FALSE(timeline.PastLengthX().has_value());
    ASSERT_TRUE(SetMotionLengthCommand(f.session, 69));
    EXPECT_TRUE(timeline.PastLengthX().has_value());
}
