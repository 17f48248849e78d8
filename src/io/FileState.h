#pragma once

#include <cstdint>
#include <string>

namespace m3d {

// What tells a file changed without reading it: its size and last change.
struct FileState {
    int64_t size = -1;  // -1: there is no file
    int64_t modifiedNanoseconds = 0;
    bool operator==(const FileState&) const = default;
};

// The state of the file at path now (symbolic links followed).
FileState FileStateOf(const std::string& path);

}  // namespace m3d
