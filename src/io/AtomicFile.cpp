#include "io/AtomicFile.h"

#include "io/WriteTarget.h"

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

namespace {

constexpr const char TEMP_MARK[] = ".tmp";
constexpr size_t TEMP_RANDOM_CHARS = 6;
// A named temporary this old is no write in progress but one that was killed.
constexpr time_t STALE_TEMP_SECONDS = 60;

bool IsAlphanumeric(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// "NAME.tmpXXXXXX" with six letters or digits, NAME not empty.
bool IsTemporaryName(const char* name)
{
    const size_t length = std::strlen(name);
    const size_t suffix = sizeof TEMP_MARK - 1 + TEMP_RANDOM_CHARS;
    if (length <= suffix || std::strncmp(name + length - suffix, TEMP_MARK, sizeof TEMP_MARK - 1) != 0) return false;
    for (size_t i = length - TEMP_RANDOM_CHARS; i < length; ++i)
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
        if (S_ISREG(info.st_mode) && info.st_uid == geteuid() && now - info.st_mtime > STALE_TEMP_SECONDS)
            unlinkat(dirfd(dir), entry->d_name, 0);
    }
    closedir(dir);
}

std::string RandomTemporaryName(const std::string& file)
{
    static const char LETTERS[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string name = file + TEMP_MARK;
    for (size_t i = 0; i < TEMP_RANDOM_CHARS; ++i) name += LETTERS[random() % (sizeof LETTERS - 1)];
    return name;
}

// The file being written: unnamed when the file system allows it, else named.
// Closes and removes itself unless committed.
class Temporary {
public:
    ~Temporary()
    {
        if (fd >= 0) close(fd);
        if (!name.empty()) unlink(name.c_str());
    }

    // Opens the temporary for file in folder; false with errno set on failure.
    bool Open(const std::string& folder, const std::string& file)
    {
        // Named temporaries are left by kills on file systems without
        // O_TMPFILE, and by a kill between naming and renaming below.
        RemoveStaleTemporaries(folder);
        fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        if (fd >= 0) return true;
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
        return OpenNamed(file, name);
    }

    int Fd() const { return fd; }

    // Puts the finished contents at file; false with errno set on failure.
    bool Commit(const std::string& file, bool replacing)
    {
        if (name.empty()) {
            const std::string self = "/proc/self/fd/" + std::to_string(fd);
            if (!replacing) {
                if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, file.c_str(), AT_SYMLINK_FOLLOW) == 0) return true;
                if (errno != EEXIST) return false;
            }
            // A name of its own first: rename is what replaces a file in one step.
            for (;;) {
                std::string candidate = RandomTemporaryName(file);
                if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
                    name = std::move(candidate);
                    break;
                }
                if (errno != EEXIST) return false;
            }
        }
        if (std::rename(name.c_str(), file.c_str()) != 0) return false;
        name.clear();
        return true;
    }

private:
    int fd = -1;
    std::string name;  // the named temporary, "" while there is none

    bool OpenNamed(const std::string& file, std::string& opened)
    {
        for (;;) {
            std::string candidate = RandomTemporaryName(file);
            fd = open(candidate.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
            if (fd >= 0) {
                opened = std::move(candidate);
                return true;
            }
            if (errno != EEXIST) return false;
        }
    }
};

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::function<bool(FileSink&)>& produce,
                         std::string& error, const AtomicWriteOptions& options)
{
    const WriteTarget target = InspectWriteTarget(path);
    if (target.kind == WriteTarget::UNUSABLE || target.kind == WriteTarget::NOT_REGULAR) {
        error = target.error;
        return false;
    }
    const bool replacing = target.kind == WriteTarget::REGULAR;
    if (replacing && target.readOnly && !options.replaceReadOnly) {
        error = path + ": the file is read-only; nothing was written";
        return false;
    }
    Temporary temporary;
    if (!temporary.Open(FolderOfFile(target.file), target.file)) {
        error = path + ": cannot create a temporary file: " + std::strerror(errno);
        return false;
    }
    FileSink sink(temporary.Fd());
    if (!produce(sink) || !sink.Flush()) {
        if (sink.WriteErrno() != 0)
            error = path + ": write failed: " + std::strerror(sink.WriteErrno());
        else
            error = path + ": " + (sink.Refusal().empty() ? std::string("nothing was written") : sink.Refusal());
        return false;
    }
    if (replacing) {
        // Failing to hand the file back to its owner (we are not root) is no reason to lose the save.
        struct stat info;
        if (fstat(temporary.Fd(), &info) == 0 && (info.st_uid != target.owner || info.st_gid != target.group))
            (void)!fchown(temporary.Fd(), target.owner, target.group);
        fchmod(temporary.Fd(), target.mode);
    }
    if (fsync(temporary.Fd()) != 0) {
        error = path + ": write failed: " + std::strerror(errno);
        return false;
    }
    if (!temporary.Commit(target.file, replacing)) {
        error = path + ": cannot replace the file: " + std::strerror(errno);
        return false;
    }
    return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view data, std::string& error,
                         const AtomicWriteOptions& options)
{
    return WriteFileAtomically(
        path, [data](FileSink& sink) { return sink.Write(data); }, error, options);
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
