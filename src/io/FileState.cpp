#include "io/FileState.h"

#include <sys/stat.h>

namespace m3d {

FileState FileStateOf(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return {};
    return {int64_t(info.st_size), int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

}  // namespace m3d
