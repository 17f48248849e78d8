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
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace m3d {

namespace {

// Files named in a note before the rest are counted.
constexpr size_t kListedFiles = 5;

// The inode of the regular file at path; 0 when there is none.
uint64_t InodeAt(const std::string& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    return static_cast<uint64_t>(info.st_ino);
}

bool NothingAt(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) != 0 && errno == ENOENT;
}

// An entry of the record with its names made into paths of the record's folder.
struct RecordedFile {
    const CommitRecordEntry* entry;
    std::string target;
    std::string staged;
    std::string backup;  // "" when none was made
};

// Where one file of the set is.
enum class Step {
    Pending,  // still staged, and what was there still there: it can be put in place
    Done,     // the staged file is in place
    Kept,     // only where no file was (keepExisting), and one is: it stays
    Undone,   // as before the commit: put back already, or never to be put in place
    Foreign,  // neither what was staged nor what was there: left alone
};

// Whether the file the target replaces is there, and shown to be the very
// file: by its second name, a link only the writer can have made to it, or
// where there was none, by its size and digest.
bool OldFileThere(const RecordedFile& file, bool& proven)
{
    const FileFingerprint& old = file.entry->oldFile;
    proven = true;
    if (old.inode == 0) return NothingAt(file.target);
    if (file.backup.empty()) return HasFingerprint(file.target, old);
    proven = InodeAt(file.backup) == old.inode;
    return InodeAt(file.target) == old.inode;
}

Step StepOf(const RecordedFile& file)
{
    const CommitRecordEntry& entry = *file.entry;
    if (HasFingerprint(file.target, entry.stagedFile)) return Step::Done;
    const bool staged = HasFingerprint(file.staged, entry.stagedFile);
    if (entry.keepExisting) {
        if (!NothingAt(file.target)) return Step::Kept;
        return staged ? Step::Pending : Step::Undone;
    }
    bool proven = false;
    if (!OldFileThere(file, proven)) return Step::Foreign;
    return staged && proven ? Step::Pending : Step::Undone;
}

std::string ListOfFiles(const std::vector<std::string>& files)
{
    std::string text;
    for (size_t i = 0; i < files.size() && i < kListedFiles; ++i) text += (i > 0 ? "\n" : "") + files[i];
    if (files.size() > kListedFiles)
        text += "\n" + WithArguments(UiText("core", "ほか%1個"), {std::to_string(files.size() - kListedFiles)});
    return text;
}

CommitRecoveryNote Note(CommitRecoveryNote::Result result, const std::string& setFile, const char* text,
                        const std::string& detail = std::string())
{
    return {result, setFile, {}, WithArguments(UiText("core", text), {setFile, detail})};
}

CommitRecoveryNote Failed(const std::string& setFile, const std::string& file, int errorNumber)
{
    return Note(CommitRecoveryNote::Result::Failed, setFile,
                QT_TRANSLATE_NOOP("core", "%1の保存が途中で止まっていたが、完了も取り消しもできない。\n%2"),
                file + ": " + std::strerror(errorNumber));
}

// Puts in place what is still staged, in the record's order.
std::optional<CommitRecoveryNote> Finish(const std::vector<RecordedFile>& files, const std::vector<Step>& steps,
                                         const std::string& setFile)
{
    for (size_t i = 0; i < files.size(); ++i) {
        if (steps[i] != Step::Pending) continue;
        const RecordedFile& file = files[i];
        const bool placed = file.entry->keepExisting
                                ? link(file.staged.c_str(), file.target.c_str()) == 0 || errno == EEXIST
                                : std::rename(file.staged.c_str(), file.target.c_str()) == 0;
        if (!placed) return Failed(setFile, file.target, errno);
    }
    return std::nullopt;
}

// Puts back the old files of what was put in place, last first. Where no
// second name was made (no hard links), a replaced file cannot come back.
std::optional<CommitRecoveryNote> PutBack(const std::vector<RecordedFile>& files, const std::vector<Step>& steps,
                                          const std::string& setFile)
{
    for (size_t i = files.size(); i-- > 0;) {
        if (steps[i] != Step::Done) continue;
        const RecordedFile& file = files[i];
        const CommitRecordEntry& entry = *file.entry;
        bool restored = true;
        if (entry.keepExisting || entry.oldFile.inode == 0)
            restored = unlink(file.target.c_str()) == 0;
        else if (!file.backup.empty() && InodeAt(file.backup) == entry.oldFile.inode)
            restored = std::rename(file.backup.c_str(), file.target.c_str()) == 0;
        if (!restored) return Failed(setFile, file.target, errno);
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
    const Expected<std::string> bytes = ReadWholeFile(recordPath, kMaxCommitRecordBytes);
    Outcome read = bytes ? DecodeCommitRecord(*bytes, recordPath, record) : bytes.Status();
    if (!read)
        return Note(CommitRecoveryNote::Result::Refused, recordPath,
                    QT_TRANSLATE_NOOP("core", "途中で止まった保存の記録%1は使えないため、何も変更していない。\n%2"),
                    read.Message());
    if (!CountsAsGone(StateOfWriter(record.writer), std::time(nullptr) - info.st_mtime)) return std::nullopt;

    const std::string folder = FolderOfFile(recordPath);
    std::vector<RecordedFile> files;
    std::vector<Step> steps;
    for (const CommitRecordEntry& entry : record.entries) {
        files.push_back({&entry, folder + "/" + entry.target, folder + "/" + entry.staged,
                         entry.backup.empty() ? std::string() : folder + "/" + entry.backup});
        steps.push_back(StepOf(files.back()));
    }
    const std::string& setFile = files.back().target;

    bool finishable = !record.puttingBack;
    std::vector<std::string> leftAlone;
    for (size_t i = 0; i < files.size(); ++i) {
        if (steps[i] == Step::Undone || steps[i] == Step::Foreign) finishable = false;
        if (steps[i] == Step::Foreign) leftAlone.push_back(files[i].target);
    }
    if (std::optional<CommitRecoveryNote> failed =
            finishable ? Finish(files, steps, setFile) : PutBack(files, steps, setFile))
        return failed;
    SyncFolder(folder);
    // The record goes first: what is left after it is removed as any writer's leftovers.
    if (InodeAt(recordPath) == static_cast<uint64_t>(info.st_ino)) unlink(recordPath.c_str());
    for (size_t i = 0; i < files.size(); ++i) {
        if (steps[i] == Step::Foreign) continue;
        const RecordedFile& file = files[i];
        if (HasFingerprint(file.staged, file.entry->stagedFile)) unlink(file.staged.c_str());
        if (!file.backup.empty() && InodeAt(file.backup) == file.entry->oldFile.inode) unlink(file.backup.c_str());
    }
    CommitRecoveryNote note =
        finishable ? Note(CommitRecoveryNote::Result::Finished, setFile,
                          QT_TRANSLATE_NOOP("core",
                                            "%1の保存が途中で止まっていたため、残りのファイルを置いて保存を完了した。"))
                   : Note(CommitRecoveryNote::Result::PutBack, setFile,
                          QT_TRANSLATE_NOOP("core", "%1の保存が途中で止まっていたため、保存前のファイルに戻した。"));
    if (!leftAlone.empty())
        note.message += "\n" + WithArguments(UiText("core", "次のファイルは記録と違うため、触れていない:\n%1"),
                                             {ListOfFiles(leftAlone)});
    note.leftAlone = std::move(leftAlone);
    return note;
}

std::vector<CommitRecoveryNote> RecoverCommitsIn(const std::string& folder)
{
    std::vector<std::string> records;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            if (IsCommitRecordName(entry->d_name)) records.push_back(folder + "/" + entry->d_name);
        closedir(dir);
    }
    std::vector<CommitRecoveryNote> notes;
    for (const std::string& record : records)
        if (std::optional<CommitRecoveryNote> note = RecoverCommit(record)) notes.push_back(std::move(*note));
    return notes;
}

std::optional<CommitRecoveryNote> PendingCommitOf(const std::string& file)
{
    const std::string record = CommitRecordPath(file);
    struct stat info;
    if (lstat(record.c_str(), &info) != 0) return std::nullopt;
    CommitRecoveryNote note =
        Note(CommitRecoveryNote::Result::Pending, record,
             QT_TRANSLATE_NOOP("core",
                               "%2の保存が途中で止まったまま残っている（記録%1）。読むだけなので何も変更して"
                               "いない。編集のために開くか、そのフォルダーに書き込むと、完了するか元に戻す。"),
             file);
    return note;
}

}  // namespace m3d
