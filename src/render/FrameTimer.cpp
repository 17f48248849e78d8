#include "render/FrameTimer.h"

namespace m3d {

FrameTimer::FrameTimer(Clock clock) : clock_(std::move(clock)) { stopTime_ = lastElapsed_ = clock_(); }

void FrameTimer::Start()
{
    lastElapsed_ = clock_();
    stopped_ = false;
}

void FrameTimer::Stop()
{
    if (stopped_) return;
    stopTime_ = lastElapsed_ = clock_();
    stopped_ = true;
}

float FrameTimer::ElapsedSeconds()
{
    const TimePoint now = stopped_ ? stopTime_ : clock_();
    const std::chrono::duration<double> elapsed = now - lastElapsed_;
    lastElapsed_ = now;
    return static_cast<float>(elapsed.count());
}

}  // namespace m3d
