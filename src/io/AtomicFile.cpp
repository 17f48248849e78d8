#include "io/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool WriteFileAtomically(const std::string& path, std::string_view data, std::string& error)
{
    std::string temp = path + ".tmpXXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        error = path + ": cannot create a temporary file: " + std::strerror(errno);
        return false;
    }
    size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = write(fd, data.data() + written, data.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = path + ": write failed: " + std::strerror(errno);
            close(fd);
            unlink(temp.c_str());
            return false;
        }
        written += static_cast<size_t>(n);
    }
    // mkstemp creates the file readable by the owner only; give it the usual rights.
    fchmod(fd, 0644);
    if (fsync(fd) != 0 || close(fd) != 0) {
        error = path + ": write failed: " + std::strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        error = path + ": cannot replace the file: " + std::strerror(errno);
        unlink(temp.c_str());
        return false;
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& out, std::string& error, size_t maxBytes)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error = path + ": cannot open: " + std::strerror(errno);
        return false;
    }
    std::string data;
    // Sizing the string up front spares large models the copies of repeated
    // regrowth; the loop below still decides what was really read.
    struct stat info;
    if (fstat(fileno(f), &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0 &&
        static_cast<uint64_t>(info.st_size) <= maxBytes)
        data.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        if (data.size() + n > maxBytes) {
            std::fclose(f);
            error = path + ": file too large";
            return false;
        }
        data.append(buffer, n);
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        error = path + ": read error";
        return false;
    }
    out = std::move(data);
    return true;
}
