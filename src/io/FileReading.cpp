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
    return fd;
}

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
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
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
