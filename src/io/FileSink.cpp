#include "io/FileSink.h"

#include <cerrno>
#include <unistd.h>

namespace m3d {

namespace {
constexpr size_t kBufferBytes = size_t(256) << 10;
}

FileSink::FileSink(int fd) : fd(fd) { buffer.reserve(kBufferBytes); }

bool FileSink::Write(std::string_view bytes)
{
    if (!Ok()) return false;
    if (buffer.size() + bytes.size() <= kBufferBytes) {
        buffer.append(bytes);
        return true;
    }
    // Large pieces go straight to the file instead of through the buffer.
    if (!Flush()) return false;
    if (bytes.size() >= kBufferBytes) return WriteOut(bytes.data(), bytes.size());
    buffer.append(bytes);
    return true;
}

bool FileSink::Flush()
{
    if (!Ok()) return false;
    const bool written = WriteOut(buffer.data(), buffer.size());
    buffer.clear();
    return written;
}

bool FileSink::WriteOut(const char* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = write(fd, data + done, size - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            writeErrno = errno;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace m3d
