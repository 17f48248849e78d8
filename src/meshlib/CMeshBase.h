#pragma once

#include "records/MeshRecords.h"

#include <string>
#include <vector>

class CMesh;
class RenderDevice;

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

private:
    friend class CMesh;
    struct Impl;
    Impl* impl;
};
