#include "meshlib/MeshImpl.h"

#include "meshlib/TextureReader.h"
#include "render/RenderDevice.h"

#include <algorithm>

void CMeshBase::Impl::LinkTextures(CMesh::Impl& mesh)
{
    mesh.textureRefs.assign(mesh.content.textureNames.size(), _MESH_TEXTURE{});
    for (size_t slot = 0; slot < mesh.content.textureNames.size(); ++slot) {
        const std::string& name = mesh.content.textureNames[slot];
        auto found = std::find_if(textures.begin(), textures.end(), [&](const auto& t) { return t->name == name; });
        if (found == textures.end()) {
            textures.push_back(std::make_unique<_MESHBASE_TEXTURE>());
            textures.back()->name = name;
            found = textures.end() - 1;
        }
        // An entry whose file was missing before may be found beside this model.
        _MESHBASE_TEXTURE& entry = **found;
        if (entry.image.width == 0) {
            std::string ignored;  // an unreadable texture leaves the material untextured, the model intact
            LoadTextureImage(mesh.folder, mesh.texturePaths[slot], entry.image, ignored);
        }
        mesh.textureRefs[slot].index = int32_t(found - textures.begin());
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
    auto found = std::find(impl->meshes.begin(), impl->meshes.end(), mesh);
    if (found == impl->meshes.end()) return;
    impl->meshes.erase(found);
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
