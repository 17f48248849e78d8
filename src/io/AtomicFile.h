#pragma once

#include "io/FileSink.h"
#include "io/Outcome.h"
#include "io/WriteTarget.h"

#include <functional>
#include <string>
#include <string_view>

namespace m3d {

struct AtomicWriteOptions {
    // Replace a file whose permission bits forbid us to write it (the caller
    // has asked the user); otherwise such a file is refused.
    bool replaceReadOnly = false;
};

// Writes path as a whole or not at all: produce streams the contents into a
// temporary file in the target's folder, which then replaces the target in
// one step, so a failed or killed write never destroys the previous file and
// leaves nothing behind. The temporary has no name while it is written
// (O_TMPFILE); on file systems without that, it is named after the file and
// the writing process (OwnTemporaryName). Writing first tidies the folder
// (TidyFolder): named temporaries whose process is gone are removed, however
// fresh, and the "FILE.tmpXXXXXX" of earlier versions once a minute old. The
// record of an interrupted set commit found there is left, with the files it
// needs, to the set writers and the project open, which report what they do
// about it (FileSetWriter).
//
// A symbolic link is kept and the file it leads to is replaced. The new file
// keeps the old one's permission bits and owner (a new file follows the
// umask). Refused with nothing written: a target that is not a regular file,
// a read-only target unless options say otherwise, and a produce that returns
// false (its reason from FileSink::Refuse). A failure names path and the
// reason. Exceptions from produce pass through, after the temporary is gone.
Outcome WriteFileAtomically(const std::string& path, const std::function<bool(FileSink&)>& produce,
                            const AtomicWriteOptions& options = {});
// The same for contents already in memory.
Outcome WriteFileAtomically(const std::string& path, std::string_view data, const AtomicWriteOptions& options = {});

// The refusals shared by every write: a target that is no regular file or
// cannot be looked at, and a read-only one unless options allow it. The
// failure names path and the reason.
Outcome CheckWriteTarget(const std::string& path, const WriteTarget& target, const AtomicWriteOptions& options);

}  // namespace m3d
