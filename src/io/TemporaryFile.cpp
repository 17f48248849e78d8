#include "io/TemporaryFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <random>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace m3d {

namespace {

constexpr const char kTempMark[] = ".tmp";
constexpr size_t kTempRandomChars = 6;
// A named temporary this old is no write in progress but one that was killed.
constexpr time_t kStaleTempSeconds = 60;

bool IsAlphanumeric(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// "NAME.tmpXXXXXX" with six letters or digits, NAME not empty.
bool IsTemporaryName(const char* name)
{
    const size_t length = std::strlen(name);
    const size_t suffix = sizeof kTempMark - 1 + kTempRandomChars;
    if (length <= suffix || std::strncmp(name + length - suffix, kTempMark, sizeof kTempMark - 1) != 0) return false;
    for (size_t i = length - kTempRandomChars; i < length; ++i)
        if (!IsAlphanumeric(name[i])) return false;
    return true;
}

// Removes this user's stale temporaries from folder, once per folder and run:
// scanning at every save would make saving many files into a large folder quadratic.
void RemoveStaleTemporaries(const std::string& folder)
{
    static std::mutex mutex;
    static std::set<std::string> cleaned;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!cleaned.insert(folder).second) return;
    }
    DIR* dir = opendir(folder.c_str());
    if (!dir) return;
    const time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        if (!IsTemporaryName(entry->d_name)) continue;
        struct stat info;
        if (fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(info.st_mode) && info.st_uid == geteuid() && now - info.st_mtime > kStaleTempSeconds)
            unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

}  // namespace

std::string RandomTemporaryName(const std::string& file)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string name = file + kTempMark;
    for (size_t i = 0; i < kTempRandomChars; ++i) name += kLetters[random() % (sizeof kLetters - 1)];
    return name;
}

TemporaryFile::~TemporaryFile()
{
    if (fd >= 0) close(fd);
    if (!name.empty()) unlink(name.c_str());
}

bool TemporaryFile::Open(const std::string& folder, const std::string& file)
{
    // Named temporaries are left by kills on file systems without
    // O_TMPFILE, and by a kill between naming and renaming.
    RemoveStaleTemporaries(folder);
    fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) return true;
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
    return OpenNamed(file);
}

bool TemporaryFile::OpenNamed(const std::string& file)
{
    for (;;) {
        std::string candidate = RandomTemporaryName(file);
        fd = open(candidate.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) {
            name = std::move(candidate);
            return true;
        }
        if (errno != EEXIST) return false;
    }
}

bool TemporaryFile::Write(const std::string& path, const WriteTarget& target,
                          const std::function<bool(FileSink&)>& produce, std::string& error, int& errorNumber)
{
    errorNumber = 0;
    const auto failed = [&](const char* what) {
        errorNumber = errno;
        error = path + ": " + what + ": " + std::strerror(errorNumber);
        return false;
    };
    if (!Open(FolderOfFile(target.file), target.file)) return failed("cannot create a temporary file");
    FileSink sink(fd);
    if (!produce(sink) || !sink.Flush()) {
        errorNumber = sink.WriteErrno();
        if (errorNumber != 0)
            error = path + ": write failed: " + std::strerror(errorNumber);
        else
            error = path + ": " + (sink.Refusal().empty() ? std::string("nothing was written") : sink.Refusal());
        return false;
    }
    if (target.kind == WriteTarget::Kind::Regular) {
        // Failing to hand the file back to its owner (we are not root) is no reason to lose the save.
        struct stat info;
        if (fstat(fd, &info) == 0 && (info.st_uid != target.owner || info.st_gid != target.group))
            (void)!fchown(fd, target.owner, target.group);
        fchmod(fd, target.mode);
    }
    if (fsync(fd) != 0) return failed("write failed");
    return true;
}

bool TemporaryFile::Name(const std::string& file)
{
    if (name.empty()) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        for (;;) {
            std::string candidate = RandomTemporaryName(file);
            if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                name = std::move(candidate);
                break;
            }
            if (errno != EEXIST) return false;
        }
    }
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
