#include "io/FileSetWriter.h"

#include "io/CommitRecord.h"
#include "io/FileFingerprint.h"
#include "io/FolderSync.h"
#include "io/FolderTidying.h"
#include "io/PathLookup.h"
#include "io/TemporaryFile.h"
#include "io/TemporaryNames.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
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

// The records of a set: for each folder, one record of its files in the set's
// order, split where one would pass the bounds recovery takes, each beside its
// last file. files and entries run in parallel.
struct PlannedRecord {
    std::string path;
    CommitRecord record;
};
std::vector<PlannedRecord> PlanRecords(const std::vector<std::string>& files,
                                       const std::vector<CommitRecordEntry>& entries)
{
    const CommitRecord empty{ThisProcess(), false, {}};
    const size_t emptyBytes = EncodeCommitRecord(empty).size();
    // What the entries' lines may take: the count may have a few more digits than the empty record's "0".
    const size_t room = kMaxCommitRecordBytes - emptyBytes - 8;
    std::map<std::string, std::vector<size_t>> byFolder;
    for (size_t i = 0; i < files.size(); ++i) byFolder[FolderOfFile(files[i])].push_back(i);
    std::vector<PlannedRecord> planned;
    for (const auto& [folder, members] : byFolder) {
        size_t used = room;  // the first member starts a record
        for (size_t i : members) {
            const size_t line = EncodeCommitRecord({empty.writer, false, {entries[i]}}).size() - emptyBytes;
            if (used + line > room || planned.back().record.entries.size() == kMaxCommitRecordEntries) {
                planned.push_back({std::string(), empty});
                used = 0;
            }
            planned.back().record.entries.push_back(entries[i]);
            planned.back().path = CommitRecordPath(files[i]);
            used += line;
        }
    }
    return planned;
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
// - before the records are in place, no target has changed; the temporaries
//   and second names name this process and are removed as leftovers;
// - from then until the records are removed, each says for the files of its
//   folder where their new contents (staged, synced by Add) and their old ones
//   (the second name, made before the first rename) are, and the folders were
//   synced so that both are there after a crash too: RecoverCommit finishes
//   the renames, in every folder, or puts the old files back;
// - an undo after a failure first marks every record as putting back, so that
//   every folder is put back should it be killed in turn;
// - after the records are removed, every file is in place and synced.
Outcome FileSetWriter::Commit()
{
    kept.clear();
    const auto clear = [this] {
        staged.clear();  // removes what is still staged
        positionOf.clear();
    };
    // A set of one file is replaced in one rename: there is nothing to finish or put back.
    const bool recorded = staged.size() > 1;
    std::vector<std::string> backups(staged.size());
    std::vector<bool> existed(staged.size());
    std::vector<std::string> files;
    std::vector<CommitRecordEntry> entries(staged.size());
    std::set<std::string> folders;
    const auto removeBackups = [&backups] {
        for (const std::string& backup : backups)
            if (!backup.empty()) unlink(backup.c_str());
    };
    for (size_t i = 0; i < staged.size(); ++i) {
        const Staged& entry = *staged[i];
        CommitRecordEntry& record = entries[i];
        record.keepExisting = entry.keepExisting;
        record.target = FileNameOf(entry.file);
        record.staged = FileNameOf(entry.temporary.NameOnDisk());
        struct stat info;
        existed[i] = lstat(entry.file.c_str(), &info) == 0;
        if (!entry.keepExisting && existed[i] && S_ISREG(info.st_mode)) {
            record.oldFile.inode = static_cast<uint64_t>(info.st_ino);
            backups[i] = LinkBackup(entry.file);
            record.backup = FileNameOf(backups[i]);
            // Without a second name, recovery knows the old file by its contents.
            if (recorded && backups[i].empty()) record.oldFile = FingerprintOf(entry.file).value_or(record.oldFile);
        }
        if (recorded) {
            const std::optional<FileFingerprint> written = FingerprintOf(entry.temporary.NameOnDisk());
            if (!written || written->inode != entry.temporary.Inode()) {
                const int errorNumber = errno;
                removeBackups();
                clear();
                return Outcome::Failure(entry.path + ": cannot read back the file written beside it", errorNumber);
            }
            record.stagedFile = *written;
        }
        files.push_back(entry.file);
        folders.insert(FolderOfFile(entry.file));
    }
    std::vector<PlannedRecord> records = recorded ? PlanRecords(files, entries) : std::vector<PlannedRecord>();
    const auto removeRecords = [&records](size_t count) {
        for (size_t r = 0; r < count; ++r) unlink(records[r].path.c_str());
    };
    if (recorded) {
        for (const std::string& folder : folders) SyncFolder(folder);
        for (size_t r = 0; r < records.size(); ++r)
            if (Outcome written =
                    WriteRecord(records[r].path, EncodeCommitRecord(records[r].record), staged.back()->path);
                !written) {
                removeRecords(r);
                removeBackups();
                clear();
                return written;
            }
    }

    std::vector<size_t> placed;  // the entries put in place, in order
    placed.reserve(staged.size());
    // Puts back what was replaced and drops what is left of the set.
    const auto undo = [&] {
        for (PlannedRecord& record : records) {
            record.record.puttingBack = true;
            static_cast<void>(WriteFileAtomically(record.path, EncodeCommitRecord(record.record)));
        }
        for (const std::string& folder : folders) SyncFolder(folder);
        for (auto it = placed.rbegin(); it != placed.rend(); ++it) {
            const Staged& entry = *staged[*it];
            if (!backups[*it].empty())
                std::rename(backups[*it].c_str(), entry.file.c_str());
            else if (!existed[*it])
                unlink(entry.file.c_str());
            CommitStep(static_cast<size_t>(placed.rend() - it) - 1);
        }
        clear();
        removeBackups();
        for (const std::string& folder : folders) SyncFolder(folder);
        removeRecords(records.size());
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
    removeRecords(records.size());
    removeBackups();
    clear();
    return Outcome();
}

}  // namespace m3d
