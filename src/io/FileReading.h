#pragma once

#include "io/Outcome.h"

#include <cstddef>
#include <string>

namespace m3d {

// Opens path for reading only when it is a regular file (symbolic links
// followed): a FIFO, device, socket or folder is refused from its status
// before it is opened, and the open itself never waits (O_NONBLOCK), so a
// file swapped for a FIFO in between is found by the check after opening, not
// waited on. Returns the descriptor (the caller closes it), or the failure
// naming path and the reason.
Expected<int> OpenRegularFileForReading(const std::string& path);

// Why the thing at path (symbolic links followed) is no file to read: "PATH:
// a FIFO, not a regular file; nothing was read" and the like; "" when it is a
// regular file or there is nothing at path.
std::string NotRegularFileReason(const std::string& path);

// For a program that reads files of one folder it did not make and nothing
// else (the thumbnailer): from now on OpenRegularFileForReading and
// ReadNamedFile, and so every reader, refuse a file that lies outside folder (canonical, CanonicalPath)
// and below it, as the system resolves the file it opened: symbolic links
// and ".." followed. For the whole process; "" lifts it.
void ConfineReadsTo(const std::string& folder);

// Reads the whole regular file at path (opened as above). Fails with a
// message naming the file when it is no regular file, cannot be opened or
// read, or is larger than maxBytes (checked from its size before a byte is
// read).
Expected<std::string> ReadWholeFile(const std::string& path, size_t maxBytes = size_t(1) << 31);

// The first bytes of the regular file at path (opened as above), at most
// maxBytes of them: the whole file when it is shorter.
Expected<std::string> ReadFilePrefix(const std::string& path, size_t maxBytes);

// Where a file named by another file (a model's buffer, material library or
// texture) may lie.
enum class NamedFileScope {
    InFolder,  // in the naming file's folder or below it, symbolic links followed
    Anywhere,  // anywhere the user may read (the user allowed it)
};

// Reads the file at path (relative to the working folder or absolute), which
// a file in folder names, as one downloaded with it: the path is resolved
// with its symbolic links followed, refused when scope is InFolder and it
// leads outside folder, and what it leads to is read only when it is a
// regular file of at most maxBytes outside /proc and /sys (never a FIFO,
// device or socket; the open never waits, and a last component swapped for a
// symbolic link after the check is not followed). At most the size the file
// had when opened is read. Fails with a message naming path and the reason.
Expected<std::string> ReadNamedFile(const std::string& folder, const std::string& path, size_t maxBytes,
                                    NamedFileScope scope = NamedFileScope::InFolder);

}  // namespace m3d
