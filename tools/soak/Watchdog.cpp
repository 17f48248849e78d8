#include "Watchdog.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <execinfo.h>
#include <pthread.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace m3d::soak {

namespace {

pthread_t watchedThread;
std::atomic<bool> stackPrinted{false};

long long NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Say(const char* text) { [[maybe_unused]] const ssize_t written = write(STDERR_FILENO, text, std::strlen(text)); }

void PrintStack()
{
#if defined(__SANITIZE_ADDRESS__)
    __sanitizer_print_stack_trace();
#else
    void* frames[128];
    const int count = backtrace(frames, 128);
    backtrace_symbols_fd(frames, count, STDERR_FILENO);
#endif
}

void PrintStackOnSignal(int)
{
    Say("m3d_soak: the main thread's stack:\n");
    PrintStack();
    stackPrinted = true;
}

#if !defined(__SANITIZE_ADDRESS__)
void ReportFatalSignal(int signal)
{
    char text[96];
    std::snprintf(text, sizeof text, "m3d_soak: fatal signal %d (%s)\n", signal, strsignal(signal));
    Say(text);
    PrintStack();
    std::signal(signal, SIG_DFL);
    raise(signal);
}
#endif

}  // namespace

Watchdog::Watchdog(std::chrono::milliseconds hangLimit) : limit(hangLimit)
{
    watchedThread = pthread_self();
    struct sigaction action {};
    action.sa_handler = PrintStackOnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGUSR2, &action, nullptr);
    // backtrace() loads its unwinder on first use; not inside a signal handler.
    void* frame[1];
    backtrace(frame, 1);
    thread = std::thread([this] { Watch(); });
}

Watchdog::~Watchdog()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    stopped.notify_all();
    thread.join();
}

void Watchdog::Beat() { lastBeat = NowMs(); }

void Watchdog::SetDoing(const std::string& text)
{
    std::lock_guard<std::mutex> lock(mutex);
    doing = text;
}

void Watchdog::Watch()
{
    std::unique_lock<std::mutex> lock(mutex);
    while (!stopped.wait_for(lock, std::chrono::milliseconds(200), [this] { return stopping; })) {
        const long long beat = lastBeat;
        if (beat == 0 || NowMs() - beat <= limit.count()) continue;
        std::fprintf(stderr, "m3d_soak: HANG: the main thread has processed no events for %.1f s, in step: %s\n",
                     double(NowMs() - beat) / 1000.0, doing.c_str());
        std::fflush(stderr);
        pthread_kill(watchedThread, SIGUSR2);
        for (int wait = 0; wait < 50 && !stackPrinted; ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!stackPrinted) Say("m3d_soak: the main thread did not answer for its stack\n");
        _exit(kHangExitCode);
    }
}

void InstallCrashReports()
{
#if !defined(__SANITIZE_ADDRESS__)
    static char alternateStack[64 * 1024];
    stack_t stack{};
    stack.ss_sp = alternateStack;
    stack.ss_size = sizeof alternateStack;
    sigaltstack(&stack, nullptr);
    struct sigaction action {};
    action.sa_handler = ReportFatalSignal;
    action.sa_flags = SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) sigaction(signal, &action, nullptr);
#endif
}

}  // namespace m3d::soak
