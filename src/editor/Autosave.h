#pragma once

#include "editor/RecoveryFolder.h"
#include "scene/SnapshotCapture.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace m3d {

class EditorSession;

// Keeps a snapshot of the session's document in a recovery folder while it
// has unsaved changes, so that a crash loses at most one interval of work.
// The window asks Tick now and then; the document is copied then on its
// thread and written on a thread of its own through the atomic file writer.
// Geometry is laid out on that thread too, and only when it changed: each
// look copies a few milliseconds' worth of changed geometry for it, and the
// snapshot waits until none is left, so that no look copies much at once.
// A document with nothing unsaved (saved, opened, new, or undone back to
// the file) has no snapshots: they are removed as soon as Tick sees it.
class Autosave {
public:
    using Clock = std::chrono::steady_clock;

    // Neither is owned; both outlive the Autosave.
    Autosave(EditorSession& session, RecoveryFolder& folder);
    ~Autosave();  // waits for a snapshot being written
    Autosave(const Autosave&) = delete;
    Autosave& operator=(const Autosave&) = delete;

    // Minutes from the first change not in a snapshot to the snapshot that
    // holds it; 0 or less (or not a number) turns snapshots off.
    void SetIntervalMinutes(double minutes);
    double IntervalMinutes() const { return intervalMinutes; }

    // Takes a snapshot when the document has changes no snapshot holds and
    // the first of them is an interval old at now (or at once after
    // SnapshotSoon), unless one is still being written or geometry is still
    // to be laid out (some of which this look copies); removes the
    // document's snapshots when it has nothing unsaved.
    void Tick(Clock::time_point now);
    // The next Tick takes a snapshot of a document with unsaved changes
    // without waiting for the interval (a document just restored), and then
    // removes the snapshots of document (the one it was restored from).
    void SnapshotSoon(const std::string& restoredDocument);
    // Waits until no snapshot is being written.
    void Wait();
    // The program ends cleanly: the document's snapshots go.
    void EndCleanly();

    // The id of the last snapshot written ("" before the first).
    std::string LastSnapshotId() const;
    // Why the last snapshot could not be written, once; "" when it was.
    std::string TakeProblem();

private:
    void Run();
    void Start(DocumentCopy copy);
    void RemoveSnapshots();

    EditorSession& session;
    RecoveryFolder& folder;
    double intervalMinutes = 2.0;
    std::string documentId;
    // The edit count (DocumentHistory::EditCount) and project path the last
    // copy was taken at, and when a change not in it was first seen.
    std::optional<uint64_t> copiedEdits;
    std::string copiedPath;
    std::optional<Clock::time_point> changedSince;
    bool soon = false;
    bool hasSnapshots = false;
    MeshBytesCache meshes;

    // Shared with the writing thread.
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::optional<DocumentCopy> job;
    std::vector<UnlaidMesh> warming;  // geometry to lay out ahead of the snapshot
    bool busy = false;
    bool writeFailed = false;
    bool stopping = false;
    std::string supersededDocument;
    std::string lastId;
    std::string problem;
    std::thread writer;
};

// A new document id: 16 random hexadecimal digits.
std::string NewDocumentId();

}  // namespace m3d
