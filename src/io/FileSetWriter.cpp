#include "io/FileSetWriter.h"

#include "io/TemporaryFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace m3d {

struct FileSetWriter::Staged {
    std::string path;  // as given, for messages
    std::string file;  // the file really written (symbolic links followed)
    bool keepExisting = false;
    TemporaryFile temporary;
};

namespace {

// What Commit did to one target, so that it can be undone.
struct Placed {
    std::string file;
    std::string backup;    // a hard link to the file that was there; "" when none
    bool created = false;  // nothing was there before
};

// A second name for the file at file, beside it; "" when there is no file or
// the file system will not link it.
std::string LinkBackup(const std::string& file)
{
    struct stat info;
    if (lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::string();
    for (;;) {
        std::string candidate = RandomTemporaryName(file);
        if (link(file.c_str(), candidate.c_str()) == 0) return candidate;
        if (errno != EEXIST) return std::string();
    }
}

void SyncFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

FileSetWriter::FileSetWriter() = default;
FileSetWriter::~FileSetWriter() = default;

Outcome FileSetWriter::Add(const std::string& path, const std::function<bool(FileSink&)>& produce,
                           const FileSetOptions& options)
{
    const WriteTarget target = InspectWriteTarget(path);
    AtomicWriteOptions check;
    check.replaceReadOnly = options.replaceReadOnly;
    if (Outcome checked = CheckWriteTarget(path, target, check); !checked)
        return Outcome::Failure(checked.Message(), target.errorNumber);
    auto entry = std::make_unique<Staged>();
    entry->path = path;
    entry->file = target.file;
    entry->keepExisting = options.keepExisting;
    if (Outcome written = entry->temporary.Write(path, target, produce); !written) return written;
    if (!entry->temporary.Name(target.file)) {
        const int errorNumber = errno;
        return Outcome::Failure(path + ": cannot create a temporary file: " + std::strerror(errorNumber), errorNumber);
    }
    // The later contents win, as they would have by writing the file twice.
    const auto [found, added] = positionOf.emplace(entry->file, staged.size());
    if (added)
        staged.push_back(std::move(entry));
    else
        staged[found->second] = std::move(entry);
    return Outcome();
}

Outcome FileSetWriter::Add(const std::string& path, std::string_view data, const FileSetOptions& options)
{
    return Add(
        path, [data](FileSink& sink) { return sink.Write(data); }, options);
}

Outcome FileSetWriter::Commit()
{
    kept.clear();
    std::vector<Placed> placed;
    placed.reserve(staged.size());
    // Puts back what was replaced and drops what is left of the set.
    const auto undo = [this, &placed] {
        for (auto it = placed.rbegin(); it != placed.rend(); ++it) {
            if (!it->backup.empty())
                std::rename(it->backup.c_str(), it->file.c_str());
            else if (it->created)
                unlink(it->file.c_str());
        }
        staged.clear();
        positionOf.clear();
    };
    for (const auto& entry : staged) {
        const std::string& temporary = entry->temporary.NameOnDisk();
        if (entry->keepExisting) {
            // link refuses to replace: a file that appeared since stays.
            if (link(temporary.c_str(), entry->file.c_str()) == 0) {
                placed.push_back({entry->file, std::string(), true});
            } else if (errno == EEXIST) {
                kept.push_back(entry->path);
            } else {
                const int errorNumber = errno;
                Outcome failure = Outcome::Failure(
                    entry->path + ": cannot put the file in place: " + std::strerror(errorNumber), errorNumber);
                undo();  // ends entry
                return failure;
            }
            continue;
        }
        struct stat info;
        const bool existed = lstat(entry->file.c_str(), &info) == 0;
        Placed step{entry->file, existed ? LinkBackup(entry->file) : std::string(), !existed};
        if (std::rename(temporary.c_str(), entry->file.c_str()) != 0) {
            const int errorNumber = errno;
            Outcome failure =
                Outcome::Failure(entry->path + ": cannot replace the file: " + std::strerror(errorNumber), errorNumber);
            if (!step.backup.empty()) unlink(step.backup.c_str());
            undo();  // ends entry
            return failure;
        }
        entry->temporary.Release();
        placed.push_back(std::move(step));
    }
    std::set<std::string> folders;
    for (const auto& entry : staged) folders.insert(FolderOfFile(entry->file));
    for (const std::string& folder : folders) SyncFolder(folder);
    for (const Placed& step : placed)
        if (!step.backup.empty()) unlink(step.backup.c_str());
    staged.clear();
    positionOf.clear();
    return Outcome();
}

}  // namespace m3d
