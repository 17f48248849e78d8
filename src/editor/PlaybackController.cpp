#include "editor/PlaybackController.h"

#include "anim/PoseEvaluation.h"
#include "editor/EditorSession.h"
#include "editor/MotionTimeline.h"

#include "editor/CommandRegistry.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>

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
    framesPerSecond = std::clamp(rate, MIN_FRAME_RATE, MAX_FRAME_RATE);
}

void PlaybackController::Play()
{
    interval = FrameInterval();
    lastTick = clock() - static_cast<uint32_t>(interval);
    shownFrame = -1;
    session.SetPlaying(true);
}

void PlaybackController::Stop()
{
    if (!session.IsPlaying()) return;
    session.History().PushUndo(UndoLabelOf(EditorCommand::Stop));
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

int PlaybackController::MillisecondsToStep() const
{
    int wait = 0;
    if (session.IsPlaying()) wait = interval;
    else if (timeline.AutoScroll() != 0) wait = AutoScrollDelay();
    else return -1;
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
    if (session.IsPlaying()) PlayStep();
    else AutoScrollStep();
    return true;
}

void PlaybackController::PlayStep()
{
    const int length = session.GetScene().motions[session.CurrentMotion()].length;
    int frame = session.CurrentFrame();
    // A frame the user picked during playback is shown next; otherwise the
    // play head moves on by one and loops after the last frame.
    if (frame == shownFrame) {
        ++frame;
        if (frame > length) {
            frame = 0;
            timeline.SetScrollTens(0);
        }
        if (frame > 10 * timeline.ScrollTens() + TIMELINE_VISIBLE_FRAMES - 1)
            timeline.SetScrollTens(timeline.ScrollTens() + 4);
    }
    frame = std::min(frame, length);
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
        int frame = 10 * tens + TIMELINE_VISIBLE_FRAMES - 1;
        if (session.CurrentMotion() >= 0)
            frame = std::min(frame, session.GetScene().motions[session.CurrentMotion()].length);
        session.SetCurrentFrame(frame);
    } else {
        timeline.SetScrollTens(std::max(0, timeline.ScrollTens() - 1));
        session.SetCurrentFrame(10 * timeline.ScrollTens());
    }
}
