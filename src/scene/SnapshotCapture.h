#pragma once

#include "meshlib/MeshContent.h"
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
    // One a distinct geometry, as SnapshotPart::mesh counts them: its .mesh
    // bytes when the cache had them, else null and its content in unlaid.
    std::vector<std::shared_ptr<const std::string>> meshes;
    std::vector<uint64_t> meshDigests;
    struct Unlaid {
        size_t mesh;          // its place in meshes
        std::string file;     // the file it is laid out for, named in a failure
        MeshContent content;  // a copy
    };
    std::vector<Unlaid> unlaid;
};

// Copies scene (its Parts' records, Motions and meshes) with info's texts
// and times; the counts are the scene's. Meshes the cache does not know are
// copied as they are, to be laid out by LayOutSnapshot: the copy costs the
// editing thread little more than the memory it takes.
void CopyDocument(const Scene& scene, SnapshotInfo info, const MeshBytesCache& cache, DocumentCopy& out);

// The snapshot of a copy: the meshes not laid out yet laid out (and kept in
// cache), the project file and side file laid out as a save lays them out.
// Fails when a mesh (MeshContentBytes) or the project (BuildProjectFile)
// cannot be laid out, naming what.
[[nodiscard]] Outcome LayOutSnapshot(DocumentCopy copy, MeshBytesCache& cache, DocumentSnapshot& out);

}  // namespace m3d
