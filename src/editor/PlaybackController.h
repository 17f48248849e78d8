#pragma once

#include <cstdint>
#include <functional>

class EditorSession;
class MotionTimeline;

// A monotonic millisecond clock that may wrap like a 32-bit counter.
using MillisecondClock = std::function<uint32_t()>;
// The steady clock in milliseconds since the first call.
MillisecondClock SteadyMilliseconds();

// Lowest and highest playback rate, frames per second.
constexpr int MIN_FRAME_RATE = 1;
constexpr int MAX_FRAME_RATE = 120;

// Plays the current Motion one frame per step and scrolls the timeline while
// a drag is held beyond its edges. The owner calls Step when MillisecondsToStep
// says one is due; the clock is injected so that tests drive time.
class PlaybackController {
public:
    PlaybackController(EditorSession& session, MotionTimeline& timeline, MillisecondClock clock);

    // The rate is clamped to MIN_FRAME_RATE ... MAX_FRAME_RATE.
    void SetFramesPerSecond(int rate);
    int FramesPerSecond() const { return framesPerSecond; }
    // 1000 / rate, truncated: 33 ms at 30, 8 ms at 120.
    int FrameInterval() const { return 1000 / framesPerSecond; }

    // Starts playback from the current frame; the first step is due at once.
    void Play();
    // Stops playback and records the pose shown as one undo step; nothing
    // when not playing.
    void Stop();

    // Milliseconds until the next step is due (0: now), or -1 when neither
    // playing nor auto-scrolling.
    int MillisecondsToStep() const;
    // Runs the step if it is due; true when it showed a frame or scrolled.
    // While playing it shows exactly one frame per step, never skipping one.
    bool Step();

private:
    int AutoScrollDelay() const;
    void PlayStep();
    void AutoScrollStep();

    EditorSession& session;
    MotionTimeline& timeline;
    MillisecondClock clock;
    int framesPerSecond = 30;
    int interval = 33;  // fixed when playback starts
    uint32_t lastTick = 0;
    int shownFrame = -1;  // the frame the last playback step showed
};
