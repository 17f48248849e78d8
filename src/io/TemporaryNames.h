#pragma once

#include "io/ProcessIdentity.h"

#include <optional>
#include <string>
#include <string_view>

namespace m3d {

// The names of the files this program keeps beside its targets while it
// writes them. They name the process that made them, so that a later write
// can tell a leftover of a killed run from a write in progress.

// "FILE.m3d-tmp-PID-START-BOOT-XXXXXX" beside file, with six random letters
// or digits: new contents being written, or a second name of a file being
// replaced, of this process. FILE is cut short (at a character boundary of
// UTF-8) where the whole would be longer than a file name may be.
std::string OwnTemporaryName(const std::string& file);
// The process a name of that form names; nullopt for any other name.
std::optional<ProcessIdentity> TemporaryWriter(std::string_view name);
// "NAME.tmpXXXXXX", the temporaries of earlier versions, which name no process.
bool IsLegacyTemporaryName(std::string_view name);

// "FILE.m3d-commit" beside file (FILE cut short as above): the record of a
// commit of a set of files whose last file is file (CommitRecord.h).
std::string CommitRecordPath(const std::string& file);
bool IsCommitRecordName(std::string_view name);

}  // namespace m3d
