#pragma once

#include "io/AtomicFile.h"
#include "io/FileSink.h"

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
// A crash while Commit renames (milliseconds, no data is written then) can
// leave the files renamed so far new and the rest old; the file added last
// is then still the old one. Its temporaries and backups carry the names
// of WriteFileAtomically's temporaries and are removed as stale by a later
// write into their folder. Where the file system has no hard links, a file
// replaced before the failure cannot be put back.
class FileSetWriter {
public:
    FileSetWriter();
    ~FileSetWriter();  // removes whatever was written and not committed
    FileSetWriter(const FileSetWriter&) = delete;
    FileSetWriter& operator=(const FileSetWriter&) = delete;

    // Writes the new contents of path (refused as WriteFileAtomically
    // refuses). A second file for the same target replaces the first, in
    // the first one's place in the order.
    // false with Error and ErrorNumber set; the set is then to be abandoned.
    bool Add(const std::string& path, const std::function<bool(FileSink&)>& produce,
             const FileSetOptions& options = {});
    bool Add(const std::string& path, std::string_view data, const FileSetOptions& options = {});

    // Records a failure of the caller's own making (error names the file and
    // the reason) as the set's, so that callers read one place: returns false.
    bool Refuse(const std::string& reason);
    // Records that the user cancelled while the contents of path were made:
    // returns false; Cancelled() is then true.
    bool Cancel(const std::string& path);
    bool Cancelled() const { return cancelled; }

    // Puts every file in place, in the order added, and syncs their folders.
    // false with Error and ErrorNumber set, every target as it was and the
    // set emptied.
    bool Commit();

    // Why the last call failed, naming the file; "" after success.
    const std::string& Error() const { return error; }
    // errno of the failed system call (ENOSPC, EROFS, ENAMETOOLONG...); 0
    // when the failure was no system call's (a refused or read-only target).
    int ErrorNumber() const { return errorNumber; }
    // Files a Commit left in place because one was already there (keepExisting).
    const std::vector<std::string>& KeptExisting() const { return kept; }

private:
    struct Staged;
    std::vector<std::unique_ptr<Staged>> staged;
    std::unordered_map<std::string, size_t> positionOf;  // target file -> its place in staged
    std::vector<std::string> kept;
    std::string error;
    int errorNumber = 0;
    bool cancelled = false;
};

}  // namespace m3d
