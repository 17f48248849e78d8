#include "editor/MotionTimeline.h"

#include "support/MotionFixtures.h"

#include <gtest/gtest.h>

namespace {

// Client x of the middle of frame f's five pixels with the timeline at its start.
int XOf(int frame) { return 86 + 5 * frame; }

}  // namespace

TEST(MotionTimeline, MouseMappingAtTheEdgesOfTheTimeline)
{
    MotionSessionFixture f(2, 100);
    MotionTimeline timeline(f.session);
    EXPECT_EQ(timeline.FrameAtX(84), 0);
    EXPECT_EQ(timeline.FrameAtX(88), 0);
    EXPECT_EQ(timeline.FrameAtX(89), 1);
    EXPECT_EQ(timeline.FrameX(70), 436);
    EXPECT_TRUE(MotionTimeline::InTimelineArea(84, 37));
    EXPECT_TRUE(MotionTimeline::InTimelineArea(438, 157));
    EXPECT_FALSE(MotionTimeline::InTimelineArea(83, 100));
    EXPECT_FALSE(MotionTimeline::InTimelineArea(439, 100));
    EXPECT_FALSE(MotionTimeline::InTimelineArea(200, 158));
    EXPECT_EQ(MotionTimeline::RowAt(7, 37), 0);
    EXPECT_EQ(MotionTimeline::RowAt(435, 157), 7);
    EXPECT_EQ(MotionTimeline::RowAt(6, 40), -1);
    EXPECT_EQ(MotionTimeline::RowAt(100, 36), -1);

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
    timeline.LeftDoubleClick(XOf(2), 40);
    timeline.MouseMove(XOf(0));
    timeline.LeftUp();
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
    timeline.LeftDoubleClick(XOf(10), 40);
    timeline.MouseMove(XOf(12));
    timeline.LeftUp();
    ASSERT_TRUE(timeline.CopyKeys());
    EXPECT_FALSE(timeline.HasRange());
    ASSERT_EQ(timeline.Clipboard().slots.size(), 3u);

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
