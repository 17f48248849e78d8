#include "io/CommitRecovery.h"

#include "io/CommitRecord.h"
#include "io/FileReading.h"
#include "io/FolderSync.h"
#include "io/TemporaryNames.h"
#include "io/WriteTarget.h"
#include "text/UiText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace m3d {

namespace {

// Far beyond the record of a set of a million files.
constexpr size_t kMaxRecordBytes = size_t(256) << 20;

// The inode of the regular file at path; 0 when there is none.
uint64_t InodeAt(const std::string& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    return static_cast<uint64_t>(info.st_ino);
}

// An entry of the record with its names made into paths.
struct RecordedFile {
    const CommitRecordEntry* entry;
    std::string target;
    std::string staged;
    std::string backup;  // "" when none was made
};

// Where one file of the set is.
enum class Step {
    Pending,  // still staged: the target is untouched
    Done,     // in place
    Undone,   // put back already (the writer's own undo), or never to be put in place
    Lost,     // neither the staged file nor the old one: changed since by someone else
};

Step StepOf(const RecordedFile& file)
{
    const CommitRecordEntry& entry = *file.entry;
    const uint64_t staged = InodeAt(file.staged);
    const uint64_t target = InodeAt(file.target);
    if (entry.keepExisting) {
        // The staged file stays until the end, also once linked in place.
        if (target != 0) return Step::Done;  // ours, or a file kept because it was there
        return staged == entry.stagedInode ? Step::Pending : Step::Undone;
    }
    if (staged == entry.stagedInode) return Step::Pending;
    if (target == entry.stagedInode) return Step::Done;
    return target == entry.oldInode ? Step::Undone : Step::Lost;
}

CommitRecoveryNote Note(CommitRecoveryNote::Result result, const std::string& setFile, const char* text,
                        const std::string& detail = std::string())
{
    return {result, setFile, WithArguments(UiText("core", text), {setFile, detail})};
}

CommitRecoveryNote Failed(const std::string& setFile, const std::string& file, int errorNumber)
{
    return Note(CommitRecoveryNote::Result::Failed, setFile,
                QT_TRANSLATE_NOOP("core", "%1の保存が途中で止まっていたが、完了も取り消しもできない。\n%2"),
                file + ": " + std::strerror(errorNumber));
}

// Puts in place what is still staged, in the record's order.
std::optional<CommitRecoveryNote> Finish(const std::vector<RecordedFile>& files, const std::string& setFile)
{
    for (const RecordedFile& file : files) {
        if (StepOf(file) != Step::Pending) continue;
        const bool placed = file.entry->keepExisting
                                ? link(file.staged.c_str(), file.target.c_str()) == 0 || errno == EEXIST
                                : std::rename(file.staged.c_str(), file.target.c_str()) == 0;
        if (!placed) return Failed(setFile, file.target, errno);
    }
    return std::nullopt;
}

// Puts back the old files of what was put in place, last first.
std::optional<CommitRecoveryNote> PutBack(const std::vector<RecordedFile>& files, const std::string& setFile)
{
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        const CommitRecordEntry& entry = *file->entry;
        // A file kept because it was there is no file of ours.
        if (StepOf(*file) != Step::Done || InodeAt(file->target) != entry.stagedInode) continue;
        bool restored = true;
        if (entry.oldInode == 0)
            restored = unlink(file->target.c_str()) == 0;
        else if (!file->backup.empty() && InodeAt(file->backup) == entry.oldInode)
            restored = std::rename(file->backup.c_str(), file->target.c_str()) == 0;
        if (!restored) return Failed(setFile, file->target, errno);
    }
    return std::nullopt;
}

}  // namespace

std::optional<CommitRecoveryNote> RecoverCommit(const std::string& recordPath)
{
    struct stat info;
    if (lstat(recordPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid())
        return std::nullopt;
    CommitRecord record;
    const Expected<std::string> bytes = ReadWholeFile(recordPath, kMaxRecordBytes);
    Outcome read = bytes ? DecodeCommitRecord(*bytes, recordPath, record) : bytes.Status();
    if (!read)
        return Note(CommitRecoveryNote::Result::Unreadable, recordPath,
                    QT_TRANSLATE_NOOP("core", "途中で止まった保存の記録%1が読めないため、何も変更していない。\n%2"),
                    read.Message());
    if (!CountsAsGone(StateOfWriter(record.writer), std::time(nullptr) - info.st_mtime)) return std::nullopt;

    const std::string recordFolder = FolderOfFile(recordPath);
    std::vector<RecordedFile> files;
    std::set<std::string> folders{recordFolder};
    for (const CommitRecordEntry& entry : record.entries) {
        RecordedFile file{
            &entry, entry.target.front() == '/' ? entry.target : recordFolder + "/" + entry.target, {}, {}};
        const std::string folder = FolderOfFile(file.target);
        file.staged = folder + "/" + entry.staged;
        if (!entry.backup.empty()) file.backup = folder + "/" + entry.backup;
        folders.insert(folder);
        files.push_back(std::move(file));
    }
    const std::string& setFile = files.back().target;

    bool finishable = true;
    for (const RecordedFile& file : files) {
        const Step step = StepOf(file);
        if (step == Step::Undone || step == Step::Lost) finishable = false;
    }
    if (std::optional<CommitRecoveryNote> failed = finishable ? Finish(files, setFile) : PutBack(files, setFile))
        return failed;
    for (const std::string& folder : folders) SyncFolder(folder);
    // The record goes first: what is left after it is removed as any writer's leftovers.
    unlink(recordPath.c_str());
    for (const RecordedFile& file : files) {
        if (InodeAt(file.staged) == file.entry->stagedInode) unlink(file.staged.c_str());
        if (!file.backup.empty() && InodeAt(file.backup) == file.entry->oldInode) unlink(file.backup.c_str());
    }
    if (finishable)
        return Note(
            CommitRecoveryNote::Result::Finished, setFile,
            QT_TRANSLATE_NOOP("core", "%1の保存が途中で止まっていたため、残りのファイルを置いて保存を完了した。"));
    return Note(CommitRecoveryNote::Result::PutBack, setFile,
                QT_TRANSLATE_NOOP("core", "%1の保存が途中で止まっていたため、保存前のファイルに戻した。"));
}

std::optional<CommitRecoveryNote> RecoverCommitOf(const std::string& file)
{
    return RecoverCommit(CommitRecordPath(file));
}

}  // namespace m3d
