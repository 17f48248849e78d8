#pragma once

#include "io/Outcome.h"
#include "io/ProcessIdentity.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace m3d {

// One file of a set being put in place, as the commit's record keeps it.
struct CommitRecordEntry {
    // false: the staged file is renamed over the target; true: it is linked
    // there only where no file is (FileSetOptions::keepExisting).
    bool keepExisting = false;
    // The target: a name in the record's folder, or an absolute path.
    std::string target;
    // The staged temporary and the second name of the file that was there
    // ("" when none was made), both names in the target's folder.
    std::string staged;
    std::string backup;
    uint64_t stagedInode = 0;
    // The file that was there; 0 when there was none.
    uint64_t oldInode = 0;
};

// What a commit of a set of files (FileSetWriter) leaves on disk while it
// puts them in place, so that a later run can finish or undo it when the
// writer was killed. Kept at CommitRecordPath of the set's last file.
struct CommitRecord {
    ProcessIdentity writer;
    // In the order they are put in place, the set's last file last.
    std::vector<CommitRecordEntry> entries;
};

// The record as text: a header line, the writer, the count, one line an
// entry (names as LENGTH:BYTES, so any byte may be in them) and a digest of
// everything before it.
std::string EncodeCommitRecord(const CommitRecord& record);

// Reads bytes, the contents of the record at path, into record. Refused,
// naming path, the byte offset and the reason: anything but the form above
// with a matching digest, no entry, a target that is neither a plain name nor
// an absolute path, and staged or backup names that are no temporaries of the
// record's writer (OwnTemporaryName), so that a record from elsewhere can
// touch only files this program made.
Outcome DecodeCommitRecord(std::string_view bytes, const std::string& path, CommitRecord& record);

}  // namespace m3d
