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
// else (the thumbnailer): from now on OpenRegularFileForReading, and so every
// reader, refuses a file that lies outside folder (canonical, CanonicalPath)
// and below it, as the system resolves the file it opened: symbolic links
// and ".." followed. For the whole process; "" lifts it.
void ConfineReadsTo(const std::string& folder);

// Reads the whole regular file at path (opened as above). Fails with a
// message naming the file when it is no regular file, cannot be opened or
// read, or is larger than maxBytes (checked from its size before a byte is
// read).
Expected<std::string> ReadWholeFile(const std::string& path, size_t maxBytes = size_t(1) << 31);

// The first bytes of the regular file at path (opened as above); all of it
// when it is shorter.
Expected<std::string> ReadFileStart(const std::string& path, size_t bytes);

}  // namespace m3d
