#pragma once

#include "io/AtomicFile.h"
#include "io/CommitRecovery.h"
#include "io/FileSink.h"
#include "io/Outcome.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace m3d {

// How one file of a set is put in place.
struct FileSetOptions {
    // Replace a read-only file (the caller has asked the user).
    bool replaceReadOnly = false;
    // Only where no file is: a file found at the path when the set is
    // committed stays as it is, and this one is dropped.
    bool keepExisting = false;
};

// Files that are replaced together or not at all: an export with the files
// beside it, a project with its .mesh files. Add writes each file in full
// into a temporary beside its target (the targets are untouched); Commit
// then renames them into place in the order they were added, so the file
// that refers to the others is added last. When anything fails, every file
// already put in place is put back as it was (the old file from a hard link
// kept until the end), so the old set stays whole.
//
// While Commit puts a set of more than one file in place it keeps a record
// of it in each of its folders, beside the last file there (CommitRecordPath,
// CommitRecord.h), naming only the files of that folder. When the program is
// killed meanwhile, the next open of the project there for editing
// (RecoverCommitsIn) or the next set written into the folder (Add, through
// TidyFolder) finds the record and, its writer being gone, finishes the
// commit or puts the old files back: a set is never left half new (how the
// folders of one set end alike: RecoverCommit). Temporaries and second names
// left by a kill name their process (OwnTemporaryName) and are removed by a
// later write into their folder. Where the file system has no hard links, a
// file replaced before a failure cannot be put back.
class FileSetWriter {
public:
    FileSetWriter();
    ~FileSetWriter();  // removes whatever was written and not committed
    FileSetWriter(const FileSetWriter&) = delete;
    FileSetWriter& operator=(const FileSetWriter&) = delete;

    // Writes the new contents of path (refused as WriteFileAtomically
    // refuses). The first file into a folder (and the first after a few
    // seconds) first ends the interrupted commits found there (TidyFolder),
    // which Recoveries then reports. A second file for the same target
    // replaces the first, in the first one's place in the order. A failure
    // names the file and carries the errno of a failed system call (ENOSPC,
    // EROFS, ENAMETOOLONG...; 0 for a refused or read-only target); the set
    // is then to be abandoned.
    Outcome Add(const std::string& path, const std::function<bool(FileSink&)>& produce,
                const FileSetOptions& options = {});
    Outcome Add(const std::string& path, std::string_view data, const FileSetOptions& options = {});

    // Puts every file in place, in the order added, and syncs their folders.
    // A failure, as Add's, leaves every target as it was and the set emptied;
    // so does the record of another commit of the same last file whose
    // writer is still running.
    Outcome Commit();
    // Files a Commit left in place because one was already there (keepExisting).
    const std::vector<std::string>& KeptExisting() const { return kept; }
    // What was done about interrupted commits found while writing this set,
    // for the caller to tell the user before its own result.
    const std::vector<CommitRecoveryNote>& Recoveries() const { return recoveries; }

    // For tests of interrupted commits only: called by every Commit of the
    // process with the number of files put in place so far: 0 just before
    // the first (the records written), then after each; and when a commit
    // fails, after each file put back with the number still in place. Empty:
    // none.
    static void SetCommitStepHookForTests(std::function<void(size_t placed)> hook);

private:
    struct Staged;
    Outcome WriteRecord(const std::string& recordPath, const std::string& bytes, const std::string& setPath);

    std::vector<std::unique_ptr<Staged>> staged;
    std::unordered_map<std::string, size_t> positionOf;  // target file -> its place in staged
    std::vector<std::string> kept;
    std::vector<CommitRecoveryNote> recoveries;
};

}  // namespace m3d
