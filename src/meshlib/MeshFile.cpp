#include "meshlib/MeshFile.h"

#include "io/ByteStream.h"
#include "meshlib/TextureName.h"

#include <bit>
#include <cmath>
#include <cstring>

namespace m3d {

namespace {

constexpr char kMagic[8] = {'M', '3', 'D', 'M', 'E', 'S', 'H', '\0'};
constexpr size_t kHeaderBytes = 28;
constexpr size_t kVertexBytes = 32;
constexpr size_t kSubMeshHeaderBytes = 8;
constexpr size_t kMinSubMeshBytes = kSubMeshHeaderBytes + 3 * 2;
constexpr size_t kMaterialBytes = 17 * 4 + 2;
constexpr size_t kMinTextureBytes = 2;
constexpr size_t kMaxTextures = 32767;  // texture numbers are signed 16-bit

using Writer = ByteWriter;
using Reader = ByteReader;

void WriteColor(Writer& w, const ColorValue& c)
{
    w.F32(c.r);
    w.F32(c.g);
    w.F32(c.b);
    w.F32(c.a);
}

bool ReadColor(Reader& in, ColorValue& c, const char* what)
{
    return in.F32(c.r, what) && in.F32(c.g, what) && in.F32(c.b, what) && in.F32(c.a, what);
}

struct Counts {
    uint32_t vertices, subMeshes, materials, textures;
};

bool ReadHeader(Reader& in, Counts& counts)
{
    if (!in.Need(sizeof kMagic, "the header") ||
        std::memcmp(in.Bytes(sizeof kMagic).data(), kMagic, sizeof kMagic) != 0)
        return in.Fail(0, "not a .mesh file (bad magic)");
    // The version comes first: another version may lay out the rest of its header differently.
    if (!in.Need(4, "the header")) return false;
    const uint32_t version = in.U32();
    if (version != kMeshFileVersion)
        return in.Fail(8, "unsupported version " + std::to_string(version) + " (this program reads version " +
                              std::to_string(kMeshFileVersion) + ")");
    if (!in.Need(kHeaderBytes - sizeof kMagic - 4, "the header")) return false;
    counts = {in.U32(), in.U32(), in.U32(), in.U32()};
    if (counts.materials > kMaxMaterials)
        return in.Fail(20, std::to_string(counts.materials) + " materials (at most 128)");
    if (counts.textures > kMaxTextures)
        return in.Fail(24, std::to_string(counts.textures) + " textures (at most 32767)");
    // Every record has a least size: refuse counts the file cannot hold before allocating anything.
    const uint64_t least = uint64_t(counts.vertices) * kVertexBytes + uint64_t(counts.subMeshes) * kMinSubMeshBytes +
                           uint64_t(counts.materials) * kMaterialBytes + uint64_t(counts.textures) * kMinTextureBytes;
    if (least > in.Left())
        return in.Fail(12, "the counts need at least " + std::to_string(least) + " bytes but only " +
                               std::to_string(in.Left()) + " follow");
    return true;
}

bool ReadVertices(Reader& in, uint32_t count, std::vector<_MESH_VERTEX>& out)
{
    out.resize(count);  // the header check guarantees the bytes
    for (_MESH_VERTEX& v : out) {
        float* fields[8] = {&v.x, &v.y, &v.z, &v.nx, &v.ny, &v.nz, &v.tu, &v.tv};
        for (float* f : fields)
            if (!in.F32(*f, "a vertex value")) return false;
    }
    return true;
}

bool ReadSubMeshes(Reader& in, const Counts& counts, std::vector<_MESH_MESHDATA>& out)
{
    out.resize(counts.subMeshes);
    for (uint32_t k = 0; k < counts.subMeshes; ++k) {
        _MESH_MESHDATA& m = out[k];
        const size_t start = in.Offset();
        const std::string which = "sub-mesh " + std::to_string(k);
        if (!in.Need(kSubMeshHeaderBytes, which.c_str())) return false;
        m.indexCount = in.U16();
        m.materialNumber = int8_t(in.U8());
        m.windingFlag = in.U8();
        m.baseVertex = in.U32();
        if (m.indexCount < 3)
            return in.Fail(start, which + ": " + std::to_string(m.indexCount) + " indices (a strip needs 3)");
        if (m.materialNumber < 0 || uint32_t(m.materialNumber) >= counts.materials)
            return in.Fail(start + 2, which + ": material " + std::to_string(m.materialNumber) + " does not exist");
        if (m.windingFlag > 1) return in.Fail(start + 3, which + ": winding flag " + std::to_string(m.windingFlag));
        if (!in.Need(size_t(m.indexCount) * 2, which.c_str())) return false;
        m.indices.resize(m.indexCount);
        for (uint16_t& index : m.indices) {
            const size_t offset = in.Offset();
            index = in.U16();
            if (uint64_t(m.baseVertex) + index >= counts.vertices)
                return in.Fail(offset, which + ": vertex " + std::to_string(uint64_t(m.baseVertex) + index) +
                                           " out of range (" + std::to_string(counts.vertices) + " vertices)");
        }
    }
    return true;
}

bool ReadMaterials(Reader& in, const Counts& counts, std::vector<_MESH_MATERIAL>& out)
{
    out.resize(counts.materials);
    for (_MESH_MATERIAL& m : out) {
        if (!in.Need(kMaterialBytes, "a material")) return false;
        if (!ReadColor(in, m.diffuse, "a material colour") || !ReadColor(in, m.ambient, "a material colour") ||
            !ReadColor(in, m.specular, "a material colour") || !ReadColor(in, m.emissive, "a material colour") ||
            !in.F32(m.power, "a material power"))
            return false;
        const size_t offset = in.Offset();
        m.textureNumber = int16_t(in.U16());
        if (m.textureNumber < -1 || (m.textureNumber >= 0 && uint32_t(m.textureNumber) >= counts.textures))
            return in.Fail(offset, "texture " + std::to_string(m.textureNumber) + " does not exist");
    }
    return true;
}

bool ReadTextureNames(Reader& in, uint32_t count, std::vector<std::string>& out)
{
    out.resize(count);
    for (std::string& name : out) {
        if (!in.Need(1, "a texture name")) return false;
        const size_t offset = in.Offset();
        const uint8_t length = in.U8();
        if (!in.Need(length, "a texture name")) return false;
        name = std::string(in.Bytes(length));
        if (!IsValidTextureName(name))
            return in.Fail(offset, "texture name is not a plain file name of at most 60 bytes");
    }
    return true;
}

}  // namespace

bool HasMeshFileMagic(std::string_view bytes)
{
    return bytes.size() >= sizeof kMagic && std::memcmp(bytes.data(), kMagic, sizeof kMagic) == 0;
}

std::string EncodeMeshFile(const MeshContent& content)
{
    size_t size = kHeaderBytes + content.vertices.size() * kVertexBytes + content.materials.size() * kMaterialBytes;
    for (const _MESH_MESHDATA& m : content.subMeshes) size += kSubMeshHeaderBytes + 2 * m.indices.size();
    for (const std::string& name : content.textureNames) size += 1 + name.size();
    std::string out;
    out.reserve(size);
    Writer w(out);
    out.append(kMagic, sizeof kMagic);
    w.U32(kMeshFileVersion);
    w.U32(uint32_t(content.vertices.size()));
    w.U32(uint32_t(content.subMeshes.size()));
    w.U32(uint32_t(content.materials.size()));
    w.U32(uint32_t(content.textureNames.size()));
    for (const _MESH_VERTEX& v : content.vertices)
        for (float f : {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.tu, v.tv}) w.F32(f);
    for (const _MESH_MESHDATA& m : content.subMeshes) {
        w.U16(uint16_t(m.indices.size()));
        w.U8(uint8_t(m.materialNumber));
        w.U8(m.windingFlag);
        w.U32(m.baseVertex);
        for (uint16_t index : m.indices) w.U16(index);
    }
    for (const _MESH_MATERIAL& m : content.materials) {
        WriteColor(w, m.diffuse);
        WriteColor(w, m.ambient);
        WriteColor(w, m.specular);
        WriteColor(w, m.emissive);
        w.F32(m.power);
        w.U16(uint16_t(m.textureNumber));
    }
    for (const std::string& name : content.textureNames) {
        w.U8(uint8_t(name.size()));
        out += name;
    }
    return out;
}

Outcome DecodeMeshFile(std::string_view bytes, const std::string& fileName, MeshContent& out)
{
    Reader in(bytes, fileName);
    Counts counts{};
    MeshContent content;
    if (!ReadHeader(in, counts) || !ReadVertices(in, counts.vertices, content.vertices) ||
        !ReadSubMeshes(in, counts, content.subMeshes) || !ReadMaterials(in, counts, content.materials) ||
        !ReadTextureNames(in, counts.textures, content.textureNames))
        return Outcome::Failure(in.Error());
    if (in.Left() != 0) {
        in.Fail(in.Offset(), std::to_string(in.Left()) + " bytes after the end of the mesh");
        return Outcome::Failure(in.Error());
    }
    out = std::move(content);
    return Outcome();
}

}  // namespace m3d
