#include "editor/Autosave.h"

#include "editor/EditorSession.h"
#include "io/ProcessIdentity.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <random>

namespace m3d {

namespace {
// How long a look may spend copying geometry to be laid out before the snapshot is due.
constexpr std::chrono::milliseconds kWarmingBudget{4};
}  // namespace

std::string NewDocumentId()
{
    std::random_device device;
    const uint64_t value = (uint64_t(device()) << 32) ^ device();
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

Autosave::Autosave(EditorSession& session, RecoveryFolder& folder)
    : session(session), folder(folder), documentId(NewDocumentId()), writer([this] { Run(); })
{
}

Autosave::~Autosave()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    wake.notify_all();
    writer.join();
}

void Autosave::SetIntervalMinutes(double minutes) { intervalMinutes = std::isfinite(minutes) ? minutes : 0.0; }

void Autosave::Tick(Clock::time_point now)
{
    const DocumentHistory& history = session.History();
    if (!history.IsModified()) {
        RemoveSnapshots();
        changedSince.reset();
        copiedEdits.reset();
        return;
    }
    if (!(intervalMinutes > 0) && !soon) return;
    const Scene& scene = session.GetScene();
    {
        // A snapshot that could not be written is tried again an interval later.
        std::lock_guard<std::mutex> lock(mutex);
        if (std::exchange(writeFailed, false)) copiedEdits.reset();
    }
    const uint64_t edits = history.EditCount();
    if (copiedEdits == edits && copiedPath == scene.projectPath) return;
    if (!changedSince) changedSince = now;
    const auto interval = std::chrono::duration<double, std::ratio<60>>(intervalMinutes);
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (busy || job || !warming.empty()) return;
    }
    // Geometry that changed is laid out ahead, a few milliseconds' worth a
    // look, so that no look copies much of it at once; the snapshot comes
    // once none is left.
    if (std::vector<UnlaidMesh> unknown = CopyUnknownMeshes(scene, meshes, kWarmingBudget); !unknown.empty()) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            warming = std::move(unknown);
        }
        wake.notify_all();
        return;
    }
    if (!soon && now - *changedSince < interval) return;
    SnapshotInfo info;
    info.writer = IdentityToken(ThisProcess());
    info.documentId = documentId;
    info.originalPath = scene.projectPath;
    info.projectName = scene.projectFileName;
    info.savedAt = std::time(nullptr);
    if (const std::optional<FileState>& state = session.ProjectFileAtOpen()) {
        info.originalSize = state->size;
        info.originalModified = state->modifiedNanoseconds;
    }
    DocumentCopy copy;
    CopyDocument(scene, std::move(info), meshes, copy);
    meshes.KeepOnly(copy.meshDigests);
    copiedEdits = edits;
    copiedPath = scene.projectPath;
    changedSince.reset();
    soon = false;
    hasSnapshots = true;
    {
        std::lock_guard<std::mutex> lock(mutex);
        job = std::move(copy);
    }
    wake.notify_all();
}

void Autosave::SnapshotSoon(const std::string& restoredDocument)
{
    soon = true;
    std::lock_guard<std::mutex> lock(mutex);
    supersededDocument = restoredDocument;
}

void Autosave::Wait()
{
    std::unique_lock<std::mutex> lock(mutex);
    wake.wait(lock, [this] { return !busy && !job && warming.empty(); });
}

void Autosave::RemoveSnapshots()
{
    std::string superseded;
    {
        std::lock_guard<std::mutex> lock(mutex);
        superseded = std::exchange(supersededDocument, std::string());
    }
    if (!hasSnapshots && superseded.empty()) return;
    Wait();
    if (hasSnapshots) folder.RemoveDocument(documentId);
    if (!superseded.empty()) folder.RemoveDocument(superseded);
    hasSnapshots = false;
    soon = false;
    // The next unsaved changes are another document's as far as snapshots go.
    documentId = NewDocumentId();
}

void Autosave::EndCleanly() { RemoveSnapshots(); }

std::string Autosave::LastSnapshotId() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return lastId;
}

std::string Autosave::TakeProblem()
{
    std::lock_guard<std::mutex> lock(mutex);
    return std::exchange(problem, std::string());
}

void Autosave::Run()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        wake.wait(lock, [this] { return stopping || job || !warming.empty(); });
        if (!warming.empty()) {
            const std::vector<UnlaidMesh> unlaid = std::move(warming);
            warming.clear();
            busy = true;
            lock.unlock();
            // One that cannot be laid out fails the snapshot, which says so.
            for (const UnlaidMesh& mesh : unlaid) (void)LayOutMesh(mesh, meshes);
            lock.lock();
            busy = false;
            wake.notify_all();
            continue;
        }
        if (!job) return;
        DocumentCopy copy = std::move(*job);
        job.reset();
        busy = true;
        const std::string superseded = supersededDocument;
        lock.unlock();

        DocumentSnapshot snapshot;
        std::string id;
        Outcome written = LayOutSnapshot(std::move(copy), meshes, snapshot);
        if (written) written = folder.Write(snapshot, id);
        // The snapshots a restored document came from go once it has one of its own.
        if (written && !superseded.empty()) folder.RemoveDocument(superseded);

        lock.lock();
        busy = false;
        if (written) {
            lastId = id;
            if (supersededDocument == superseded) supersededDocument.clear();
        } else {
            problem = written.Message();
            writeFailed = true;
        }
        wake.notify_all();
    }
}

}  // namespace m3d
