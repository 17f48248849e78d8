#include "scene/MeshFileNames.h"

#include "io/FileReading.h"
#include "math/Digest.h"
#include "meshlib/CMesh.h"
#include "scene/Scene.h"
#include "scene/UniqueNames.h"
#include "text/ShiftJis.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>
#include <unordered_map>

namespace m3d {

namespace {

// Parts of one name whose meshes write the same bytes.
struct SameMesh {
    std::optional<std::string> bytes;  // nullopt: the mesh cannot be written, so it matches nothing
    std::vector<int> parts;
};

std::string MeshFileOf(const std::string& directory, const std::string& baseName)
{
    return (directory.empty() ? std::string() : directory + "/") + baseName + ".mesh";
}

// parts (one name ignoring case, in Part order) sorted by the bytes their meshes write.
std::vector<SameMesh> SortByMesh(const Scene& scene, const std::string& directory, const std::vector<int>& parts)
{
    std::vector<SameMesh> kinds;
    std::unordered_multimap<uint64_t, size_t> kindOfDigest;
    for (int index : parts) {
        const Part& part = *scene.Parts()[size_t(index)];
        Expected<std::string> bytes = part.mesh->MeshFileBytes(MeshFileOf(directory, part.baseName));
        if (!bytes) {
            kinds.push_back({std::nullopt, {index}});
            continue;
        }
        Digest digest;
        digest.Add(*bytes);
        const auto [first, last] = kindOfDigest.equal_range(digest.Value());
        const auto same =
            std::find_if(first, last, [&](const auto& entry) { return kinds[entry.second].bytes == *bytes; });
        if (same != last) {
            kinds[same->second].parts.push_back(index);
            continue;
        }
        kindOfDigest.emplace(digest.Value(), kinds.size());
        kinds.push_back({std::move(*bytes), {index}});
    }
    return kinds;
}

// Whether one of the files of kind's Parts holds what they would write.
bool IsOnDisk(const Scene& scene, const std::string& directory, const SameMesh& kind)
{
    if (!kind.bytes) return false;
    for (int index : kind.parts) {
        const std::string file = MeshFileOf(directory, scene.Parts()[size_t(index)]->baseName);
        std::error_code error;
        if (std::filesystem::file_size(file, error) != kind.bytes->size() || error) continue;
        const Expected<std::string> onDisk = ReadWholeFile(file, kind.bytes->size());
        if (onDisk && *onDisk == *kind.bytes) return true;
    }
    return false;
}

}  // namespace

Outcome NameMeshFiles(const Scene& scene, const std::string& directory, MeshFileNames& names)
{
    names = {};
    UniqueNames taken(NameCase::IgnoreAscii);
    std::unordered_map<std::string, std::vector<int>> partsOfName;  // ASCII lower case -> Parts with a mesh
    for (int i = 0; i < scene.PartCount(); ++i) {
        const Part& part = *scene.Parts()[size_t(i)];
        names.baseNames.push_back(part.baseName);
        taken.Add(part.baseName);
        if (part.mesh) partsOfName[AsciiLower(part.baseName)].push_back(i);
    }
    // In Part order, so that the same scene is always named the same way.
    for (int i = 0; i < scene.PartCount(); ++i) {
        const auto found = partsOfName.find(AsciiLower(scene.Parts()[size_t(i)]->baseName));
        if (found == partsOfName.end() || found->second.size() < 2 || found->second.front() != i) continue;
        const std::vector<SameMesh> kinds = SortByMesh(scene, directory, found->second);
        if (kinds.size() < 2) continue;
        // Meshes that are in their own files keep them (a file system that
        // tells letter case apart may hold arm.mesh and ARM.mesh); else the
        // first Part's. A name is kept for one mesh only.
        std::vector<bool> kept(kinds.size(), false);
        std::set<std::string> claimed;
        const auto keep = [&](size_t k) {
            for (int index : kinds[k].parts)
                if (claimed.count(scene.Parts()[size_t(index)]->baseName)) return;
            for (int index : kinds[k].parts) claimed.insert(scene.Parts()[size_t(index)]->baseName);
            kept[k] = true;
        };
        for (size_t k = 0; k < kinds.size(); ++k)
            if (IsOnDisk(scene, directory, kinds[k])) keep(k);
        if (claimed.empty()) keep(0);
        for (size_t k = 0; k < kinds.size(); ++k) {
            if (kept[k]) continue;
            const int first = kinds[k].parts.front();
            const std::string name = taken.Take(scene.Parts()[size_t(first)]->baseName);
            if (name.empty())
                return Outcome::Failure(MeshFileOf(directory, scene.Parts()[size_t(first)]->baseName) + ": Part " +
                                        std::to_string(first) +
                                        " differs from the Parts of its name and no free name is left for its file");
            for (int index : kinds[k].parts) {
                names.baseNames[size_t(index)] = name;
                names.renamed.push_back(index);
            }
        }
    }
    std::sort(names.renamed.begin(), names.renamed.end());
    return Outcome();
}

}  // namespace m3d
