#include "io/FileSetWriter.h"

#include "io/CommitRecord.h"
#include "io/FolderSync.h"
#include "io/FolderTidying.h"
#include "io/PathLookup.h"
#include "io/TemporaryFile.h"
#include "io/TemporaryNames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
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

std::function<void(size_t)>& CommitStepHook()
{
    static std::function<void(size_t)> hook;
    return hook;
}

void CommitStep(size_t placed)
{
    if (CommitStepHook()) CommitStepHook()(placed);
}

// A second name for the regular file at file, beside it; "" when the file
// system will not link it.
std::string LinkBackup(const std::string& file)
{
    for (;;) {
        std::string candidate = OwnTemporaryName(file);
        if (link(file.c_str(), candidate.c_str()) == 0) return candidate;
        if (errno != EEXIST) return std::string();
    }
}

// How the record names file: by its name when it lies beside the record, else by its absolute path.
std::string RecordedTarget(const std::string& file, const std::string& recordFolder)
{
    if (FolderOfFile(file) == recordFolder) return FileNameOf(file);
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
    return ec ? file : absolute.string();
}

}  // namespace

FileSetWriter::FileSetWriter() = default;
FileSetWriter::~FileSetWriter() = default;

void FileSetWriter::SetCommitStepHookForTests(std::function<void(size_t placed)> hook)
{
    CommitStepHook() = std::move(hook);
}

Outcome FileSetWriter::Add(const std::string& path, const std::function<bool(FileSink&)>& produce,
                           const FileSetOptions& options)
{
    WriteTarget target = InspectWriteTarget(path);
    if (target.kind != WriteTarget::Kind::Unusable) {
        std::vector<CommitRecoveryNote> notes = TidyFolder(FolderOfFile(target.file), true);
        // Ending a commit may have put another file at path.
        if (!notes.empty()) target = InspectWriteTarget(path);
        for (CommitRecoveryNote& note : notes) recoveries.push_back(std::move(note));
    }
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

Outcome FileSetWriter::WriteRecord(const std::string& recordPath, const std::string& bytes, const std::string& setPath)
{
    WriteTarget target;
    target.kind = WriteTarget::Kind::Missing;
    target.file = recordPath;
    TemporaryFile temporary;  // its own name goes with it: the record keeps the contents
    if (Outcome written = temporary.Write(recordPath, target, [&bytes](FileSink& sink) { return sink.Write(bytes); });
        !written)
        return written;
    if (!temporary.Name(recordPath)) {
        const int errorNumber = errno;
        return Outcome::Failure(recordPath + ": cannot create a temporary file: " + std::strerror(errorNumber),
                                errorNumber);
    }
    // link, unlike rename, never replaces the record of another commit.
    for (bool retried = false; link(temporary.NameOnDisk().c_str(), recordPath.c_str()) != 0; retried = true) {
        const int errorNumber = errno;
        if (errorNumber != EEXIST)
            return Outcome::Failure(recordPath + ": cannot write the record of the save: " + std::strerror(errorNumber),
                                    errorNumber);
        if (retried) break;
        if (std::optional<CommitRecoveryNote> note = RecoverCommit(recordPath)) recoveries.push_back(std::move(*note));
    }
    struct stat info;
    if (lstat(recordPath.c_str(), &info) != 0 || static_cast<uint64_t>(info.st_ino) != temporary.Inode())
        return Outcome::Failure(setPath + ": another save of these files is under way (" + recordPath +
                                "); nothing was replaced");
    SyncFolder(FolderOfFile(recordPath));
    return Outcome();
}

// A kill at any point leaves a set that can be made whole:
// - before the record is in place, no target has changed; the temporaries and
//   second names name this process and are removed as leftovers;
// - from then until the record is removed, the record says for each file
//   where its new contents (staged, synced by Add) and its old ones (the
//   second name, made before the first rename) are, and the folders were
//   synced so that both are there after a crash too: RecoverCommit finishes
//   the renames or puts the old files back;
// - after the record is removed, every file is in place and synced.
// The undo after a failure runs while the record is still there, for the same reason.
Outcome FileSetWriter::Commit()
{
    kept.clear();
    const auto clear = [this] {
        staged.clear();  // removes what is still staged
        positionOf.clear();
    };
    CommitRecord record;
    record.writer = ThisProcess();
    std::vector<std::string> backups(staged.size());
    std::vector<bool> existed(staged.size());
    std::set<std::string> folders;
    const std::string recordFolder = staged.empty() ? std::string() : FolderOfFile(staged.back()->file);
    for (size_t i = 0; i < staged.size(); ++i) {
        const Staged& entry = *staged[i];
        CommitRecordEntry recorded;
        recorded.keepExisting = entry.keepExisting;
        recorded.target = RecordedTarget(entry.file, recordFolder);
        recorded.staged = FileNameOf(entry.temporary.NameOnDisk());
        recorded.stagedInode = entry.temporary.Inode();
        struct stat info;
        existed[i] = lstat(entry.file.c_str(), &info) == 0;
        if (!entry.keepExisting && existed[i] && S_ISREG(info.st_mode)) {
            recorded.oldInode = static_cast<uint64_t>(info.st_ino);
            backups[i] = LinkBackup(entry.file);
            recorded.backup = FileNameOf(backups[i]);
        }
        folders.insert(FolderOfFile(entry.file));
        record.entries.push_back(std::move(recorded));
    }
    const auto removeBackups = [&backups] {
        for (const std::string& backup : backups)
            if (!backup.empty()) unlink(backup.c_str());
    };
    // A set of one file is replaced in one rename: there is nothing to finish or put back.
    const std::string recordPath = staged.size() > 1 ? CommitRecordPath(staged.back()->file) : std::string();
    if (!recordPath.empty()) {
        for (const std::string& folder : folders) SyncFolder(folder);
        if (Outcome written = WriteRecord(recordPath, EncodeCommitRecord(record), staged.back()->path); !written) {
            removeBackups();
            clear();
            return written;
        }
    }

    std::vector<size_t> placed;  // the entries put in place, in order
    placed.reserve(staged.size());
    // Puts back what was replaced and drops what is left of the set.
    const auto undo = [&] {
        for (auto it = placed.rbegin(); it != placed.rend(); ++it) {
            const Staged& entry = *staged[*it];
            if (!backups[*it].empty())
                std::rename(backups[*it].c_str(), entry.file.c_str());
            else if (!existed[*it])
                unlink(entry.file.c_str());
        }
        clear();
        removeBackups();
        for (const std::string& folder : folders) SyncFolder(folder);
        if (!recordPath.empty()) unlink(recordPath.c_str());
    };
    CommitStep(0);
    for (size_t i = 0; i < staged.size(); ++i) {
        Staged& entry = *staged[i];
        const std::string& temporary = entry.temporary.NameOnDisk();
        if (entry.keepExisting) {
            // link refuses to replace: a file that appeared since stays.
            if (link(temporary.c_str(), entry.file.c_str()) == 0) {
                existed[i] = false;
                placed.push_back(i);
            } else if (errno == EEXIST) {
                kept.push_back(entry.path);
            } else {
                const int errorNumber = errno;
                Outcome failure = Outcome::Failure(
                    entry.path + ": cannot put the file in place: " + std::strerror(errorNumber), errorNumber);
                undo();  // ends entry
                return failure;
            }
        } else if (std::rename(temporary.c_str(), entry.file.c_str()) == 0) {
            entry.temporary.Release();
            placed.push_back(i);
        } else {
            const int errorNumber = errno;
            Outcome failure =
                Outcome::Failure(entry.path + ": cannot replace the file: " + std::strerror(errorNumber), errorNumber);
            undo();  // ends entry
            return failure;
        }
        CommitStep(i + 1);
    }
    for (const std::string& folder : folders) SyncFolder(folder);
    if (!recordPath.empty()) unlink(recordPath.c_str());
    removeBackups();
    clear();
    return Outcome();
}

}  // namespace m3d
