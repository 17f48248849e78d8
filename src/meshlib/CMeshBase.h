#pragma once

#include "records/MeshRecords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace m3d {

class CMesh;
class RenderDevice;
class TaskProgress;

// The mesh manager of a scene: the link to the render device and the shared
// texture list (each file name held once). Meshes register with InitMesh and
// deregister with RemoveMesh or when they are destroyed.
class CMeshBase {
public:
    CMeshBase();
    ~CMeshBase();
    CMeshBase(const CMeshBase&) = delete;
    CMeshBase& operator=(const CMeshBase&) = delete;

    // Sets the device meshes draw through; nullptr for a headless run. Not owned.
    // Release and the destructor tell the device to drop its copies of the
    // shared images, so call Init(nullptr) before the device goes away.
    void Init(RenderDevice* device);
    RenderDevice* GetDevice() const;
    // Registers mesh (flag is kept for callers that pass 1).
    void InitMesh(CMesh* mesh, int flag);
    void RemoveMesh(CMesh* mesh);
    // Frees the shared textures; registered meshes lose their textures (their
    // references become -1; the names stay in their saved files).
    void Release();

    int GetTextureNum() const;
    // Texture i of the shared list; nullptr outside 0 ... GetTextureNum() - 1.
    _MESHBASE_TEXTURE* GetTexture(int i);
    const _MESHBASE_TEXTURE* GetTexture(int i) const;

    // The memory all textures of this manager may take, decoded: an image is
    // decoded only when the images held plus its decoding's peak
    // (TextureDecodingBytes, about twice its RGBA bytes) fit; otherwise it is
    // refused from its header with a problem saying so. Images already held
    // stay when the budget is lowered.
    static constexpr uint64_t kDefaultTextureBudget = uint64_t(512) << 20;
    void SetTextureBudget(uint64_t bytes);
    // The budget of megabytes MB (a settings value or an option); the default for 0 or less.
    static uint64_t TextureBudgetOfMegabytes(int64_t megabytes);
    // The budget every mesh manager made afterwards starts with (a program's option).
    static void SetDefaultTextureBudget(uint64_t bytes);
    uint64_t TextureBudget() const;
    // RGBA bytes of the images held.
    uint64_t TextureBytes() const;

    // Where texture loading reports each texture read and learns whether to
    // go on (nullptr: nowhere). Once cancelled, the textures not read yet of
    // that load stay without image, with the problem "not loaded (cancelled)".
    // Not owned.
    void SetTaskProgress(TaskProgress* progress);

    // Every texture that has no image, with its problem, in list order.
    std::vector<const _MESHBASE_TEXTURE*> TextureProblems() const;
    // The textures that failed to load since the last call and still have no
    // image, each once: what the last loads could not use.
    std::vector<const _MESHBASE_TEXTURE*> TakeNewTextureProblems();

private:
    friend class CMesh;
    struct Impl;
    Impl* impl;
};

}  // namespace m3d
