#include "editor/PlaybackController.h"

#include "anim/MotionLoop.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "editor/MotionTimeline.h"
#include "support/MotionFixtures.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

struct Playback : MotionSessionFixture {
    uint32_t now = 0xFFFFFFF0u;  // wraps during the test
    MotionTimeline timeline{session};
    PlaybackController controller{session, timeline, [this] { return now; }};

    explicit Playback(int length) : MotionSessionFixture(1, length) {}
};

// The frame a step shows ms milliseconds on; the step must run.
int FrameAfter(Playback& p, uint32_t ms)
{
    p.now += ms;
    EXPECT_TRUE(p.controller.Step());
    return p.session.CurrentFrame();
}

void PutKeyMatrix(Playback& p, int frame, const Matrix4& matrix)
{
    ASSERT_TRUE(SetKeyMatrix(p.session.GetScene(), p.session.CurrentMotion(), 0, frame, matrix));
}

}  // namespace

TEST(PlaybackController, ShowsOneFramePerIntervalAtThirtyAndOneTwenty)
{
    for (auto [rate, interval] : {std::pair{30, 33}, std::pair{120, 8}}) {
        Playback p(60);
        p.controller.SetFramesPerSecond(rate);
        p.controller.Play();
        ASSERT_TRUE(p.controller.Step());
        EXPECT_EQ(p.session.CurrentFrame(), 0);
        p.now += interval - 1;
        EXPECT_EQ(p.controller.MillisecondsToStep(), 1);
        EXPECT_FALSE(p.controller.Step());
        p.now += 1;
        ASSERT_TRUE(p.controller.Step());
        EXPECT_EQ(p.session.CurrentFrame(), 1);
        // Late by many intervals: still the next frame, none skipped.
        p.now += 10 * interval;
        ASSERT_TRUE(p.controller.Step());
        EXPECT_EQ(p.session.CurrentFrame(), 2);
    }
    Playback p(60);
    p.controller.SetFramesPerSecond(0);
    EXPECT_EQ(p.controller.FrameInterval(), 1000);
    p.controller.SetFramesPerSecond(500);
    EXPECT_EQ(p.controller.FramesPerSecond(), 120);
}

TEST(PlaybackController, LoopsAfterTheLastFrameAndJumpsTheTimeline)
{
    Playback p(100);
    p.session.SetCurrentFrame(70);
    p.controller.Play();
    auto next = [&p] {
        p.now += 33;
        EXPECT_TRUE(p.controller.Step());
        return p.session.CurrentFrame();
    };
    EXPECT_EQ(next(), 70);
    EXPECT_EQ(p.timeline.ScrollTens(), 0);
    EXPECT_EQ(next(), 71);
    EXPECT_EQ(p.timeline.ScrollTens(), 4);
    p.session.SetCurrentFrame(100);  // a click during playback
    EXPECT_EQ(next(), 100);
    EXPECT_EQ(next(), 0);
    EXPECT_EQ(p.timeline.ScrollTens(), 0);

    // A loop's last frame is its first again: after it comes frame 1, and the
    // switch comes and goes as one undo step.
    ASSERT_TRUE(SetMotionLoopCommand(p.session, 0, true));
    p.session.SetCurrentFrame(99);
    EXPECT_EQ(next(), 99);
    EXPECT_EQ(next(), 100);
    EXPECT_EQ(next(), 1);
    p.controller.Stop();
    p.session.History().Undo();
    EXPECT_FALSE(p.session.GetScene().MotionAt(0).loop);
}

// In a loop both ends are one pose: a key set at either end is set at both,
// and Match Ends copies frame 0 to the last frame as one undo step.
TEST(PlaybackController, ALoopKeepsItsEndsOnePose)
{
    Playback p(20);
    PutKeyMatrix(p, 20, MatrixTranslation(0, 5, 0));
    EXPECT_EQ(MatchLoopEndsCommand(p.session), 1);
    const MotionTrack& track = p.session.GetScene().MotionAt(0).tracks[0];
    EXPECT_EQ(track.keys.back().matrix, track.keys.front().matrix);
    p.session.History().Undo();
    EXPECT_EQ(track.keys.back().matrix, MatrixTranslation(0, 5, 0));

    ASSERT_TRUE(SetMotionLoopCommand(p.session, 0, true));
    PutKeyMatrix(p, 0, MatrixTranslation(1, 2, 3));
    EXPECT_EQ(track.keys.back().frame, 20);
    EXPECT_EQ(track.keys.back().matrix, MatrixTranslation(1, 2, 3));
    PutKeyMatrix(p, 20, MatrixTranslation(4, 5, 6));
    EXPECT_EQ(track.keys.front().matrix, MatrixTranslation(4, 5, 6));

    // The timeline repeats the keys past the end: frames 0, 7 and 20 of a 20-frame cycle at 27, 40, 47 ...
    PutKeyMatrix(p, 7, MatrixTranslation(0, 1, 0));
    EXPECT_EQ(RepeatedKeyFrames(track, 20, 0, 48), (std::vector<int32_t>{27, 40, 47}));
    EXPECT_EQ(RepeatedKeyFrames(track, 20, 41, 67), (std::vector<int32_t>{47, 60, 67}));
    EXPECT_TRUE(RepeatedKeyFrames(track, 0, 0, 100).empty());
}

TEST(PlaybackController, StopTwiceRecordsOneUndoStep)
{
    Playback p(60);
    PutKeyMatrix(p, 10, MatrixTranslation(4, 0, 0));
    p.session.SetCurrentFrame(10);
    p.controller.Play();
    p.controller.Step();
    const int before = p.session.History().Position();
    p.controller.Stop();
    p.controller.Stop();
    EXPECT_FALSE(p.session.IsPlaying());
    EXPECT_EQ(p.session.History().Position(), before + 1);
    EXPECT_EQ(p.controller.MillisecondsToStep(), -1);
}

TEST(PlaybackController, AutoScrollStopsAtTheLastFrameSoNoKeyLandsBeyondIt)
{
    Playback p(100);
    p.timeline.LeftDown(86, 40);
    p.timeline.MouseMove(86 + 5 * 75);
    ASSERT_EQ(p.timeline.AutoScroll(), 1);
    for (int i = 0; i < 6; ++i) {
        p.now += 100;
        EXPECT_TRUE(p.controller.Step());
    }
    EXPECT_EQ(p.timeline.ScrollTens(), 3);
    EXPECT_EQ(p.session.CurrentFrame(), 100);
    p.timeline.SetAllKeys();
    EXPECT_EQ(p.Track(0).keys.back().frame, 100);
}

TEST(PlaybackController, RealTimeShowsTheFrameTheClockReachedAndWaitsWhenEarly)
{
    Playback p(100);
    p.controller.SetRealTime(true);
    p.session.SetCurrentFrame(90);
    p.controller.Play();
    EXPECT_EQ(FrameAfter(p, 0), 90);
    // Early: frame 91 is due 34 ms after the start (1000 / 30, rounded up).
    p.now += 20;
    EXPECT_EQ(p.controller.MillisecondsToStep(), 14);
    EXPECT_FALSE(p.controller.Step());
    EXPECT_EQ(FrameAfter(p, 14), 91);
    // Late: 300 ms after the start is frame 99; frames 92 ... 98 are skipped.
    EXPECT_EQ(FrameAfter(p, 266), 99);
    // Past the last frame (100) the Motion goes on from 0: 500 ms in, 15
    // frames on from 90, is frame 4 of the next loop.
    EXPECT_EQ(FrameAfter(p, 200), 4);
    EXPECT_EQ(p.timeline.ScrollTens(), 0);
    // Four frames shown in 500 ms: three intervals.
    EXPECT_NEAR(p.controller.AchievedFramesPerSecond(), 6.0, 1e-9);

    // A frame picked during playback is shown at the next step and the clock starts again from it.
    p.session.SetCurrentFrame(50);
    EXPECT_EQ(FrameAfter(p, 40), 50);
    EXPECT_EQ(FrameAfter(p, 100), 53);
    // Without real time every frame is shown again, however late.
    p.controller.SetRealTime(false);
    EXPECT_EQ(FrameAfter(p, 1000), 53);
    EXPECT_EQ(FrameAfter(p, 1000), 54);
}

TEST(PlaybackController, AnnouncesEachChangeOfRateOrRealTimeOnce)
{
    Playback p(10);
    int announced = 0;
    const EditorSubscription listening = p.session.Events().Subscribe([&announced](const EditorEvent& event) {
        if (std::holds_alternative<PlaybackSettingsChanged>(event)) ++announced;
    });
    p.controller.SetFramesPerSecond(60);
    p.controller.SetFramesPerSecond(60);
    EXPECT_EQ(announced, 1);
    p.controller.SetFramesPerSecond(500);  // clamped to 120: a change
    p.controller.SetFramesPerSecond(120);
    EXPECT_EQ(announced, 2);
    p.controller.SetRealTime(true);
    p.controller.SetRealTime(true);
    EXPECT_EQ(announced, 3);
}
