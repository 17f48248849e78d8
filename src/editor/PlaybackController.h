#pragma once

#include <cstdint>
#include <deque>
#include <functional>

namespace m3d {

class EditorSession;
class MotionTimeline;

// A monotonic millisecond clock that may wrap like a 32-bit counter.
using MillisecondClock = std::function<uint32_t()>;
// The steady clock in milliseconds since the first call.
MillisecondClock SteadyMilliseconds();

// Lowest and highest playback rate, frames per second.
constexpr int kMinFrameRate = 1;
constexpr int kMaxFrameRate = 120;

// Plays the current Motion and scrolls the timeline while a drag is held
// beyond its edges. The owner calls Step when MillisecondsToStep says one is
// due; the clock is injected so that tests drive time.
//
// Each step shows one frame. As designed, it is the next frame, so when
// drawing is slower than the rate the Motion plays slower. In real time it is
// the frame the clock has reached since playback started (or since the user
// picked a frame): frames are skipped to keep time, and a step that would come
// before its frame is due waits for it.
class PlaybackController {
public:
    PlaybackController(EditorSession& session, MotionTimeline& timeline, MillisecondClock clock);

    // The frame rate of playback and of the glTF export (30 until set; the
    // window loads and saves it with its settings). The rate is clamped to
    // kMinFrameRate ... kMaxFrameRate; a change is announced as
    // PlaybackSettingsChanged.
    void SetFramesPerSecond(int rate);
    int FramesPerSecond() const { return framesPerSecond; }
    // 1000 / rate, truncated: 33 ms at 30, 8 ms at 120.
    int FrameInterval() const { return 1000 / framesPerSecond; }

    // Real-time playback (off by default); switched while playing, the clock
    // starts again from the frame shown. A change is announced as
    // PlaybackSettingsChanged.
    void SetRealTime(bool on);
    bool RealTime() const { return realTime; }

    // Starts playback from the current frame; the first step is due at once.
    void Play();
    // Stops playback (nothing when not playing); one undo step only when
    // playing threw away a pose no key held (EndFrameChange).
    void Stop();

    // Milliseconds until the next step is due (0: now), or -1 when neither
    // playing nor auto-scrolling.
    int MillisecondsToStep() const;
    // Runs the step if it is due; true when it showed a frame or scrolled.
    bool Step();

    // Frames shown per second during about the last second of playback (the
    // rate achieved, whatever the rate set); 0 before two frames were shown
    // since playback started.
    double AchievedFramesPerSecond() const;

private:
    int AutoScrollDelay() const;
    // Milliseconds from the anchor until frame index (0: the anchor frame) is due in real time.
    int64_t RealTimeDue(int64_t index) const;
    void PlayStep(uint32_t now);
    void AutoScrollStep();

    EditorSession& session;
    MotionTimeline& timeline;
    MillisecondClock clock;
    int framesPerSecond = 30;
    int interval = 33;  // fixed when playback starts
    uint32_t lastTick = 0;
    bool realTime = false;
    int shownFrame = -1;  // the frame the last playback step showed; -1: none yet
    // Playback counts frames from an anchor: the frame shown first (when
    // playback started or the user picked a frame) at anchorTick.
    int anchorFrame = 0;
    uint32_t anchorTick = 0;
    int64_t shownIndex = 0;            // frames since the anchor frame of the frame shown
    std::deque<uint32_t> recentSteps;  // when the last frames were shown, oldest first
    // The pose on screen when playback started held edits no key keeps: the
    // stop is then an undo step that brings them back.
    bool unkeyedEditsBeforePlaying = false;
};

}  // namespace m3d
