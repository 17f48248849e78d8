#pragma once

#include <chrono>
#include <functional>

namespace m3d {

// The frame clock: seconds between successive elapsed-time queries. While
// stopped the clock stands still, so time spent paused never reaches the
// animation; starting again counts the next elapsed time from the start.
// A new timer is stopped.
class FrameTimer {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    // The time source; tests script it to produce exact intervals.
    using Clock = std::function<TimePoint()>;

    explicit FrameTimer(Clock clock = [] { return std::chrono::steady_clock::now(); });

    // Resumes a stopped clock; the next elapsed time counts from now.
    void Start();
    // Freezes the clock (nothing happens when it is already stopped).
    void Stop();
    // Seconds since the previous query (or since Start); 0 while stopped.
    float ElapsedSeconds();
    bool Stopped() const { return stopped; }

private:
    Clock clock;
    bool stopped = true;
    TimePoint stopTime;
    TimePoint lastElapsed;
};

}  // namespace m3d
