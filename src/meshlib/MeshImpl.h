#pragma once

// The inside of CMesh and CMeshBase, shared by their source files only.

#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/LoadedModel.h"
#include "meshlib/MeshContent.h"

#include <cstdint>
#include <memory>

namespace m3d {

class FolderIndex;
class TaskProgress;

struct CMesh::Impl {
    CMeshBase* base = nullptr;  // not owned; null when not registered
    MeshContent content;
    std::string folder;                     // folder of the loaded file, where its textures are looked up
    std::vector<std::string> texturePaths;  // per texture slot, the path as the file gave it
    NamedFileScope textureScope = NamedFileScope::Anywhere;  // where those paths may lead
    std::vector<_MESH_TEXTURE> textureRefs;  // per texture slot, its entry in the base's list (-1: none)
    // Images the model file held inside itself, by the names its slots give.
    std::vector<EmbeddedTexture> embedded;

    Matrix4 matrix;
    Vec3 position;
    float pendingScale[3] = {1.0f, 1.0f, 1.0f};  // applied to the geometry by SetVB
    MeshPrimitive primitiveType = MeshPrimitive::Faces;

    // Derived from the content by Refresh.
    uint64_t geometryVersion = 0;        // new for every change of the geometry (GeometryKey)
    mutable uint64_t digestVersion = 0;  // geometryVersion the digest below belongs to
    mutable uint64_t contentDigest = 0;
    int faceCount = 0;
    bool hasBounds = false;
    Vec3 boundsLow, boundsHigh;
    Vec3 sphereCentre;
    float sphereRadius = 0.0f;

    // Replaces the geometry and links its textures through the base.
    void SetContent(MeshContent newContent, std::string newFolder, std::vector<std::string> newTexturePaths,
                    NamedFileScope newScope = NamedFileScope::Anywhere);
    // Recomputes what is derived from the geometry.
    void Refresh();
    // The geometry as saved: texture names as the shared list now has them
    // (its users may have lower-cased them).
    MeshContent ContentForSaving() const;
    // The image of texture slot k of a material, or nullptr.
    const TextureImage* TextureOfSlot(int slot) const;
};

struct CMeshBase::Impl {
    RenderDevice* device = nullptr;  // not owned
    std::vector<CMesh*> meshes;      // registered, not owned
    // Entries never move, so their images can be handed to the device by address.
    std::vector<std::unique_ptr<_MESHBASE_TEXTURE>> textures;
    uint64_t textureBudget;
    uint64_t textureBytes = 0;         // RGBA bytes of the images held
    TaskProgress* progress = nullptr;  // not owned
    // Entries that failed to load since TakeNewTextureProblems, in order.
    std::vector<size_t> newProblems;

    // Points every texture slot of mesh at its shared entry, adding entries
    // for new names and loading images that are not loaded yet.
    void LinkTextures(CMesh::Impl& mesh);
    // Loads the image of entry as the model in modelFolder names it.
    void LoadEntry(size_t index, const CMesh::Impl& mesh, const std::string& pathInModel, const FolderIndex& folder);
};

}  // namespace m3d
