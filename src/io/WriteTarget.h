#pragma once

#include <string>
#include <sys/types.h>

namespace m3d {

// What a save would replace at a path, symbolic links followed.
struct WriteTarget {
    enum class Kind {
        Missing,      // nothing there yet, in a folder that exists: a new file is created
        Regular,      // an ordinary file, replaced as a whole
        NotRegular,  // a directory, FIFO, device node or socket: never written
        Unusable,     // the path cannot be looked at, or its folder does not exist (see error)
    };
    Kind kind = WriteTarget::Kind::Unusable;
    // The file that is really written: the path given, or the end of its
    // chain of symbolic links (a relative link taken from its own folder).
    std::string file;
    // For Kind::Regular: the old file's permission bits and owner, kept by the new file.
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
    // For Kind::Regular: the permission bits give this user no write access. Decided
    // by the mode alone, so that the answer is the same for root.
    bool readOnly = false;
    // For Kind::Unusable and Kind::NotRegular: the reason, starting with the path given.
    std::string error;
    // For Kind::Unusable: the errno of the failed look (ENAMETOOLONG, EACCES...), 0 for a link loop.
    int errorNumber = 0;
};

// Looks at path without changing anything.
WriteTarget InspectWriteTarget(const std::string& path);

// What a file of this mode is, for messages: "a folder", "a FIFO", "a device", "a socket"...
const char* FileKindName(mode_t mode);

// The folder of a file path with '/' separators ("." when there is none).
std::string FolderOfFile(const std::string& path);

}  // namespace m3d
