#pragma once

#include "io/Outcome.h"
#include "math/Matrix4.h"
#include "meshlib/LoadedModel.h"
#include "records/MeshRecords.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace m3d {

class CMeshBase;
class RenderDevice;
struct MeshContent;
struct RenderMaterial;

// Primitive types for SetPrimitiveType.
enum class MeshPrimitive : int { Edges = 3, Faces = 5 };

// Where the textures of a mesh come from other than its folder: a file by
// name (read wherever it is), or an image kept with the mesh.
struct TextureSources {
    std::unordered_map<std::string, std::string> files;  // texture name -> file
    std::vector<EmbeddedTexture> embedded;
};

// The geometry of one Part: vertices, sub-meshes as triangle strips, materials
// and texture references, plus its world transform. Registered with a
// CMeshBase (CMeshBase::InitMesh) before loading; the base owns the device link
// and the shared texture list. A CMesh is not copyable.
class CMesh {
public:
    CMesh();
    ~CMesh();  // deregisters itself from its CMeshBase
    CMesh(const CMesh&) = delete;
    CMesh& operator=(const CMesh&) = delete;

    // Loads a .mqo or .mesh file (chosen by the file's content), scaled by scale
    // about the origin. On failure the mesh is left empty and the message
    // names the file, the place and the reason.
    Outcome LoadObject(const std::string& path, float scale);
    // The same for the bytes of a .mesh file already in memory; path names
    // them in messages and its folder is where textures are looked up,
    // unless textures says otherwise.
    Outcome LoadMeshFileBytes(std::string_view bytes, const std::string& path, float scale,
                              const TextureSources& textures = {});
    // The same for a model already read into memory; path names the model in
    // messages and its folder is where textures are looked up.
    Outcome LoadModel(const LoadedModel& model, const std::string& path, float scale);

    // World transform: GetMatrix returns the last matrix with its translation
    // row replaced by the last position.
    void SetMatrix(const Matrix4& m);
    void SetPosition(Vec3 position);
    Matrix4 GetMatrix() const;
    void GetPosition(Vec3& out) const;

    // SetScale records a factor; ReleaseVB then SetVB apply it to the geometry
    // about the origin. Scales accumulate: the vertices returned, drawn and saved
    // are the previous ones times the factor. Factors that are zero or not
    // finite are ignored; a negative one mirrors (faces stay outward).
    void SetScale(float sx, float sy, float sz);
    void ReleaseVB();
    void SetVB();

    // 5 (faces) or 3 (edges; other values are ignored). DrawMesh draws
    // through the base's device with the mesh's world matrix; without a device
    // it draws nothing.
    void SetPrimitiveType(MeshPrimitive type);
    void DrawMesh();
    // The same geometry at world instead of the mesh's own matrix, every
    // sub-mesh in one flat colour tint (ARGB, unlit, untextured): a pose
    // shown beside the current one. How it blends is the device's state.
    void DrawGhost(const Matrix4& world, uint32_t tint);
    // Overlays in the mesh's world matrix; colours are ARGB.
    void DrawCollision(uint32_t color);
    void DrawNormal(float length, uint32_t color);
    void DrawPivotPoint(float size, uint32_t color);
    void DrawBoundingBox(uint32_t color);

    // Writes the mesh (or its mirror image across x = 0, faces still facing
    // outward) as a .mesh file through a temporary file. A read-only file
    // is replaced only when replaceReadOnly is set. The failure names path and
    // says why it cannot be written.
    Outcome SaveMeshFile(const std::string& path, bool replaceReadOnly = false);
    Outcome SaveMirrorMeshFile(const std::string& path, bool replaceReadOnly = false);
    // The bytes SaveMeshFile would write to path (named in the failure when
    // the mesh cannot be saved).
    Expected<std::string> MeshFileBytes(const std::string& path) const;
    // What MeshFileBytes lays out, copied: to be laid out elsewhere
    // (MeshContentBytes), on another thread say, while the mesh changes.
    MeshContent SavedContent() const;

    // The folder the mesh's textures are looked up in (its file's); "" for none.
    const std::string& TextureFolder() const;
    // The entries of the base's texture list its texture slots use, in slot
    // order (-1 for a slot without one).
    std::vector<int> TextureIndices() const;

    // Every vertex position in vertex order, and putting them back (the same
    // count; false and nothing changes otherwise): an undone scaling restores
    // the geometry bit for bit.
    std::vector<Vec3> GetVertexPositions() const;
    bool SetVertexPositions(const std::vector<Vec3>& positions);
    // Digest of the geometry as a .mesh file saves it (vertices, strips,
    // materials, texture names; math/Digest.h), worked out again only after
    // the geometry changed: two meshes with equal digests save the same file.
    uint64_t ContentDigest() const;

    int GetVertexNum() const;
    // Vertex i (0 ... GetVertexNum() - 1); nullptr outside.
    const _MESH_VERTEX* GetVertex(int i) const;
    int GetMeshNum() const;
    // Sub-mesh k; nullptr outside.
    const _MESH_MESHDATA* GetMesh(int k) const;
    // Number of real (non-degenerate) triangles of all sub-meshes.
    int GetFaceNum() const;
    int GetMtrlNum() const;
    const _MESH_MATERIAL* GetMtrl(int k) const;
    // Texture reference k (0 ... number of the mesh's textures - 1); nullptr outside.
    const _MESH_TEXTURE* GetTexture(int k) const;

private:
    friend class CMeshBase;
    struct Impl;
    // The strips of every sub-mesh at world, each in its own material, or all
    // in tint (unlit, untextured) when one is given.
    void DrawStrips(const Matrix4& world, const RenderMaterial* tint);
    Impl* impl;
};

// The .mesh file of content (path names it in the failure): none for a
// vertex beyond the float range (after a scaling), which the reader would refuse.
Expected<std::string> MeshContentBytes(const std::string& path, const MeshContent& content);

}  // namespace m3d
