#include "io/FileFingerprint.h"

#include "math/Digest.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace m3d {

namespace {

// The digest takes whole blocks of this size (the last one shorter), however
// the reads come back, so that the same bytes always give the same value.
constexpr size_t kBlockBytes = size_t(1) << 16;

// The inode and size of the regular file at path; nullopt for anything else.
std::optional<FileFingerprint> InodeAndSize(const std::string& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return FileFingerprint{static_cast<uint64_t>(info.st_ino), static_cast<uint64_t>(info.st_size), 0};
}

// Adds the bytes of fd to fingerprint's digest; false when they cannot be read
// or are not fingerprint.size bytes.
bool DigestContents(int fd, FileFingerprint& fingerprint)
{
    Digest digest;
    std::vector<char> block(kBlockBytes);
    uint64_t total = 0;
    for (bool end = false; !end;) {
        size_t filled = 0;
        while (filled < block.size()) {
            const ssize_t n = read(fd, block.data() + filled, block.size() - filled);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return false;
            if (n == 0) {
                end = true;
                break;
            }
            filled += static_cast<size_t>(n);
        }
        if (filled > 0) digest.Add(block.data(), filled);
        total += filled;
    }
    fingerprint.digest = digest.Value();
    return total == fingerprint.size;
}

std::optional<FileFingerprint> Read(const std::string& path, const std::optional<FileFingerprint>& found)
{
    if (!found) return std::nullopt;
    // O_NONBLOCK: should a FIFO have taken the file's place meanwhile, the open does not wait on it.
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    FileFingerprint fingerprint = *found;
    struct stat info;
    const bool same =
        fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && static_cast<uint64_t>(info.st_ino) == fingerprint.inode;
    const bool read = same && DigestContents(fd, fingerprint);
    close(fd);
    if (!read) return std::nullopt;
    return fingerprint;
}

}  // namespace

std::optional<FileFingerprint> FingerprintOf(const std::string& path) { return Read(path, InodeAndSize(path)); }

bool HasFingerprint(const std::string& path, const FileFingerprint& expected)
{
    const std::optional<FileFingerprint> found = InodeAndSize(path);
    if (!found || found->inode != expected.inode || found->size != expected.size) return false;
    return Read(path, found) == expected;
}

}  // namespace m3d
