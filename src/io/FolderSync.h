#pragma once

#include <string>

namespace m3d {

// Makes the names in folder (new, renamed and removed files) reach the disk,
// as fsync does for a file's contents. A folder that cannot be opened is
// left: the names then reach the disk when the system writes them out.
void SyncFolder(const std::string& folder);

}  // namespace m3d
