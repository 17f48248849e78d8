#pragma once

#include <optional>
#include <string>

namespace m3d {

// What was done about a commit of a set of files (FileSetWriter) that its
// writer did not live to end.
struct CommitRecoveryNote {
    enum class Result {
        Finished,    // every file was staged in full: the rest were put in place
        PutBack,     // a staged file was missing: the files as they were before were put back
        Unreadable,  // the record is damaged: nothing was changed
        Failed,      // a file could not be moved: the record stays for a later try
    };
    Result result = Result::Finished;
    // The set's last file (the one that names the others); for Unreadable the record.
    std::string setFile;
    // For the user, naming setFile and what was done (a failure's reason too).
    std::string message;
};

// Ends the commit recorded at recordPath when its writer is gone
// (CountsAsGone) and the record is this user's: finishes it when every file
// not yet put in place is still staged, else puts back the old files from
// their second names, then removes the record and what the commit left. A
// file is touched only when it is the very file (inode) the record names.
// nullopt when there is no such record, it belongs to another user, or its
// writer may still be running (it is then left alone).
std::optional<CommitRecoveryNote> RecoverCommit(const std::string& recordPath);

// RecoverCommit for the record beside file, the last file of a set
// (CommitRecordPath): for the reader of that file, before it reads it.
std::optional<CommitRecoveryNote> RecoverCommitOf(const std::string& file);

}  // namespace m3d
