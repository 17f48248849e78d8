#pragma once

#include "io/FileSink.h"
#include "io/Outcome.h"
#include "io/WriteTarget.h"

#include <cstdint>
#include <functional>
#include <string>

namespace m3d {

// The new contents of one file while they are written beside it: unnamed
// (O_TMPFILE) where the file system allows it, else named by OwnTemporaryName.
// Closes and removes itself unless committed or released. Opening one first
// tidies its folder (TidyFolder, without ending interrupted commits).
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile();

    // Streams produce into a new temporary in the folder of target.file, gives
    // it the mode and owner of the file it replaces and syncs it to disk.
    // A failure's message names path and says why; its ErrorNumber is the
    // errno of the failed system call, 0 when produce refused.
    Outcome Write(const std::string& path, const WriteTarget& target, const std::function<bool(FileSink&)>& produce);

    // Puts the contents at file: a new file when replacing is false and
    // nothing is there yet, else by renaming over it. false with errno set.
    bool Commit(const std::string& file, bool replacing);

    // Gives the contents a name of their own beside file (OwnTemporaryName)
    // and closes them: a group of files stays within the limit on open
    // descriptors. The name is still removed by the destructor unless
    // Release is called. false with errno set.
    bool Name(const std::string& file);
    const std::string& NameOnDisk() const { return name; }
    // The inode of the contents once named; 0 before.
    uint64_t Inode() const { return inode; }
    // The caller takes over the named temporary: it is no longer removed.
    void Release() { name.clear(); }

private:
    bool Open(const std::string& folder, const std::string& file);
    bool OpenNamed(const std::string& file);

    int fd = -1;
    std::string name;  // the named temporary, "" while there is none
    uint64_t inode = 0;
};

}  // namespace m3d
