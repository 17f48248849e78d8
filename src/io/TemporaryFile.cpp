#include "io/TemporaryFile.h"

#include "io/FolderTidying.h"
#include "io/TemporaryNames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace m3d {

TemporaryFile::~TemporaryFile()
{
    if (fd >= 0) close(fd);
    if (!name.empty()) unlink(name.c_str());
}

bool TemporaryFile::Open(const std::string& folder, const std::string& file)
{
    // Named temporaries are left by kills on file systems without
    // O_TMPFILE, and by a kill between naming and renaming.
    TidyFolder(folder, false);
    fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) return true;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
    return OpenNamed(file);
}

bool TemporaryFile::OpenNamed(const std::string& file)
{
    for (;;) {
        std::string candidate = OwnTemporaryName(file);
        fd = open(candidate.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            name = std::move(candidate);
            return true;
        }
        if (errno != EEXIST) return false;
    }
}

Outcome TemporaryFile::Write(const std::string& path, const WriteTarget& target,
                             const std::function<bool(FileSink&)>& produce)
{
    const auto failed = [&](const char* what) {
        const int errorNumber = errno;
        return Outcome::Failure(path + ": " + what + ": " + std::strerror(errorNumber), errorNumber);
    };
    if (!Open(FolderOfFile(target.file), target.file)) return failed("cannot create a temporary file");
    FileSink sink(fd);
    if (!produce(sink) || !sink.Flush()) {
        const int errorNumber = sink.WriteErrno();
        if (errorNumber != 0)
            return Outcome::Failure(path + ": write failed: " + std::strerror(errorNumber), errorNumber);
        return Outcome::Failure(path + ": " +
                                (sink.Refusal().empty() ? std::string("nothing was written") : sink.Refusal()));
    }
    if (target.kind == WriteTarget::Kind::Regular) {
        // Failing to hand the file back to its owner (we are not root) is no reason to lose the save.
        struct stat info;
        if (fstat(fd, &info) == 0 && (info.st_uid != target.owner || info.st_gid != target.group))
            (void)!fchown(fd, target.owner, target.group);
        fchmod(fd, target.mode);
    }
    if (fsync(fd) != 0) return failed("write failed");
    return Outcome();
}

bool TemporaryFile::Name(const std::string& file)
{
    if (name.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        for (;;) {
            std::string candidate = OwnTemporaryName(file);
            if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                name = std::move(candidate);
                break;
            }
            if (errno != EEXIST) return false;
        }
    }
    struct stat info;
    if (fstat(fd, &info) == 0) inode = static_cast<uint64_t>(info.st_ino);
    close(fd);
    fd = -1;
    return true;
}

bool TemporaryFile::Commit(const std::string& file, bool replacing)
{
    if (name.empty() && !replacing) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, file.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
        if (errno != EEXIST) return false;
    }
    // A name of its own first: rename is what replaces a file in one step.
    if (fd >= 0 && !Name(file)) return false;
    if (std::rename(name.c_str(), file.c_str()) != 0) return false;
    name.clear();
    return true;
}

}  // namespace m3d
