#include "io/FileReading.h"

#include "io/WriteTarget.h"

#include <cerrno>
#include <cstdint>
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

}  // namespace

std::string NotRegularFileReason(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || S_ISREG(info.st_mode)) return std::string();
    return NotRegular(path, info.st_mode);
}

int OpenRegularFileForReading(const std::string& path, std::string& error)
{
    // Opening a device can act on it (a tape rewinds), so its kind is
    // looked at first; a FIFO would block the open of a plain O_RDONLY.
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        error = path + ": cannot open: " + std::strerror(errno);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        error = NotRegular(path, info.st_mode);
        return -1;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": cannot open: " + std::strerror(errno);
        return -1;
    }
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        error = NotRegular(path, info.st_mode);
        close(fd);
        return -1;
    }
    return fd;
}

bool ReadWholeFile(const std::string& path, std::string& out, std::string& error, size_t maxBytes)
{
    const int fd = OpenRegularFileForReading(path, error);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || info.st_size < 0 || static_cast<uint64_t>(info.st_size) > maxBytes) {
        close(fd);
        error = path + ": file too large";
        return false;
    }
    // Sized from the file up front, which spares large models the copies of
    // repeated regrowth; the loop still decides what was really read, as the
    // file may shrink or grow while it is read.
    std::string data;
    data.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            error = path + ": read error: " + std::strerror(errno);
            close(fd);
            return false;
        }
        if (data.size() + static_cast<size_t>(n) > maxBytes) {
            close(fd);
            error = path + ": file too large";
            return false;
        }
        data.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    out = std::move(data);
    return true;
}

}  // namespace m3d
