#include "io/FileReading.h"

#include "io/PathLookup.h"
#include "io/WriteTarget.h"

#include <cerrno>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
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

// Where the file open as fd really is; "" when the system cannot tell.
std::string OpenFilePath(int fd)
{
    char path[4096];
    const ssize_t length = readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), path, sizeof path);
    return length > 0 && size_t(length) < sizeof path ? std::string(path, size_t(length)) : std::string();
}

// Reads from fd until count bytes are in data or the file ends; fails past maxBytes.
Outcome ReadInto(int fd, const std::string& path, size_t count, size_t maxBytes, std::string& data)
{
    char buffer[65536];
    while (data.size() < count) {
        const ssize_t n = read(fd, buffer, std::min(sizeof buffer, count - data.size()));
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return Outcome::Failure(path + ": read error: " + std::strerror(errno));
        }
        if (data.size() + static_cast<size_t>(n) > maxBytes) return Outcome::Failure(path + ": file too large");
        data.append(buffer, static_cast<size_t>(n));
    }
    return Outcome();
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
    if (!Confinement().empty() && !IsInsideFolder(OpenFilePath(fd), Confinement())) {
        close(fd);
        return Outcome::Failure(path + ": lies outside " + Confinement() + "; nothing was read");
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
    // Sized from the file up front, which spares large models the copies of
    // repeated regrowth; the loop still decides what was really read, as the
    // file may shrink or grow while it is read.
    std::string data;
    data.reserve(static_cast<size_t>(info.st_size));
    const Outcome read = ReadInto(fd, path, SIZE_MAX, maxBytes, data);
    close(fd);
    if (!read) return read;
    return data;
}

Expected<std::string> ReadFileStart(const std::string& path, size_t bytes)
{
    const Expected<int> opened = OpenRegularFileForReading(path);
    if (!opened) return opened.Status();
    std::string data;
    const Outcome read = ReadInto(*opened, path, bytes, SIZE_MAX, data);
    close(*opened);
    if (!read) return read;
    return data;
}

}  // namespace m3d
