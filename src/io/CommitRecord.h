#pragma once

#include "io/FileFingerprint.h"
#include "io/Outcome.h"
#include "io/ProcessIdentity.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace m3d {

// One file of a set being put in place, as the commit's record keeps it. Every
// name is a plain file name in the record's own folder.
struct CommitRecordEntry {
    // false: the staged file is renamed over the target; true: it is linked
    // there only where no file is (FileSetOptions::keepExisting).
    bool keepExisting = false;
    std::string target;
    // The staged temporary, and the second name (a hard link) of the file that
    // was there ("" when none was made).
    std::string staged;
    std::string backup;
    // The staged file as it was written: the only file recovery puts in place
    // or takes away again.
    FileFingerprint stagedFile;
    // The file that was there: its inode, 0 when there was none. Where no
    // second name could be made (a file system without hard links), its size
    // and digest too, so that recovery still knows it.
    FileFingerprint oldFile;

    bool operator==(const CommitRecordEntry&) const = default;
};

// What a commit of a set of files (FileSetWriter) leaves on disk while it
// puts them in place, so that a later run can finish or undo it when the
// writer was killed. One record for each folder of the set (more where one
// would pass the bounds below), at CommitRecordPath of its last file.
struct CommitRecord {
    ProcessIdentity writer;
    // The writer had begun to undo the commit: recovery puts back, whatever is
    // still staged.
    bool puttingBack = false;
    // In the order they are put in place.
    std::vector<CommitRecordEntry> entries;

    bool operator==(const CommitRecord&) const = default;
};

// A record beyond either bound is refused whole, unread.
constexpr size_t kMaxCommitRecordBytes = size_t(1) << 20;
constexpr size_t kMaxCommitRecordEntries = 10000;

// The record as text: a header line with the format's version, the writer,
// the mode, the count, one line an entry (names as LENGTH:BYTES, so any byte
// may be in them) and a digest of everything before it.
std::string EncodeCommitRecord(const CommitRecord& record);

// The line that ends a record whose other bytes are body (what EncodeCommitRecord appends).
std::string CommitRecordDigestLine(std::string_view body);

// Reads bytes, the contents of the record at path, into record. Refused,
// naming path, the byte offset and the reason: anything but the form above
// with a matching digest (a record of another version too), bytes or entries
// beyond the bounds, a target that is no plain name of a file (a path, "..",
// a temporary's or a record's name), a name used twice, and staged or backup
// names that are no temporaries of the record's writer (OwnTemporaryName),
// so that a record from elsewhere can name only files of its own folder.
Outcome DecodeCommitRecord(std::string_view bytes, const std::string& path, CommitRecord& record);

}  // namespace m3d
