#pragma once

#include <csignal>
#include <cstddef>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace m3d {

// Runs work in a child process under the limit resource = bytes (setrlimit).
// True when work returned true there; a crash or an exception counts as false.
inline bool RunWithResourceLimit(int resource, rlim_t bytes, const std::function<bool()>& work)
{
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        setrlimit(resource, &limit);
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// No file may grow past bytes: a write beyond that fails part way (EFBIG), as
// on a full disk.
inline bool RunWithFileSizeLimit(rlim_t bytes, const std::function<bool()>& work)
{
    return RunWithResourceLimit(RLIMIT_FSIZE, bytes, work);
}

// No more than bytes of address space: an allocation beyond that fails.
// The address sanitizer reserves terabytes of shadow memory up front, so
// under it the limit cannot be set and work runs unbounded.
inline bool RunWithAddressSpaceLimit(size_t bytes, const std::function<bool()>& work)
{
#if defined(__SANITIZE_ADDRESS__)
    (void)bytes;
    return work();
#else
    return RunWithResourceLimit(RLIMIT_AS, rlim_t(bytes), work);
#endif
}

}  // namespace m3d
