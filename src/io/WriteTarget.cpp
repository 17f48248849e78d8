#include "io/WriteTarget.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace m3d {

namespace {

// Longer chains are loops or an attack; the kernel gives up at 40 too.
constexpr int kMaxLinkHops = 40;

bool InGroup(gid_t group)
{
    if (group == getegid()) return true;
    const int count = getgroups(0, nullptr);
    if (count <= 0) return false;
    std::vector<gid_t> groups(static_cast<size_t>(count));
    const int got = getgroups(count, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[static_cast<size_t>(i)] == group) return true;
    return false;
}

bool ReadOnlyForUs(const struct stat& info)
{
    if (info.st_uid == geteuid()) return (info.st_mode & S_IWUSR) == 0;
    if (InGroup(info.st_gid)) return (info.st_mode & S_IWGRP) == 0;
    return (info.st_mode & S_IWOTH) == 0;
}

}  // namespace

const char* FileKindName(mode_t mode)
{
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISREG(mode)) return "a regular file";
    return "not a regular file";
}

std::string FolderOfFile(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

WriteTarget InspectWriteTarget(const std::string& path)
{
    WriteTarget target;
    target.file = path;
    for (int hop = 0;; ++hop) {
        struct stat info;
        if (lstat(target.file.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                // A new file needs a folder to go into.
                const std::string folder = FolderOfFile(target.file);
                struct stat folderInfo;
                if (stat(folder.c_str(), &folderInfo) == 0 && S_ISDIR(folderInfo.st_mode)) {
                    target.kind = WriteTarget::Kind::Missing;
                } else {
                    target.errorNumber = ENOENT;
                    target.error = path + ": the folder " + folder + " does not exist";
                }
            } else {
                target.errorNumber = errno;
                target.error = path + ": cannot be looked at: " + std::strerror(errno);
            }
            return target;
        }
        if (S_ISLNK(info.st_mode)) {
            if (hop == kMaxLinkHops) {
                target.error = path + ": too many symbolic links";
                return target;
            }
            std::string link(static_cast<size_t>(info.st_size > 0 ? info.st_size : 256) + 1, '\0');
            const ssize_t n = readlink(target.file.c_str(), link.data(), link.size());
            if (n < 0 || static_cast<size_t>(n) >= link.size()) {
                target.error = path + ": cannot read the symbolic link " + target.file;
                return target;
            }
            link.resize(static_cast<size_t>(n));
            target.file = link.front() == '/' ? link : FolderOfFile(target.file) + "/" + link;
            continue;
        }
        if (!S_ISREG(info.st_mode)) {
            target.kind = WriteTarget::Kind::NotRegular;
            target.error = path + ": " + FileKindName(info.st_mode) + ", not a regular file; nothing was written";
            return target;
        }
        target.kind = WriteTarget::Kind::Regular;
        target.mode = info.st_mode & 07777;
        target.owner = info.st_uid;
        target.group = info.st_gid;
        target.readOnly = ReadOnlyForUs(info);
        return target;
    }
}

}  // namespace m3d
