#include "meshlib/MeshImpl.h"

#include "io/FolderIndex.h"
#include "io/PathLookup.h"
#include "io/TaskProgress.h"
#include "meshlib/TextureReader.h"
#include "render/RenderDevice.h"

#include <algorithm>
#include <atomic>
#include <iterator>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace m3d {

void CMeshBase::Impl::LinkTextures(CMesh::Impl& mesh)
{
    mesh.textureRefs.assign(mesh.content.textureNames.size(), _MESH_TEXTURE{});
    // A .mesh may name 32767 textures: entries are found by a map, not by a
    // scan of the list for every slot. The first entry of a name wins.
    std::unordered_map<std::string_view, size_t> byName;
    byName.reserve(textures.size() + mesh.content.textureNames.size());
    for (size_t i = 0; i < textures.size(); ++i) byName.emplace(textures[i]->name, i);
    std::vector<std::pair<size_t, size_t>> toLoad;  // entry, slot
    for (size_t slot = 0; slot < mesh.content.textureNames.size(); ++slot) {
        const std::string& name = mesh.content.textureNames[slot];
        const auto [found, added] = byName.emplace(name, textures.size());
        if (added) {
            textures.push_back(std::make_unique<_MESHBASE_TEXTURE>());
            textures.back()->name = name;
        }
        // An entry whose file was missing before may be found beside this model.
        if (textures[found->second]->image.width == 0) toLoad.emplace_back(found->second, slot);
        mesh.textureRefs[slot].index = int32_t(found->second);
    }
    if (toLoad.empty()) return;
    // Listed once for all the textures of the model.
    const FolderIndex folder(mesh.folder);
    bool cancelled = false;
    for (size_t k = 0; k < toLoad.size(); ++k) {
        const auto [entry, slot] = toLoad[k];
        if (textures[entry]->image.width > 0) continue;  // named twice by this model
        if (cancelled) {
            textures[entry]->problem = textures[entry]->name + ": not loaded (cancelled)";
            newProblems.push_back(entry);
            continue;
        }
        LoadEntry(entry, mesh, mesh.texturePaths[slot], folder);
        cancelled = !ReportProgress(progress, k + 1, toLoad.size());
    }
}

void CMeshBase::Impl::LoadEntry(size_t index, const CMesh::Impl& mesh, const std::string& pathInModel,
                                const FolderIndex& folder)
{
    _MESHBASE_TEXTURE& entry = *textures[index];
    const uint64_t memoryLeft = textureBudget > textureBytes ? textureBudget - textureBytes : 0;
    const auto inside = std::find_if(mesh.embedded.begin(), mesh.embedded.end(),
                                     [&](const EmbeddedTexture& t) { return t.name == pathInModel; });
    std::string file;
    const Outcome loaded =
        inside != mesh.embedded.end()
            ? DecodeTextureImage(inside->bytes, inside->name, entry.image, memoryLeft)
            : LoadTextureImage(mesh.folder, pathInModel, entry.image, &folder, memoryLeft, &file, mesh.textureScope);
    if (!loaded) {
        // An unreadable texture leaves the material untextured and the model intact.
        entry.problem = loaded.Message();
        newProblems.push_back(index);
        return;
    }
    entry.problem.clear();
    textureBytes += entry.image.rgba.size();
    // An image from inside the model has no file of its own; it is written beside the project when saved.
    entry.source = file.empty() ? std::string() : CanonicalPath(file);
    entry.insideModelFolder = file.empty() || IsInsideFolder(entry.source, CanonicalPath(mesh.folder));
}

namespace {
std::atomic<uint64_t> defaultTextureBudget{CMeshBase::kDefaultTextureBudget};
}

CMeshBase::CMeshBase() : impl(new Impl) { impl->textureBudget = defaultTextureBudget; }

CMeshBase::~CMeshBase()
{
    Release();
    for (CMesh* mesh : impl->meshes) mesh->impl->base = nullptr;
    delete impl;
}

void CMeshBase::Init(RenderDevice* device) { impl->device = device; }

RenderDevice* CMeshBase::GetDevice() const { return impl->device; }

void CMeshBase::InitMesh(CMesh* mesh, int /*flag*/)
{
    if (mesh == nullptr || mesh->impl->base == this) return;
    if (mesh->impl->base != nullptr) mesh->impl->base->RemoveMesh(mesh);
    impl->meshes.push_back(mesh);
    mesh->impl->base = this;
    impl->LinkTextures(*mesh->impl);
}

void CMeshBase::RemoveMesh(CMesh* mesh)
{
    // Searched from the newest: a scene being cleared destroys its meshes last first.
    const auto found = std::find(impl->meshes.rbegin(), impl->meshes.rend(), mesh);
    if (found == impl->meshes.rend()) return;
    impl->meshes.erase(std::next(found).base());
    mesh->impl->base = nullptr;
    mesh->impl->textureRefs.assign(mesh->impl->textureRefs.size(), _MESH_TEXTURE{});
}

void CMeshBase::Release()
{
    if (impl->device != nullptr)
        for (const auto& texture : impl->textures) impl->device->ReleaseTexture(&texture->image);
    impl->textures.clear();
    impl->textureBytes = 0;
    impl->newProblems.clear();
    for (CMesh* mesh : impl->meshes) mesh->impl->textureRefs.assign(mesh->impl->textureRefs.size(), _MESH_TEXTURE{});
}

int CMeshBase::GetTextureNum() const { return int(impl->textures.size()); }

_MESHBASE_TEXTURE* CMeshBase::GetTexture(int i)
{
    return const_cast<_MESHBASE_TEXTURE*>(static_cast<const CMeshBase&>(*this).GetTexture(i));
}

const _MESHBASE_TEXTURE* CMeshBase::GetTexture(int i) const
{
    if (i < 0 || size_t(i) >= impl->textures.size()) return nullptr;
    return impl->textures[size_t(i)].get();
}

void CMeshBase::SetTextureBudget(uint64_t bytes) { impl->textureBudget = bytes; }

uint64_t CMeshBase::TextureBudgetOfMegabytes(int64_t megabytes)
{
    return megabytes > 0 ? uint64_t(megabytes) << 20 : kDefaultTextureBudget;
}

void CMeshBase::SetDefaultTextureBudget(uint64_t bytes) { defaultTextureBudget = bytes; }

uint64_t CMeshBase::TextureBudget() const { return impl->textureBudget; }

uint64_t CMeshBase::TextureBytes() const { return impl->textureBytes; }

void CMeshBase::SetTaskProgress(TaskProgress* progress) { impl->progress = progress; }

std::vector<const _MESHBASE_TEXTURE*> CMeshBase::TextureProblems() const
{
    std::vector<const _MESHBASE_TEXTURE*> problems;
    for (const auto& texture : impl->textures)
        if (texture->image.width == 0 && !texture->problem.empty()) problems.push_back(texture.get());
    return problems;
}

std::vector<const _MESHBASE_TEXTURE*> CMeshBase::TakeNewTextureProblems()
{
    std::vector<const _MESHBASE_TEXTURE*> problems;
    std::vector<bool> taken(impl->textures.size(), false);
    for (size_t index : impl->newProblems) {
        const _MESHBASE_TEXTURE& texture = *impl->textures[index];
        if (taken[index] || texture.image.width > 0) continue;
        taken[index] = true;
        problems.push_back(&texture);
    }
    impl->newProblems.clear();
    return problems;
}

}  // namespace m3d
