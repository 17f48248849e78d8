// Shapes that attack the recovery of interrupted saves: a folder whose commit
// records, beside its project and beside a file of the user's, claim files
// outside the folder by absolute path, "..", /proc/self/cwd and guessed
// inodes, in a record far beyond the bounds recovery reads.

#include "crafted/CraftedShape.h"

#include "io/CommitRecord.h"
#include "io/TemporaryNames.h"

#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>

namespace m3d {

namespace {

// A writer gone long ago whose boot cannot be told.
const ProcessIdentity kGoneWriter{4242, 7, ""};

// A project and `size` entries, each a guess at the inode of a canary in a
// folder beside the project's, by absolute path, "..", or through
// /proc/self/cwd; the records are an hour old.
std::string RecordsClaimingOutside(const std::string& folder, size_t size)
{
    const std::string project = folder + "/project";
    const std::string outside = folder + "/outside";
    std::filesystem::create_directories(project);
    std::filesystem::create_directories(outside);
    std::filesystem::create_directories(folder + "/out");
    const std::string path = WriteOnePartProject(project, TexturedTrianglesMqo({"skin.png"}));
    WriteCraftedFile(project + "/readme.txt", "the user's");
    WriteCraftedFile(outside + "/canary.txt", "keep");
    struct stat canary;
    if (stat((outside + "/canary.txt").c_str(), &canary) != 0) throw std::runtime_error(outside + ": no canary");
    const std::string absolute = std::filesystem::absolute(outside + "/canary.txt").string();
    const std::string targets[] = {absolute, "../outside/canary.txt", "/proc/self/cwd/" + absolute.substr(1)};
    CommitRecord record{kGoneWriter, false, {}};
    for (size_t i = 0; i < size; ++i) {
        CommitRecordEntry entry;
        entry.target = targets[i % 3];
        entry.staged = "c" + std::to_string(i) + ".m3d-tmp-" + IdentityToken(kGoneWriter) + "-aaaaaa";
        entry.stagedFile.inode = uint64_t(canary.st_ino) - size / 2 + i;
        record.entries.push_back(std::move(entry));
    }
    WriteCraftedFile(CommitRecordPath(path), EncodeCommitRecord(record));
    const timespec anHourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
    utimensat(AT_FDCWD, CommitRecordPath(path).c_str(), anHourAgo, 0);
    std::filesystem::create_hard_link(CommitRecordPath(path), CommitRecordPath(project + "/readme.txt"));
    return path;
}

}  // namespace

void AddCommitRecordShapes(std::vector<CraftedShape>& shapes)
{
    shapes.push_back({"commit-records-outside",
                      "records beside a project and a file of the user's claiming a canary outside by path and inode",
                      "resave", 1000000, RecordsClaimingOutside, "out/out.anm"});
}

}  // namespace m3d
