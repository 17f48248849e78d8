#include "render/FrameTimer.h"

#include "support/RenderTestApp.h"

#include <gtest/gtest.h>

using namespace m3d;

TEST(FrameTimer, CountsOnlyWhileRunning)
{
    ScriptedClock clock;
    FrameTimer timer(clock.Function());
    EXPECT_TRUE(timer.Stopped());
    clock.AdvanceMilliseconds(100);
    EXPECT_EQ(timer.ElapsedSeconds(), 0.0f);

    timer.Start();
    clock.AdvanceMilliseconds(250);
    EXPECT_FLOAT_EQ(timer.ElapsedSeconds(), 0.25f);
    EXPECT_EQ(timer.ElapsedSeconds(), 0.0f);  // nothing since the last query
    clock.AdvanceMilliseconds(40);
    timer.Stop();
    // The time up to the stop is still owed; then the clock stands still.
    EXPECT_EQ(timer.ElapsedSeconds(), 0.0f);
    clock.AdvanceMilliseconds(1000);
    EXPECT_EQ(timer.ElapsedSeconds(), 0.0f);
    timer.Stop();
    EXPECT_TRUE(timer.Stopped());

    timer.Start();
    clock.AdvanceMilliseconds(5);
    EXPECT_FLOAT_EQ(timer.ElapsedSeconds(), 0.005f);
    // Starting a running clock restarts the count.
    clock.AdvanceMilliseconds(7);
    timer.Start();
    clock.AdvanceMilliseconds(3);
    EXPECT_FLOAT_EQ(timer.ElapsedSeconds(), 0.003f);
}
