#include "scene/SnapshotCapture.h"

#include "math/Digest.h"
#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/PngEncoder.h"
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

namespace {

// An image never changes once loaded, and its entry never moves: its name,
// place and size tell it from every other.
uint64_t TextureKey(const _MESHBASE_TEXTURE& texture)
{
    Digest digest;
    digest.Add(texture.name);
    digest.Add(static_cast<int64_t>(reinterpret_cast<uintptr_t>(&texture)));
    digest.Add(static_cast<int64_t>(texture.image.width) << 32 | texture.image.height);
    return digest.Value();
}

// The textures the meshes of scene name, each once, in the list's order.
void CopyTextures(const Scene& scene, const MeshBytesCache& cache, DocumentCopy& out)
{
    const CMeshBase& base = scene.MeshBase();
    std::vector<bool> named(size_t(std::max(base.GetTextureNum(), 0)), false);
    for (const auto& part : scene.Parts())
        if (part->mesh)
            for (int index : part->mesh->TextureIndices())
                if (index >= 0 && size_t(index) < named.size()) named[size_t(index)] = true;
    for (size_t i = 0; i < named.size(); ++i) {
        const _MESHBASE_TEXTURE* texture = base.GetTexture(int(i));
        if (!named[i] || texture == nullptr || texture->image.width == 0) continue;
        out.textures.push_back({texture->name, texture->source, nullptr});
        if (!texture->source.empty()) continue;
        const uint64_t key = TextureKey(*texture);
        out.textures.back().png = cache.Find(key);
        if (!out.textures.back().png) out.unencoded.push_back({out.textures.size() - 1, key, texture->image});
    }
}

}  // namespace

void CopyDocument(const Scene& scene, SnapshotInfo info, const MeshBytesCache& cache, DocumentCopy& out)
{
    out = {};
    info.parts = scene.PartCount();
    info.motions = static_cast<int32_t>(scene.MotionCount());
    out.info = std::move(info);
    out.records = ProjectPartRecordsOf(scene);
    out.motions = scene.Motions();
    out.metresPerUnit = scene.metresPerUnit;
    std::unordered_map<uint64_t, int32_t> indexOf;
    for (const auto& part : scene.Parts()) {
        SnapshotPart& copied = out.parts.emplace_back();
        if (!part->mesh) continue;
        copied.textureFolder = part->mesh->TextureFolder();
        const uint64_t digest = part->mesh->ContentDigest();
        const auto [found, added] = indexOf.try_emplace(digest, static_cast<int32_t>(out.meshes.size()));
        copied.mesh = found->second;
        if (!added) continue;
        out.meshes.push_back(cache.Find(digest));
        out.meshDigests.push_back(digest);
        if (!out.meshes.back())
            out.unlaid.emplace_back(out.meshes.size() - 1,
                                    UnlaidMesh{digest, part->baseName + ".mesh", part->mesh->SavedContent()});
    }
    CopyTextures(scene, cache, out);
}

std::vector<UnlaidMesh> CopyUnknownMeshes(const Scene& scene, const MeshBytesCache& cache,
                                          std::chrono::microseconds budget)
{
    const auto end = std::chrono::steady_clock::now() + budget;
    std::vector<UnlaidMesh> copied;
    std::unordered_set<uint64_t> taken;
    for (const auto& part : scene.Parts()) {
        if (!copied.empty() && std::chrono::steady_clock::now() > end) break;
        if (!part->mesh) continue;
        const uint64_t digest = part->mesh->ContentDigest();
        if (cache.Find(digest) || !taken.insert(digest).second) continue;
        copied.push_back({digest, part->baseName + ".mesh", part->mesh->SavedContent()});
    }
    return copied;
}

Expected<std::shared_ptr<const std::string>> LayOutMesh(const UnlaidMesh& mesh, MeshBytesCache& cache)
{
    Expected<std::string> bytes = MeshContentBytes(mesh.file, mesh.content);
    if (!bytes) return bytes.Status();
    auto laidOut = std::make_shared<const std::string>(std::move(*bytes));
    cache.Keep(mesh.digest, laidOut);
    return laidOut;
}

Outcome LayOutSnapshot(DocumentCopy copy, MeshBytesCache& cache, DocumentSnapshot& out)
{
    for (const auto& [place, mesh] : copy.unlaid) {
        Expected<std::shared_ptr<const std::string>> laidOut = LayOutMesh(mesh, cache);
        if (!laidOut) return laidOut.Status();
        copy.meshes[place] = std::move(*laidOut);
    }
    for (const DocumentCopy::UnencodedTexture& texture : copy.unencoded) {
        Expected<std::string> png = EncodePng(texture.image);
        if (!png) return Outcome::Failure(copy.textures[texture.texture].name + ": " + png.Message());
        copy.textures[texture.texture].png = std::make_shared<const std::string>(std::move(*png));
        cache.Keep(texture.key, copy.textures[texture.texture].png);
    }
    Expected<std::string> project = BuildProjectFile(copy.records, copy.motions);
    if (!project) return project.Status();
    out.info = std::move(copy.info);
    out.extras = BuildProjectExtras(copy.records, copy.motions, copy.metresPerUnit, *project);
    out.project = std::move(*project);
    out.meshes = std::move(copy.meshes);
    out.textures = std::move(copy.textures);
    out.parts = std::move(copy.parts);
    return Outcome();
}

}  // namespace m3d
