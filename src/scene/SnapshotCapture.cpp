#include "scene/SnapshotCapture.h"

#include "io/PathLookup.h"
#include "scene/ProjectExtrasFile.h"
#include "scene/ProjectFile.h"
#include "scene/ProjectFileFormat.h"
#include "scene/Scene.h"

#include <algorithm>
#include <unordered_set>

namespace m3d {

std::shared_ptr<const std::string> MeshBytesCache::Find(uint64_t digest) const
{
    std::lock_guard<std::mutex> lock(mutex);
    const auto found = bytesOf.find(digest);
    return found == bytesOf.end() ? nullptr : found->second;
}

void MeshBytesCache::Keep(uint64_t digest, std::shared_ptr<const std::string> bytes)
{
    std::lock_guard<std::mutex> lock(mutex);
    bytesOf[digest] = std::move(bytes);
}

void MeshBytesCache::KeepOnly(const std::vector<uint64_t>& digests)
{
    const std::unordered_set<uint64_t> used(digests.begin(), digests.end());
    std::lock_guard<std::mutex> lock(mutex);
    std::erase_if(bytesOf, [&used](const auto& entry) { return !used.count(entry.first); });
}

Outcome CopyDocument(const Scene& scene, SnapshotInfo info, MeshBytesCache& cache, DocumentCopy& out)
{
    out = {};
    info.parts = scene.PartCount();
    info.motions = static_cast<int32_t>(scene.MotionCount());
    out.info = std::move(info);
    out.records = ProjectPartRecordsOf(scene);
    out.motions = scene.Motions();
    std::unordered_map<uint64_t, int32_t> indexOf;
    for (const auto& part : scene.Parts()) {
        SnapshotPart& copied = out.parts.emplace_back();
        if (!part->mesh) continue;
        copied.textureFolder = part->mesh->TextureFolder();
        const uint64_t digest = part->mesh->ContentDigest();
        const auto [found, added] = indexOf.try_emplace(digest, static_cast<int32_t>(out.meshes.size()));
        copied.mesh = found->second;
        if (!added) continue;
        std::shared_ptr<const std::string> bytes = cache.Find(digest);
        if (!bytes) {
            Expected<std::string> laidOut = part->mesh->MeshFileBytes(part->baseName + ".mesh");
            if (!laidOut) return laidOut.Status();
            bytes = std::make_shared<const std::string>(std::move(*laidOut));
            cache.Keep(digest, bytes);
        }
        out.meshes.push_back(std::move(bytes));
        out.meshDigests.push_back(digest);
    }
    return Outcome();
}

Outcome LayOutSnapshot(DocumentCopy copy, DocumentSnapshot& out)
{
    Expected<std::string> project = BuildProjectFile(copy.records, copy.motions);
    if (!project) return project.Status();
    out.info = std::move(copy.info);
    out.extras = BuildProjectExtras(copy.records, copy.motions, *project);
    out.project = std::move(*project);
    out.meshes = std::move(copy.meshes);
    out.parts = std::move(copy.parts);
    return Outcome();
}

}  // namespace m3d
