#include "meshlib/MeshImpl.h"

#include "meshlib/TextureReader.h"
#include "render/RenderDevice.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <unordered_map>

void CMeshBase::Impl::LinkTextures(CMesh::Impl& mesh)
{
    mesh.textureRefs.assign(mesh.content.textureNames.size(), _MESH_TEXTURE{});
    // A .mesh may name 32767 textures: entries are found by a map, not by a
    // scan of the list for every slot. The first entry of a name wins.
    std::unordered_map<std::string_view, size_t> byName;
    byName.reserve(textures.size() + mesh.content.textureNames.size());
    for (size_t i = 0; i < textures.size(); ++i) byName.emplace(textures[i]->name, i);
    for (size_t slot = 0; slot < mesh.content.textureNames.size(); ++slot) {
        const std::string& name = mesh.content.textureNames[slot];
        const auto [found, added] = byName.emplace(name, textures.size());
        if (added) {
            textures.push_back(std::make_unique<_MESHBASE_TEXTURE>());
            textures.back()->name = name;
        }
        // An entry whose file was missing before may be found beside this model.
        _MESHBASE_TEXTURE& entry = *textures[found->second];
        if (entry.image.width == 0) {
            std::string ignored;  // an unreadable texture leaves the material untextured, the model intact
            LoadTextureImage(mesh.folder, mesh.texturePaths[slot], entry.image, ignored);
        }
        mesh.textureRefs[slot].index = int32_t(found->second);
    }
}

CMeshBase::CMeshBase() : impl(new Impl) {}

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
    for (CMesh* mesh : impl->meshes)
        mesh->impl->textureRefs.assign(mesh->impl->textureRefs.size(), _MESH_TEXTURE{});
}

int CMeshBase::GetTextureNum() const { return int(impl->textures.size()); }

_MESHBASE_TEXTURE* CMeshBase::GetTexture(int i)
{
    if (i < 0 || size_t(i) >= impl->textures.size()) return nullptr;
    return impl->textures[size_t(i)].get();
}
