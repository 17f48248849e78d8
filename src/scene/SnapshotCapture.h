#pragma once

#include "scene/Motion.h"
#include "scene/ProjectData.h"
#include "scene/RecoverySnapshot.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace m3d {

class Scene;

// The .mesh bytes of meshes laid out before, by content digest
// (CMesh::ContentDigest), so that a snapshot lays out only the geometry that
// changed since the last. Safe to use from two threads.
class MeshBytesCache {
public:
    // The bytes of the mesh with digest; null when unknown.
    std::shared_ptr<const std::string> Find(uint64_t digest) const;
    void Keep(uint64_t digest, std::shared_ptr<const std::string> bytes);
    // Keeps only the digests in use (those of the last copy).
    void KeepOnly(const std::vector<uint64_t>& digests);

private:
    mutable std::mutex mutex;
    std::unordered_map<uint64_t, std::shared_ptr<const std::string>> bytesOf;
};

// What a snapshot takes of a document, copied on the thread that edits it so
// that another can lay it out while editing goes on.
struct DocumentCopy {
    SnapshotInfo info;
    std::vector<ProjectPartRecord> records;
    std::vector<Motion> motions;
    std::vector<SnapshotPart> parts;
    // One a distinct geometry, as SnapshotPart::mesh counts them.
    std::vector<std::shared_ptr<const std::string>> meshes;
    std::vector<uint64_t> meshDigests;
};

// Copies scene (its Parts' records, Motions and meshes) with info's texts
// and times; the counts are the scene's. Geometry the cache does not know is
// laid out now and kept there. Fails, naming the Part, only for a mesh that
// cannot be written (MeshFileBytes).
[[nodiscard]] Outcome CopyDocument(const Scene& scene, SnapshotInfo info, MeshBytesCache& cache, DocumentCopy& out);

// The snapshot of a copy: the project file and side file laid out as a save
// lays them out. Fails when the project cannot be laid out (BuildProjectFile).
[[nodiscard]] Outcome LayOutSnapshot(DocumentCopy copy, DocumentSnapshot& out);

}  // namespace m3d
