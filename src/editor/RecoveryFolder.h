#pragma once

#include "io/Outcome.h"
#include "scene/RecoverySnapshot.h"

#include <ctime>
#include <string>
#include <vector>

namespace m3d {

// The folder snapshots are kept in: $XDG_STATE_HOME/marionettica3d/recovery,
// or ~/.local/state/marionettica3d/recovery when that is not set; "" when
// neither variable says where.
std::string DefaultRecoveryFolder();

// A snapshot that can be recovered, as a list shows it.
struct RecoverableSnapshot {
    std::string id;  // its file name without the extension
    SnapshotInfo info;
};

// How many snapshots a document keeps, and for how long.
constexpr size_t kSnapshotsPerDocument = 5;
constexpr time_t kSnapshotLifetimeSeconds = 30 * 24 * 3600;

// The snapshots of this user's documents in one folder, and the session
// locks that tell a program that runs from one that crashed: a running
// program holds a lock (flock) on "TOKEN.lock" (TOKEN: its IdentityToken)
// until it ends, however it ends. A snapshot whose writer holds no lock is
// recoverable; the snapshots of a running program are its own.
class RecoveryFolder {
public:
    explicit RecoveryFolder(std::string folder);
    ~RecoveryFolder();  // ends the lock, leaving its file (Unlock removes it)
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    const std::string& Path() const { return folder; }

    // Takes this program's session lock, making the folder (mode 0700)
    // when missing. Fails naming the folder and the reason.
    Outcome Lock();
    // Ends the lock and removes its file: the program ends cleanly.
    void Unlock();

    // Writes snapshot as "DOCUMENT-TIME.m3dsnap" through a temporary file,
    // then keeps only the newest kSnapshotsPerDocument of its document and
    // removes snapshots older than kSnapshotLifetimeSeconds. The failure
    // names the file and the reason. Returns the new snapshot's id in id.
    Outcome Write(const DocumentSnapshot& snapshot, std::string& id);

    // The snapshots no running program holds, newest first. Damaged ones are
    // listed in damaged (one line each, naming the file) and left alone.
    std::vector<RecoverableSnapshot> List(std::vector<std::string>* damaged = nullptr) const;
    // Reads the snapshot id (as List names it) whole.
    Outcome Read(const std::string& id, DocumentSnapshot& out) const;
    // Removes every snapshot of documentId; except, the id of one to keep.
    void RemoveDocument(const std::string& documentId, const std::string& except = std::string());
    // Removes the snapshots older than kSnapshotLifetimeSeconds at now, and
    // the lock files of programs that are gone.
    void RemoveExpired(time_t now);

private:
    std::string FileOf(const std::string& id) const;

    std::string folder;
    int lockFd = -1;
    std::string lockPath;
};

}  // namespace m3d
