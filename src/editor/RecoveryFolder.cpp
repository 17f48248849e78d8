#include "editor/RecoveryFolder.h"

#include "io/AtomicFile.h"
#include "io/FileReading.h"
#include "io/FileSink.h"
#include "io/ProcessIdentity.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace m3d {

namespace {

constexpr std::string_view kLockExtension = ".lock";
// A lock file this young may belong to a program that has made it and not
// yet locked it.
constexpr time_t kLockSettleSeconds = 60;

bool EndsWith(std::string_view text, std::string_view end)
{
    return text.size() > end.size() && text.substr(text.size() - end.size()) == end;
}

// Ids are our own file names: letters, digits and '-', so that one given
// on a command line can never name a file elsewhere.
bool IsSnapshotId(std::string_view id)
{
    return !id.empty() && id.size() <= 128 && std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
    });
}

// This user's regular files in folder whose names end with extension, with
// their last change.
std::vector<std::pair<std::string, time_t>> OwnFiles(const std::string& folder, std::string_view extension)
{
    std::vector<std::pair<std::string, time_t>> files;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return files;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        struct stat info;
        if (!EndsWith(name, extension) || fstatat(dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode) || info.st_uid != geteuid())
            continue;
        files.emplace_back(std::string(name), info.st_mtime);
    }
    closedir(dir);
    return files;
}

// Whether the program that wrote token's lock at path still holds it.
bool LockHeld(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    const bool held = flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    close(fd);
    return held;
}

// The document and the time in milliseconds of a snapshot's id "DOCUMENT-MS".
std::pair<std::string, long long> SplitId(const std::string& id)
{
    const size_t dash = id.rfind('-');
    if (dash == std::string::npos) return {id, 0};
    return {id.substr(0, dash), std::atoll(id.c_str() + dash + 1)};
}

}  // namespace

std::string DefaultRecoveryFolder()
{
    if (const char* state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/')
        return std::string(state) + "/marionettica3d/recovery";
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home) + "/.local/state/marionettica3d/recovery";
    return std::string();
}

RecoveryFolder::RecoveryFolder(std::string folder) : folder(std::move(folder)) {}

RecoveryFolder::~RecoveryFolder()
{
    if (lockFd >= 0) close(lockFd);
}

std::string RecoveryFolder::FileOf(const std::string& id) const
{
    return folder + "/" + id + std::string(kSnapshotExtension);
}

Outcome RecoveryFolder::Lock()
{
    if (lockFd >= 0) return Outcome();
    if (folder.empty())
        return Outcome::Failure("no folder for recovery snapshots: neither XDG_STATE_HOME nor HOME is set");
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) return Outcome::Failure(folder + ": " + error.message(), error.value());
    chmod(folder.c_str(), 0700);
    lockPath = folder + "/" + IdentityToken(ThisProcess()) + std::string(kLockExtension);
    lockFd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lockFd < 0 || flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
        const int errorNumber = errno;
        if (lockFd >= 0) close(lockFd);
        lockFd = -1;
        return Outcome::Failure(lockPath + ": " + std::strerror(errorNumber), errorNumber);
    }
    return Outcome();
}

void RecoveryFolder::Unlock()
{
    if (lockFd < 0) return;
    unlink(lockPath.c_str());
    close(lockFd);
    lockFd = -1;
}

Outcome RecoveryFolder::Write(const DocumentSnapshot& snapshot, std::string& id)
{
    if (Outcome locked = Lock(); !locked) return locked;
    const long long milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
            .count();
    // A later snapshot of the document never takes an earlier one's name.
    long long stamp = milliseconds;
    do id = snapshot.info.documentId + "-" + std::to_string(stamp++);
    while (access(FileOf(id).c_str(), F_OK) == 0);
    if (!IsSnapshotId(id)) return Outcome::Failure(FileOf(id) + ": not a name for a snapshot");
    Outcome written = WriteFileAtomically(FileOf(id), [&snapshot](FileSink& sink) {
        EmitSnapshot(snapshot, [&sink](std::string_view piece) { sink.Write(piece); });
        return sink.Ok();
    });
    if (!written) return written;
    // The newest of the document stay.
    std::vector<std::pair<long long, std::string>> ofDocument;
    for (const auto& [name, modified] : OwnFiles(folder, kSnapshotExtension)) {
        const std::string other = name.substr(0, name.size() - kSnapshotExtension.size());
        const auto [document, time] = SplitId(other);
        if (document == snapshot.info.documentId) ofDocument.emplace_back(time, other);
    }
    std::sort(ofDocument.rbegin(), ofDocument.rend());
    for (size_t k = kSnapshotsPerDocument; k < ofDocument.size(); ++k) unlink(FileOf(ofDocument[k].second).c_str());
    RemoveExpired(std::time(nullptr));
    return Outcome();
}

std::vector<RecoverableSnapshot> RecoveryFolder::List(std::vector<std::string>* damaged) const
{
    std::vector<RecoverableSnapshot> list;
    const std::string own = IdentityToken(ThisProcess());
    for (const auto& [name, modified] : OwnFiles(folder, kSnapshotExtension)) {
        RecoverableSnapshot snapshot;
        snapshot.id = name.substr(0, name.size() - kSnapshotExtension.size());
        const std::string path = folder + "/" + name;
        Expected<std::string> head = ReadFilePrefix(path, kSnapshotInfoBytes);
        Outcome read = head ? DecodeSnapshotInfo(*head, path, snapshot.info) : head.Status();
        if (!read) {
            if (damaged) damaged->push_back(read.Message());
            continue;
        }
        if (snapshot.info.writer == own || LockHeld(folder + "/" + snapshot.info.writer + std::string(kLockExtension)))
            continue;
        list.push_back(std::move(snapshot));
    }
    std::sort(list.begin(), list.end(), [](const RecoverableSnapshot& a, const RecoverableSnapshot& b) {
        return SplitId(a.id).second > SplitId(b.id).second;
    });
    return list;
}

Outcome RecoveryFolder::Read(const std::string& id, DocumentSnapshot& out) const
{
    if (!IsSnapshotId(id)) return Outcome::Failure(id + ": no such recovery snapshot");
    const std::string path = FileOf(id);
    const Expected<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return bytes.Status();
    return DecodeSnapshot(*bytes, path, out);
}

void RecoveryFolder::RemoveDocument(const std::string& documentId, const std::string& except)
{
    for (const auto& [name, modified] : OwnFiles(folder, kSnapshotExtension)) {
        const std::string id = name.substr(0, name.size() - kSnapshotExtension.size());
        if (id != except && SplitId(id).first == documentId) unlink(FileOf(id).c_str());
    }
}

void RecoveryFolder::RemoveExpired(time_t now)
{
    for (const auto& [name, modified] : OwnFiles(folder, kSnapshotExtension))
        if (now - modified > kSnapshotLifetimeSeconds) unlink((folder + "/" + name).c_str());
    for (const auto& [name, modified] : OwnFiles(folder, kLockExtension)) {
        const std::string path = folder + "/" + name;
        if (path != lockPath && now - modified > kLockSettleSeconds && !LockHeld(path)) unlink(path.c_str());
    }
}

}  // namespace m3d
