#include "meshlib/MeshImpl.h"

#include "io/AtomicFile.h"
#include "io/FileReading.h"
#include "io/PathLookup.h"
#include "math/Digest.h"
#include "meshlib/MeshFile.h"
#include "meshlib/ModelToMesh.h"
#include "meshlib/MqoReader.h"
#include "meshlib/TextureName.h"
#include "render/RenderDevice.h"

#include <atomic>
#include <cmath>

namespace m3d {

void CMesh::Impl::SetContent(MeshContent newContent, std::string newFolder, std::vector<std::string> newTexturePaths,
                             NamedFileScope newScope)
{
    content = std::move(newContent);
    folder = std::move(newFolder);
    texturePaths = std::move(newTexturePaths);
    textureScope = newScope;
    textureRefs.assign(content.textureNames.size(), _MESH_TEXTURE{});
    if (base != nullptr) base->impl->LinkTextures(*this);
    Refresh();
}

void CMesh::Impl::Refresh()
{
    static std::atomic<uint64_t> lastGeometryVersion{0};
    geometryVersion = ++lastGeometryVersion;
    faceCount = CountFaces(content);
    hasBounds = GeometryBounds(content, boundsLow, boundsHigh);
    sphereCentre = (boundsLow + boundsHigh) * 0.5f;
    float radiusSquared = 0.0f;
    for (const _MESH_VERTEX& v : content.vertices) {
        const Vec3 d = Vec3{v.x, v.y, v.z} - sphereCentre;
        radiusSquared = std::max(radiusSquared, Dot(d, d));
    }
    sphereRadius = std::sqrt(radiusSquared);
}

MeshContent CMesh::Impl::ContentForSaving() const
{
    MeshContent saved = content;
    for (size_t slot = 0; slot < textureRefs.size(); ++slot) {
        const _MESHBASE_TEXTURE* entry = base != nullptr ? base->GetTexture(textureRefs[slot].index) : nullptr;
        if (entry != nullptr && IsValidTextureName(entry->name)) saved.textureNames[slot] = entry->name;
    }
    return saved;
}

const TextureImage* CMesh::Impl::TextureOfSlot(int slot) const
{
    if (base == nullptr || slot < 0 || size_t(slot) >= textureRefs.size()) return nullptr;
    const _MESHBASE_TEXTURE* entry = base->GetTexture(textureRefs[size_t(slot)].index);
    return entry != nullptr && entry->image.width > 0 ? &entry->image : nullptr;
}

CMesh::CMesh() : impl(new Impl) {}

CMesh::~CMesh()
{
    if (impl->base != nullptr && impl->base->GetDevice() != nullptr) impl->base->GetDevice()->ForgetGeometry(this);
    if (impl->base != nullptr) impl->base->RemoveMesh(this);
    delete impl;
}

static bool UsableScale(float s) { return std::isfinite(s) && s != 0.0f; }

static Outcome UnusableScale(const std::string& path, float scale)
{
    return Outcome::Failure(path + ": scale " + std::to_string(scale) + " is not a usable factor");
}

Outcome CMesh::LoadObject(const std::string& path, float scale)
{
    impl->embedded.clear();
    impl->SetContent({}, {}, {});
    if (!UsableScale(scale)) return UnusableScale(path, scale);
    Expected<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return bytes.Status();
    // Our own files say so in their first bytes; anything else is taken for a .mqo model.
    if (!HasMeshFileMagic(*bytes)) {
        LoadedModel model;
        if (Outcome read = ReadMqo(*bytes, path, model); !read) return read;
        *bytes = {};
        return LoadModel(model, path, scale);
    }
    return LoadMeshFileBytes(*bytes, path, scale);
}

Outcome CMesh::LoadMeshFileBytes(std::string_view bytes, const std::string& path, float scale,
                                 const TextureSources& textures)
{
    impl->embedded.clear();
    impl->SetContent({}, {}, {});
    if (!UsableScale(scale)) return UnusableScale(path, scale);
    MeshContent content;
    if (Outcome decoded = DecodeMeshFile(bytes, path, content); !decoded) return decoded;
    if (scale != 1.0f) ScaleGeometry(content, scale, scale, scale);
    std::vector<std::string> texturePaths = content.textureNames;
    for (std::string& texture : texturePaths)
        if (const auto file = textures.files.find(texture); file != textures.files.end()) texture = file->second;
    impl->embedded = textures.embedded;
    impl->SetContent(std::move(content), DirectoryOf(path), std::move(texturePaths));
    return Outcome();
}

Outcome CMesh::LoadModel(const LoadedModel& model, const std::string& path, float scale)
{
    impl->embedded.clear();
    impl->SetContent({}, {}, {});
    if (!UsableScale(scale)) return UnusableScale(path, scale);
    MeshContent content;
    std::vector<std::string> texturePaths;
    if (Outcome built = BuildMeshContent(model, path, content, texturePaths); !built) return built;
    if (scale != 1.0f) ScaleGeometry(content, scale, scale, scale);
    impl->embedded = model.embeddedTextures;
    impl->SetContent(std::move(content), DirectoryOf(path), std::move(texturePaths), model.textureScope);
    return Outcome();
}

void CMesh::SetMatrix(const Matrix4& m) { impl->matrix = m; }

void CMesh::SetPosition(Vec3 position) { impl->position = position; }

Matrix4 CMesh::GetMatrix() const
{
    Matrix4 m = impl->matrix;
    m.SetTranslation(impl->position);
    return m;
}

void CMesh::GetPosition(Vec3& out) const { out = impl->position; }

void CMesh::SetScale(float sx, float sy, float sz)
{
    if (!UsableScale(sx) || !UsableScale(sy) || !UsableScale(sz)) return;
    impl->pendingScale[0] = sx;
    impl->pendingScale[1] = sy;
    impl->pendingScale[2] = sz;
}

// Drawing reads the vertices from memory, so there is no device buffer to free.
void CMesh::ReleaseVB() {}

void CMesh::SetVB()
{
    float* s = impl->pendingScale;
    if (s[0] != 1.0f || s[1] != 1.0f || s[2] != 1.0f) {
        ScaleGeometry(impl->content, s[0], s[1], s[2]);
        impl->Refresh();
    }
    s[0] = s[1] = s[2] = 1.0f;
}

std::vector<Vec3> CMesh::GetVertexPositions() const
{
    std::vector<Vec3> positions;
    positions.reserve(impl->content.vertices.size());
    for (const _MESH_VERTEX& v : impl->content.vertices) positions.push_back({v.x, v.y, v.z});
    return positions;
}

bool CMesh::SetVertexPositions(const std::vector<Vec3>& positions)
{
    if (positions.size() != impl->content.vertices.size()) return false;
    for (size_t k = 0; k < positions.size(); ++k) {
        _MESH_VERTEX& v = impl->content.vertices[k];
        v.x = positions[k].x;
        v.y = positions[k].y;
        v.z = positions[k].z;
    }
    impl->Refresh();
    return true;
}

const std::string& CMesh::TextureFolder() const { return impl->folder; }

std::vector<int> CMesh::TextureIndices() const
{
    std::vector<int> indices;
    for (const _MESH_TEXTURE& slot : impl->textureRefs) indices.push_back(slot.index);
    return indices;
}

uint64_t CMesh::ContentDigest() const
{
    if (impl->digestVersion == impl->geometryVersion) return impl->contentDigest;
    const MeshContent content = impl->ContentForSaving();
    Digest digest;
    for (const _MESH_VERTEX& v : content.vertices) {
        const float values[8] = {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.tu, v.tv};
        digest.Add(values, sizeof values);
    }
    for (const _MESH_MESHDATA& sub : content.subMeshes) {
        digest.Add(int64_t{sub.materialNumber} << 40 | int64_t{sub.windingFlag} << 32 | sub.baseVertex);
        digest.Add(sub.indices.data(), sub.indices.size() * sizeof(uint16_t));
    }
    for (const _MESH_MATERIAL& m : content.materials) {
        const ColorValue colours[4] = {m.diffuse, m.ambient, m.specular, m.emissive};
        digest.Add(colours, sizeof colours);
        digest.Add(&m.power, sizeof m.power);
        digest.Add(int64_t{m.textureNumber});
    }
    for (const std::string& name : content.textureNames) digest.Add(name);
    impl->contentDigest = digest.Value();
    impl->digestVersion = impl->geometryVersion;
    return impl->contentDigest;
}

void CMesh::SetPrimitiveType(MeshPrimitive type)
{
    if (type == MeshPrimitive::Edges || type == MeshPrimitive::Faces) impl->primitiveType = type;
}

Expected<std::string> MeshContentBytes(const std::string& path, const MeshContent& content)
{
    for (const _MESH_VERTEX& v : content.vertices)
        for (float value : {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.tu, v.tv})
            if (!std::isfinite(value))
                return Outcome::Failure(path + ": the mesh holds values beyond the float range; nothing was written");
    return EncodeMeshFile(content);
}

namespace {

Outcome WriteMeshContent(const std::string& path, const MeshContent& content, bool replaceReadOnly)
{
    const Expected<std::string> bytes = MeshContentBytes(path, content);
    if (!bytes) return bytes.Status();
    AtomicWriteOptions options;
    options.replaceReadOnly = replaceReadOnly;
    return WriteFileAtomically(path, *bytes, options);
}

}  // namespace

Outcome CMesh::SaveMeshFile(const std::string& path, bool replaceReadOnly)
{
    return WriteMeshContent(path, impl->ContentForSaving(), replaceReadOnly);
}

Expected<std::string> CMesh::MeshFileBytes(const std::string& path) const
{
    return MeshContentBytes(path, impl->ContentForSaving());
}

MeshContent CMesh::SavedContent() const { return impl->ContentForSaving(); }

Outcome CMesh::SaveMirrorMeshFile(const std::string& path, bool replaceReadOnly)
{
    MeshContent mirrored = impl->ContentForSaving();
    MirrorGeometry(mirrored);
    return WriteMeshContent(path, mirrored, replaceReadOnly);
}

int CMesh::GetVertexNum() const { return int(impl->content.vertices.size()); }

const _MESH_VERTEX* CMesh::GetVertex(int i) const
{
    if (i < 0 || size_t(i) >= impl->content.vertices.size()) return nullptr;
    return &impl->content.vertices[size_t(i)];
}

int CMesh::GetMeshNum() const { return int(impl->content.subMeshes.size()); }

const _MESH_MESHDATA* CMesh::GetMesh(int k) const
{
    if (k < 0 || size_t(k) >= impl->content.subMeshes.size()) return nullptr;
    return &impl->content.subMeshes[size_t(k)];
}

int CMesh::GetFaceNum() const { return impl->faceCount; }

int CMesh::GetMtrlNum() const { return int(impl->content.materials.size()); }

const _MESH_MATERIAL* CMesh::GetMtrl(int k) const
{
    if (k < 0 || size_t(k) >= impl->content.materials.size()) return nullptr;
    return &impl->content.materials[size_t(k)];
}

const _MESH_TEXTURE* CMesh::GetTexture(int k) const
{
    if (k < 0 || size_t(k) >= impl->textureRefs.size()) return nullptr;
    return &impl->textureRefs[size_t(k)];
}

}  // namespace m3d
