#include "io/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace m3d {

namespace {

constexpr size_t kMaxErrorBytes = 64 * 1024;

// Between fork and exec only async-signal-safe calls: everything the child
// needs is prepared before the fork.
[[noreturn]] void BecomeChild(const char* program, char* const* argv, int outFd, int errFd, const ChildLimits& limits)
{
    const int nullFd = open("/dev/null", O_RDONLY);
    if (nullFd >= 0) dup2(nullFd, 0);
    dup2(outFd, 1);
    dup2(errFd, 2);
    close_range(3, ~0U, 0);
    if (limits.memoryBytes > 0 && !BuiltWithAddressSanitizer()) {
        const rlimit memory{limits.memoryBytes, limits.memoryBytes};
        setrlimit(RLIMIT_AS, &memory);
    }
    if (limits.cpuSeconds > 0) {
        const rlimit cpu{rlim_t(limits.cpuSeconds), rlim_t(limits.cpuSeconds) + 1};
        setrlimit(RLIMIT_CPU, &cpu);
    }
    execv(program, argv);
    const char message[] = "cannot run the reader program\n";
    (void)!write(2, message, sizeof message - 1);
    _exit(127);
}

}  // namespace

bool BuiltWithAddressSanitizer()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

ChildResult RunChildProcess(const std::string& program, const std::vector<std::string>& args, const ChildLimits& limits)
{
    ChildResult result;
    std::vector<std::string> words{program};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);

    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0) {
        result.error = std::strerror(errno);
        return result;
    }
    if (pipe2(errPipe, O_CLOEXEC) != 0) {
        result.error = std::strerror(errno);
        close(outPipe[0]);
        close(outPipe[1]);
        return result;
    }
    const pid_t pid = fork();
    if (pid == 0) BecomeChild(program.c_str(), argv.data(), outPipe[1], errPipe[1], limits);
    close(outPipe[1]);
    close(errPipe[1]);
    if (pid < 0) {
        result.error = std::strerror(errno);
        close(outPipe[0]);
        close(errPipe[0]);
        return result;
    }

    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(limits.wallMilliseconds);
    pollfd fds[2] = {{outPipe[0], POLLIN, 0}, {errPipe[0], POLLIN, 0}};
    bool killed = false;
    char buffer[65536];
    while (fds[0].fd >= 0 || fds[1].fd >= 0) {
        int wait = -1;
        if (limits.wallMilliseconds > 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) {
                result.end = ChildResult::End::TimedOut;
                killed = true;
                break;
            }
            wait = static_cast<int>(left);
        }
        const int ready = poll(fds, 2, wait);
        if (ready < 0 && errno != EINTR) break;
        for (int k = 0; k < 2; ++k) {
            if (fds[k].fd < 0 || fds[k].revents == 0) continue;
            const ssize_t n = read(fds[k].fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                close(fds[k].fd);
                fds[k].fd = -1;
                continue;
            }
            std::string& sink = k == 0 ? result.output : result.errors;
            if (k == 1) {
                sink.append(buffer, std::min(size_t(n), kMaxErrorBytes - std::min(kMaxErrorBytes, sink.size())));
            } else if (sink.size() + size_t(n) > limits.outputBytes) {
                result.end = ChildResult::End::TooMuchOutput;
                killed = true;
            } else {
                sink.append(buffer, size_t(n));
            }
        }
        if (killed) break;
    }
    for (pollfd& f : fds)
        if (f.fd >= 0) close(f.fd);
    int status = 0;
    // A child that closed its outputs may still be running: it gets what is left of its time.
    while (!killed) {
        const pid_t ended = waitpid(pid, &status, WNOHANG);
        if (ended == pid || (ended < 0 && errno != EINTR)) break;
        if (limits.wallMilliseconds > 0 && Clock::now() >= deadline) {
            result.end = ChildResult::End::TimedOut;
            killed = true;
            break;
        }
        usleep(2000);
    }
    if (killed) {
        kill(pid, SIGKILL);
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        return result;
    }
    if (WIFSIGNALED(status)) {
        result.end = ChildResult::End::Signalled;
        result.signal = WTERMSIG(status);
    } else {
        result.end = ChildResult::End::Exited;
        result.exitCode = WEXITSTATUS(status);
    }
    return result;
}

}  // namespace m3d
