#include "io/FolderTidying.h"

#include "io/ProcessIdentity.h"
#include "io/TemporaryNames.h"

#include <chrono>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace m3d {

namespace {

using Clock = std::chrono::steady_clock;

// Entries between looks at the clock.
constexpr size_t kEntriesPerClockLook = 64;

// Whether folder is to be looked at now; notes the look.
bool LookDue(const std::string& folder, bool recoverCommits)
{
    struct Look {
        Clock::time_point at;
        bool recovered = false;
    };
    static std::mutex mutex;
    static std::map<std::string, Look> looks;
    std::lock_guard<std::mutex> lock(mutex);
    const Clock::time_point now = Clock::now();
    const auto [look, added] = looks.try_emplace(folder, Look{now, recoverCommits});
    if (added) return true;
    if (now - look->second.at < std::chrono::seconds(kRescanSeconds) && (look->second.recovered || !recoverCommits))
        return false;
    look->second = {now, recoverCommits};
    return true;
}

// A writer's state, asked of /proc once per writer and look.
class WriterStates {
public:
    WriterState Of(const ProcessIdentity& writer)
    {
        const auto [known, added] = states.try_emplace(IdentityToken(writer), WriterState::Running);
        if (added) known->second = StateOfWriter(writer);
        return known->second;
    }

private:
    std::map<std::string, WriterState> states;
};

// This user's regular file name in the open folder; its last change in mtime.
bool IsOurFile(int folder, const char* name, time_t& mtime)
{
    struct stat info;
    if (fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode) || info.st_uid != geteuid())
        return false;
    mtime = info.st_mtime;
    return true;
}

}  // namespace

std::vector<CommitRecoveryNote> TidyFolder(const std::string& folder, bool recoverCommits)
{
    std::vector<CommitRecoveryNote> notes;
    if (!LookDue(folder, recoverCommits)) return notes;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return notes;
    const int fd = dirfd(dir);
    const time_t now = std::time(nullptr);
    WriterStates writers;
    std::vector<std::string> records;
    std::vector<std::string> leftovers;  // temporaries whose writer is gone
    bool listedAll = true;
    const Clock::time_point listingEnd = Clock::now() + std::chrono::milliseconds(kListingBudgetMs);
    size_t seen = 0;
    while (const dirent* entry = readdir(dir)) {
        if (++seen % kEntriesPerClockLook == 0 && Clock::now() > listingEnd) {
            listedAll = false;
            break;
        }
        const char* name = entry->d_name;
        if (IsCommitRecordName(name)) {
            records.push_back(name);
            continue;
        }
        const std::optional<ProcessIdentity> writer = TemporaryWriter(name);
        time_t mtime = 0;
        if (!writer && !IsLegacyTemporaryName(name)) continue;
        if (!IsOurFile(fd, name, mtime)) continue;
        if (!writer) {
            if (now - mtime > kStaleFileSeconds) unlinkat(fd, name, 0);
        } else if (CountsAsGone(writers.Of(*writer), now - mtime)) {
            leftovers.push_back(name);
        }
    }

    bool recordStays = false;
    for (const std::string& name : records) {
        const std::string path = folder + "/" + name;
        if (recoverCommits)
            if (std::optional<CommitRecoveryNote> note = RecoverCommit(path)) notes.push_back(std::move(*note));
        struct stat info;
        if (lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) recordStays = true;
    }
    if (listedAll && !recordStays) {
        const Clock::time_point removalEnd = Clock::now() + std::chrono::milliseconds(kRemovalBudgetMs);
        for (size_t i = 0; i < leftovers.size(); ++i) {
            if (i % kEntriesPerClockLook == 0 && Clock::now() > removalEnd) break;
            unlinkat(fd, leftovers[i].c_str(), 0);
        }
    }
    closedir(dir);
    return notes;
}

}  // namespace m3d
