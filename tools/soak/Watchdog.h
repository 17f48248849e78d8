#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace m3d::soak {

// The exit code of a run the watchdog ended.
inline constexpr int kHangExitCode = 70;

// Watches the main thread from a thread of its own. The main thread beats
// from a timer of its event loop, which also runs inside modal dialogs; when
// no beat comes for the limit, the watchdog says so on standard error with
// the step being played, has the main thread print where it is, and ends the
// process with kHangExitCode. It arms at the first beat, so start-up is not
// timed.
class Watchdog {
public:
    // Call from the main thread, which it will watch.
    explicit Watchdog(std::chrono::milliseconds limit);
    ~Watchdog();
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

    // The main thread is processing events.
    void Beat();
    // What the main thread is doing now, for the report.
    void SetDoing(const std::string& text);

private:
    void Watch();

    const std::chrono::milliseconds limit;
    std::atomic<long long> lastBeat{0};  // steady clock, in ms; 0 before the first
    std::mutex mutex;
    std::condition_variable stopped;
    bool stopping = false;
    std::string doing;
    std::thread thread;
};

// Fatal signals (a crash, an abort) print the signal and the stack of the
// thread that took it before the process dies of the signal. Builds with the
// address sanitizer leave these signals to it.
void InstallCrashReports();

}  // namespace m3d::soak
