#pragma once

#include <optional>
#include <string>
#include <vector>

namespace m3d {

// What was done about a commit of a set of files (FileSetWriter) that its
// writer did not live to end, or what a reader found of one.
struct CommitRecoveryNote {
    enum class Result {
        Finished,  // every file was staged in full: the rest were put in place
        PutBack,   // a staged file was missing, or the writer was undoing: the files as they were before were put back
        Refused,   // the record is damaged, of another version, beyond its bounds or names what no record of ours
                   // names: nothing was changed and the record stays
        Failed,    // a file could not be moved: the record stays for a later try
        Pending,   // found by a reader, which changes nothing: the commit waits for an open for editing or a write
    };
    Result result = Result::Finished;
    // The last file the record names (for a set that spans folders, the last
    // one in the record's folder); for Refused and Pending the record.
    std::string setFile;
    // Files of the record that are neither what the commit staged nor what
    // was there before it (changed since, or never ours): left as they are.
    std::vector<std::string> leftAlone;
    // For the user, naming setFile and what was done (a failure's reason, the
    // files left alone too).
    std::string message;
};

// Ends the commit recorded at recordPath when its writer is gone
// (CountsAsGone) and the record is this user's: finishes it when every file
// not yet put in place is still staged and the writer was not undoing it,
// else puts back the old files from their second names, then removes the
// record and what the commit left. Only files in the record's folder are
// touched (the record names no other), and only the very files the record
// names, shown by their inode, size and digest (FileFingerprint): a file is
// put in place only when it is the staged file and the one it replaces the
// old one, and taken away only when it is the staged file. A record larger
// than kMaxCommitRecordBytes is refused unread. nullopt when there is no such
// record, it belongs to another user, or its writer may still be running (it
// is then left alone).
//
// A set whose files lie in several folders (reached through symbolic links)
// keeps a record in each, and each is ended alone, by the next open for
// editing or write into its folder, by the same rule: a kill while the files
// are renamed leaves every file not yet in place staged, so every folder
// finishes; the writer marks every record (CommitRecord::puttingBack) before
// it undoes anything, so a kill while it undoes makes every folder put back.
// Only someone changing the files meanwhile can make the folders end apart,
// and the notes then name the files left alone.
std::optional<CommitRecoveryNote> RecoverCommit(const std::string& recordPath);

// RecoverCommit for every record in folder: before a project there is opened
// for editing, so that the files read are one set.
std::vector<CommitRecoveryNote> RecoverCommitsIn(const std::string& folder);

// For a reader of file, the last file of a set, which changes nothing: a
// Pending note when a commit's record lies beside it (CommitRecordPath);
// nullopt when none does.
std::optional<CommitRecoveryNote> PendingCommitOf(const std::string& file);

}  // namespace m3d
