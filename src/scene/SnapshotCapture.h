#pragma once

#include "meshlib/MeshContent.h"
#include "records/MeshRecords.h"
#include "scene/Motion.h"
#include "scene/ProjectData.h"
#include "scene/RecoverySnapshot.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace m3d {

class Scene;

// What snapshots laid out before: the .mesh bytes of meshes by content
// digest (CMesh::ContentDigest), and PNG files of textures that came inside
// a model (TextureKey), so that a snapshot lays out only what changed since
// the last. Safe to use from two threads.
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

// A mesh copied to be laid out on another thread.
struct UnlaidMesh {
    uint64_t digest;      // its CMesh::ContentDigest
    std::string file;     // the file it is laid out for, named in a failure
    MeshContent content;  // a copy
};

// What a snapshot takes of a document, copied on the thread that edits it so
// that another can lay it out while editing goes on.
struct DocumentCopy {
    SnapshotInfo info;
    std::vector<ProjectPartRecord> records;
    std::vector<Motion> motions;
    double metresPerUnit = kUnknownLengthUnit;
    std::vector<SnapshotPart> parts;
    // One a distinct geometry, as SnapshotPart::mesh counts them: its .mesh
    // bytes when the cache had them, else null and its content in unlaid.
    std::vector<std::shared_ptr<const std::string>> meshes;
    std::vector<uint64_t> meshDigests;
    std::vector<std::pair<size_t, UnlaidMesh>> unlaid;  // its place in meshes, and it
    std::vector<SnapshotTexture> textures;
    // Textures that came inside a model and that the cache had no PNG of:
    // their place in textures, their key and a copy of the image.
    struct UnencodedTexture {
        size_t texture;
        uint64_t key;
        TextureImage image;
    };
    std::vector<UnencodedTexture> unencoded;
};

// Copies scene (its Parts' records, Motions, meshes and the textures they
// name) with info's texts and times; the counts are the scene's. Meshes and
// images the cache does not know are copied as they are, to be laid out by
// LayOutSnapshot: the copy costs the editing thread little more than the
// memory it takes.
void CopyDocument(const Scene& scene, SnapshotInfo info, const MeshBytesCache& cache, DocumentCopy& out);

// Copies meshes of scene that the cache does not know (nor skip), in Part
// order, until budget has passed (one at least, none when all are known), so
// that a later CopyDocument finds them laid out. A mesh that changes
// meanwhile only leaves an entry no copy asks for.
std::vector<UnlaidMesh> CopyUnknownMeshes(const Scene& scene, const MeshBytesCache& cache,
                                          std::chrono::microseconds budget);

// Lays out mesh and keeps it in cache; fails as MeshContentBytes does.
Expected<std::shared_ptr<const std::string>> LayOutMesh(const UnlaidMesh& mesh, MeshBytesCache& cache);

// The snapshot of a copy: the meshes and images not laid out yet laid out
// (and kept in cache), the project file and side file laid out as a save lays them out.
// Fails when a mesh (MeshContentBytes) or the project (BuildProjectFile)
// cannot be laid out, naming what.
[[nodiscard]] Outcome LayOutSnapshot(DocumentCopy copy, MeshBytesCache& cache, DocumentSnapshot& out);

}  // namespace m3d
