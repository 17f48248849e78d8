#include "io/FileReading.h"

#include "io/PathLookup.h"
#include "io/WriteTarget.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

namespace m3d {

namespace {

std::string NotRegular(const std::string& path, mode_t mode)
{
    return path + ": " + FileKindName(mode) + ", not a regular file; nothing was read";
}

std::string& Confinement()
{
    static std::string folder;
    return folder;
}

// The refusal of the file open as fd, named path, when reads are confined
// and it lies elsewhere (as the system tells where it is); "" otherwise.
std::string ConfinementRefusal(int fd, const std::string& path)
{
    if (Confinement().empty()) return std::string();
    char file[4096];
    const ssize_t length = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), file, sizeof file);
    if (length > 0 && size_t(length) < sizeof file && IsInsideFolder(std::string(file, size_t(length)), Confinement()))
        return std::string();
    return path + ": lies outside " + Confinement() + "; nothing was read";
}

// Reads from fd, which the caller opened and this closes, to its end or,
// when toEnd is false, size bytes at most; more than maxBytes is a failure
// naming path. size (the file's size when opened, at most maxBytes) is
// reserved up front, which spares large models the copies of repeated
// regrowth; the loop still decides what was really read, as the file may
// shrink or grow while it is read.
Expected<std::string> ReadOpened(int fd, const std::string& path, uint64_t size, bool toEnd, size_t maxBytes)
{
    const uint64_t limit = toEnd ? UINT64_MAX : size;
    std::string data;
    data.reserve(static_cast<size_t>(size));
    char buffer[65536];
    while (data.size() < limit) {
        const ssize_t n = read(fd, buffer, static_cast<size_t>(std::min<uint64_t>(sizeof buffer, limit - data.size())));
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int readErrno = errno;
            close(fd);
            return Outcome::Failure(path + ": read error: " + std::strerror(readErrno));
        }
        if (data.size() + static_cast<size_t>(n) > maxBytes) {
            close(fd);
            return Outcome::Failure(path + ": file too large");
        }
        data.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return data;
}

}  // namespace

std::string NotRegularFileReason(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return std::string();
    return NotRegular(path, info.st_mode);
}

Expected<int> OpenRegularFileForReading(const std::string& path)
{
    // Opening a device can act on it (a tape rewinds), so its kind is
    // looked at first; a FIFO would block the open of a plain O_RDONLY.
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return Outcome::Failure(path + ": cannot open: " + std::strerror(errno));
    if (!S_ISREG(info.st_mode)) return Outcome::Failure(NotRegular(path, info.st_mode));
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Outcome::Failure(path + ": cannot open: " + std::strerror(errno));
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return Outcome::Failure(NotRegular(path, info.st_mode));
    }
    if (std::string refusal = ConfinementRefusal(fd, path); !refusal.empty()) {
        close(fd);
        return Outcome::Failure(std::move(refusal));
    }
    return fd;
}

void ConfineReadsTo(const std::string& folder) { Confinement() = folder; }

Expected<std::string> ReadWholeFile(const std::string& path, size_t maxBytes)
{
    const Expected<int> opened = OpenRegularFileForReading(path);
    if (!opened) return opened.Status();
    const int fd = *opened;
    struct stat info;
    if (fstat(fd, &info) != 0 || info.st_size < 0 || static_cast<uint64_t>(info.st_size) > maxBytes) {
        close(fd);
        return Outcome::Failure(path + ": file too large");
    }
    return ReadOpened(fd, path, static_cast<uint64_t>(info.st_size), true, maxBytes);
}

Expected<std::string> ReadNamedFile(const std::string& folder, const std::string& path, size_t maxBytes,
                                    NamedFileScope scope)
{
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved) return Outcome::Failure(path + ": cannot open: " + std::strerror(errno), errno);
    const std::string file(resolved);
    std::free(resolved);
    if (scope == NamedFileScope::InFolder && !IsInsideFolder(file, CanonicalPath(folder.empty() ? "." : folder)))
        return Outcome::Failure(path + ": leads outside the folder " + (folder.empty() ? "." : folder) + " (to " +
                                file + "); nothing was read");
    struct stat info;
    if (stat(file.c_str(), &info) != 0) return Outcome::Failure(path + ": cannot open: " + std::strerror(errno));
    if (!S_ISREG(info.st_mode)) return Outcome::Failure(NotRegular(path, info.st_mode));
    const int fd = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Outcome::Failure(path + ": cannot open: " + std::strerror(errno), errno);
    struct statfs system;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || fstatfs(fd, &system) != 0 ||
        system.f_type == PROC_SUPER_MAGIC || system.f_type == SYSFS_MAGIC) {
        close(fd);
        return Outcome::Failure(path + ": not a regular file of a disk; nothing was read");
    }
    if (std::string refusal = ConfinementRefusal(fd, path); !refusal.empty()) {
        close(fd);
        return Outcome::Failure(std::move(refusal));
    }
    if (info.st_size < 0 || static_cast<uint64_t>(info.st_size) > maxBytes) {
        close(fd);
        return Outcome::Failure(path + ": file too large (more than " + std::to_string(maxBytes) + " bytes)");
    }
    return ReadOpened(fd, path, static_cast<uint64_t>(info.st_size), false, maxBytes);
}

Expected<std::string> ReadFilePrefix(const std::string& path, size_t maxBytes)
{
    const Expected<int> opened = OpenRegularFileForReading(path);
    if (!opened) return opened.Status();
    std::string data(maxBytes, '\0');
    size_t filled = 0;
    while (filled < maxBytes) {
        const ssize_t n = read(*opened, data.data() + filled, maxBytes - filled);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int readErrno = errno;
            close(*opened);
            return Outcome::Failure(path + ": read error: " + std::strerror(readErrno));
        }
        filled += static_cast<size_t>(n);
    }
    close(*opened);
    data.resize(filled);
    return data;
}

}  // namespace m3d
