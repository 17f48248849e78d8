#include "render/FrameTimer.h"

namespace m3d {

FrameTimer::FrameTimer(Clock clock) : clock(std::move(clock)) { stopTime = lastElapsed = clock(); }

void FrameTimer::Start()
{
    lastElapsed = clock();
    stopped = false;
}

void FrameTimer::Stop()
{
    if (stopped) return;
    stopTime = lastElapsed = clock();
    stopped = true;
}

float FrameTimer::ElapsedSeconds()
{
    const TimePoint now = stopped ? stopTime : clock();
    const std::chrono::duration<double> elapsed = now - lastElapsed;
    lastElapsed = now;
    return static_cast<float>(elapsed.count());
}

}  // namespace m3d
