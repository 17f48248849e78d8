#include "editor/PlaybackController.h"

#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "editor/FrameNavigation.h"
#include "editor/CommandRegistry.h"
#include "editor/MotionTimeline.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

namespace m3d {

MillisecondClock SteadyMilliseconds()
{
    const auto start = std::chrono::steady_clock::now();
    return [start] {
        const auto elapsed = std::chrono::steady_clock::now() - start;
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    };
}

PlaybackController::PlaybackController(EditorSession& session, MotionTimeline& timeline, MillisecondClock clock)
    : session(session), timeline(timeline), clock(std::move(clock))
{
    lastTick = this->clock();
}

void PlaybackController::SetFramesPerSecond(int rate)
{
    const int clamped = std::clamp(rate, kMinFrameRate, kMaxFrameRate);
    if (clamped == framesPerSecond) return;
    framesPerSecond = clamped;
    session.Events().Publish(PlaybackSettingsChanged{});
}

void PlaybackController::SetRealTime(bool on)
{
    if (on == realTime) return;
    realTime = on;
    shownFrame = -1;
    session.Events().Publish(PlaybackSettingsChanged{});
}

void PlaybackController::Play()
{
    interval = FrameInterval();
    lastTick = clock() - static_cast<uint32_t>(interval);
    shownFrame = -1;
    recentSteps.clear();
    unkeyedEditsBeforePlaying = PoseHasUnkeyedEdits(session);
    session.SetPlaying(true);
}

void PlaybackController::Stop()
{
    if (!session.IsPlaying()) return;
    EndFrameChange(session, unkeyedEditsBeforePlaying, UndoLabelOf(EditorCommand::Stop));
    session.SetPlaying(false);
}

int PlaybackController::AutoScrollDelay() const
{
    switch (std::abs(timeline.AutoScroll())) {
    case 1: return 100;
    case 2: return 50;
    case 3: return 12;
    default: return 2;
    }
}

int64_t PlaybackController::RealTimeDue(int64_t index) const
{
    return (index * 1000 + framesPerSecond - 1) / framesPerSecond;
}

int PlaybackController::MillisecondsToStep() const
{
    if (session.IsPlaying() && realTime) {
        if (shownFrame < 0) return 0;
        const int64_t elapsed = static_cast<uint32_t>(clock() - anchorTick);
        return static_cast<int>(std::max<int64_t>(0, RealTimeDue(shownIndex + 1) - elapsed));
    }
    int wait = 0;
    if (session.IsPlaying())
        wait = interval;
    else if (timeline.AutoScroll() != 0)
        wait = AutoScrollDelay();
    else
        return -1;
    const uint32_t elapsed = clock() - lastTick;
    return elapsed >= static_cast<uint32_t>(wait) ? 0 : wait - static_cast<int>(elapsed);
}

bool PlaybackController::Step()
{
    if (session.IsPlaying() && (session.CurrentMotion() < 0 || session.GetScene().PartCount() == 0)) {
        session.SetPlaying(false);
        return false;
    }
    if (MillisecondsToStep() != 0) return false;
    lastTick = clock();
    if (session.IsPlaying())
        PlayStep(lastTick);
    else
        AutoScrollStep();
    return true;
}

double PlaybackController::AchievedFramesPerSecond() const
{
    if (recentSteps.size() < 2) return 0.0;
    const uint32_t span = recentSteps.back() - recentSteps.front();
    return span == 0 ? 0.0 : 1000.0 * static_cast<double>(recentSteps.size() - 1) / span;
}

void PlaybackController::PlayStep(uint32_t now)
{
    recentSteps.push_back(now);
    while (recentSteps.size() > 2 && now - recentSteps.front() > 1000) recentSteps.pop_front();

    const Motion& motion = session.GetScene().Motions()[session.CurrentMotion()];
    const int length = motion.length;
    int frame = session.CurrentFrame();
    if (frame != shownFrame) {
        // A frame the user picked during playback (or the one it starts at)
        // is shown now, and the count starts from it.
        frame = std::min(frame, length);
        anchorFrame = frame;
        anchorTick = now;
        shownIndex = 0;
    } else {
        // The next frame, or in real time the frame the clock has reached;
        // after the last frame the Motion starts again from 0, or from 1 in a
        // loop, whose last frame is its first again.
        shownIndex = realTime ? std::max<int64_t>(shownIndex + 1, int64_t{static_cast<uint32_t>(now - anchorTick)} *
                                                                      framesPerSecond / 1000)
                              : shownIndex + 1;
        const int64_t reached = anchorFrame + shownIndex;
        frame = static_cast<int>(!motion.loop || length == 0 || reached <= length ? reached % (int64_t{length} + 1)
                                                                                  : 1 + (reached - 1) % length);
        if (frame < shownFrame) timeline.SetScrollTens(0);
        const int visible = timeline.Geometry().VisibleFrames();
        while (frame > timeline.FirstFrame() + visible - 1)
            timeline.SetScrollTens(timeline.ScrollTens() + timeline.PlayJumpTens());
    }
    shownFrame = frame;
    session.SetCurrentFrame(frame);
    EvaluatePose(session.GetScene(), session.CurrentMotion(), frame);
    session.ShowCurrentTransform();
}

void PlaybackController::AutoScrollStep()
{
    if (timeline.AutoScroll() > 0) {
        // Stops where the last frame is in view, as the scroll bar does.
        int tens = timeline.ScrollTens() + 1;
        if (session.CurrentMotion() >= 0) tens = std::min(tens, timeline.MaxScrollTens());
        timeline.SetScrollTens(tens);
        int frame = 10 * tens + timeline.Geometry().VisibleFrames() - 1;
        if (session.CurrentMotion() >= 0)
            frame = std::min(frame, session.GetScene().Motions()[session.CurrentMotion()].length);
        session.SetCurrentFrame(frame);
    } else {
        timeline.SetScrollTens(std::max(0, timeline.ScrollTens() - 1));
        session.SetCurrentFrame(10 * timeline.ScrollTens());
    }
}

}  // namespace m3d
