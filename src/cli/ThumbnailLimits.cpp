#include "cli/ThumbnailLimits.h"

#include "io/ChildProcess.h"
#include "io/FileReading.h"
#include "io/PathLookup.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

namespace m3d {

namespace {

// The line the alarm prints, made before it can come: a signal handler may not allocate.
char timeLimitLine[1024];
size_t timeLimitLineLength = 0;

std::string TimeLimitText(const std::string& input)
{
    return input + ": a thumbnail may take " + std::to_string(kThumbnailSeconds) +
           " s, and this one takes longer; nothing was written";
}

void EndAtTimeLimit(int)
{
    static_cast<void>(!write(STDERR_FILENO, timeLimitLine, timeLimitLineLength));
    _exit(1);
}

void BlockAlarm(int how)
{
    sigset_t alarm;
    sigemptyset(&alarm);
    sigaddset(&alarm, SIGALRM);
    sigprocmask(how, &alarm, nullptr);
}

}  // namespace

void HoldToThumbnailLimits(const std::string& input)
{
    // Each thread's malloc arena reserves 64 MB of address space, and Mesa's
    // software rasteriser starts a thread for every processor: a few of each
    // keep a machine of many processors within the limit (a rasteriser thread
    // count set by the user stays).
    mallopt(M_ARENA_MAX, 2);
    setenv("LP_NUM_THREADS", "4", 0);
    if (!BuiltWithAddressSanitizer()) {
        rlimit memory{};
        getrlimit(RLIMIT_AS, &memory);
        if (memory.rlim_cur == RLIM_INFINITY || memory.rlim_cur > kThumbnailMemoryBytes) {
            memory.rlim_cur = kThumbnailMemoryBytes;
            setrlimit(RLIMIT_AS, &memory);
        }
    }
    const std::string line = TimeLimitText(input).substr(0, sizeof timeLimitLine - 2) + "\n";
    std::memcpy(timeLimitLine, line.data(), line.size());
    timeLimitLineLength = line.size();
    struct sigaction action {};
    action.sa_handler = EndAtTimeLimit;
    sigaction(SIGALRM, &action, nullptr);
    alarm(kThumbnailSeconds);
    ConfineReadsTo(DirectoryOf(CanonicalPath(input)));
}

Outcome WriteWithinThumbnailTime(const std::string& input, const std::string& output,
                                 const std::function<Outcome()>& write)
{
    BlockAlarm(SIG_BLOCK);
    Outcome written = write();
    sigset_t pending;
    sigpending(&pending);
    if (sigismember(&pending, SIGALRM)) {
        if (written) unlink(output.c_str());
        return Outcome::Failure(TimeLimitText(input));
    }
    alarm(0);
    BlockAlarm(SIG_UNBLOCK);
    return written;
}

Outcome ThumbnailMemoryRefusal(const std::string& input)
{
    return Outcome::Failure(input + ": a thumbnail may take " + std::to_string(kThumbnailMemoryBytes >> 20) +
                            " MB of memory, and this one needs more; nothing was written");
}

}  // namespace m3d
