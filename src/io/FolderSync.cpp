#include "io/FolderSync.h"

#include <fcntl.h>
#include <unistd.h>

namespace m3d {

void SyncFolder(const std::string& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace m3d
