#pragma once

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace m3d {

// Runs work in a child process in which no file may grow past bytes: a write
// beyond that fails part way (EFBIG), as on a full disk. True when work
// returned true there.
inline bool RunWithFileSizeLimit(rlim_t bytes, const std::function<bool()>& work)
{
    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{bytes, bytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace m3d
