#include "io/ProcessIdentity.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace m3d {

namespace {

constexpr size_t kBootChars = 8;

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

// The first bytes of a small file under /proc; false with errno set when it cannot be read.
bool ReadProcFile(const std::string& path, std::string& text)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char buffer[1024];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    const int readErrno = errno;
    close(fd);
    if (n < 0) {
        errno = readErrno;
        return false;
    }
    text.assign(buffer, static_cast<size_t>(n));
    return true;
}

template <class T>
bool ParseNumber(std::string_view text, T& value)
{
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Field 22 of a /proc/PID/stat text. The command name (field 2) is in
// parentheses and may hold spaces and parentheses itself, so the count starts
// after the last ')'.
unsigned long long StartTicksOf(const std::string& stat)
{
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) return 0;
    size_t position = close + 1;
    for (int field = 3; field <= 22; ++field) {
        while (position < stat.size() && stat[position] == ' ') ++position;
        const size_t end = std::min(stat.find(' ', position), stat.size());
        if (field == 22) {
            unsigned long long ticks = 0;
            return ParseNumber(std::string_view(stat).substr(position, end - position), ticks) ? ticks : 0;
        }
        position = end;
    }
    return 0;
}

ProcessIdentity WorkOutThisProcess()
{
    ProcessIdentity identity;
    identity.pid = static_cast<long>(getpid());
    std::string text;
    if (ReadProcFile("/proc/self/stat", text)) identity.startTicks = StartTicksOf(text);
    if (ReadProcFile("/proc/sys/kernel/random/boot_id", text)) {
        for (char c : text) {
            if (identity.boot.size() == kBootChars) break;
            if (IsHexDigit(c)) identity.boot += c;
        }
        if (identity.boot.size() != kBootChars) identity.boot.clear();
    }
    return identity;
}

}  // namespace

const ProcessIdentity& ThisProcess()
{
    static std::mutex mutex;
    static ProcessIdentity identity;
    std::lock_guard<std::mutex> lock(mutex);
    if (identity.pid != static_cast<long>(getpid())) identity = WorkOutThisProcess();
    return identity;
}

WriterState StateOfWriter(const ProcessIdentity& writer)
{
    const ProcessIdentity& self = ThisProcess();
    if (self.startTicks == 0 || self.boot.empty() || writer.boot != self.boot) return WriterState::Unseen;
    std::string text;
    if (!ReadProcFile("/proc/" + std::to_string(writer.pid) + "/stat", text))
        return errno == ENOENT || errno == ESRCH ? WriterState::Gone : WriterState::Running;
    const unsigned long long ticks = StartTicksOf(text);
    return ticks == 0 || ticks == writer.startTicks ? WriterState::Running : WriterState::Gone;
}

bool CountsAsGone(WriterState state, time_t ageSeconds)
{
    return state == WriterState::Gone || (state == WriterState::Unseen && ageSeconds > kStaleFileSeconds);
}

std::string IdentityToken(const ProcessIdentity& identity)
{
    return std::to_string(identity.pid) + "-" + std::to_string(identity.startTicks) + "-" + identity.boot;
}

std::optional<ProcessIdentity> ParseIdentityToken(std::string_view token)
{
    const size_t first = token.find('-');
    const size_t second = first == std::string_view::npos ? first : token.find('-', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    ProcessIdentity identity;
    if (!ParseNumber(token.substr(0, first), identity.pid) || identity.pid <= 0 ||
        !ParseNumber(token.substr(first + 1, second - first - 1), identity.startTicks))
        return std::nullopt;
    const std::string_view boot = token.substr(second + 1);
    if (!boot.empty() && boot.size() != kBootChars) return std::nullopt;
    for (char c : boot)
        if (!IsHexDigit(c)) return std::nullopt;
    identity.boot = std::string(boot);
    return identity;
}

}  // namespace m3d
