#include "foreign/readers/GltfAccessors.h"
#include "foreign/readers/GltfImport.h"

#include <array>
#include <limits>
#include <map>
#include <numeric>

namespace m3d {

namespace {

// Equal corners only join the runs of a strip or fan: nothing to draw.
void AddTriangle(std::vector<uint32_t>& out, uint32_t a, uint32_t b, uint32_t c)
{
    if (a != b && b != c && a != c) out.insert(out.end(), {a, b, c});
}

// The triangle list of a primitive's corners, in glTF's order: a strip
// alternates its winding so that every triangle faces the way the first does;
// a fan turns around its first corner.
std::vector<uint32_t> TrianglesOf(int mode, const std::vector<uint32_t>& corners)
{
    std::vector<uint32_t> out;
    const size_t n = corners.size();
    if (mode == TINYGLTF_MODE_TRIANGLES) {
        out.assign(corners.begin(), corners.begin() + static_cast<std::ptrdiff_t>(n - n % 3));
    } else if (mode == TINYGLTF_MODE_TRIANGLE_STRIP) {
        for (size_t i = 0; i + 2 < n; ++i) {
            if (i % 2 == 0)
                AddTriangle(out, corners[i], corners[i + 1], corners[i + 2]);
            else
                AddTriangle(out, corners[i], corners[i + 2], corners[i + 1]);
        }
    } else {
        for (size_t i = 1; i + 1 < n; ++i) AddTriangle(out, corners[i], corners[i + 1], corners[0]);
    }
    return out;
}

// The attribute of primitive p named semantic (components floats each, one
// element per vertex), or nothing when p has none.
Outcome ReadAttribute(const tinygltf::Model& model, const tinygltf::Primitive& p, const char* semantic, int components,
                      size_t vertexCount, std::vector<float>& out)
{
    out.clear();
    const auto found = p.attributes.find(semantic);
    if (found == p.attributes.end()) return Outcome();
    if (Outcome read = ReadGltfFloats(model, found->second, components, out); !read)
        return Outcome::Failure(std::string(semantic) + ": " + read.Message());
    if (out.size() != vertexCount * size_t(components))
        return Outcome::Failure(std::string(semantic) + " has " + std::to_string(out.size() / size_t(components)) +
                                " elements for " + std::to_string(vertexCount) + " positions");
    return Outcome();
}

// The accessors of a primitive's POSITION, NORMAL and TEXCOORD_0 (-1: none).
// Primitives of one mesh often share them: their vertices are added once.
using VertexSource = std::array<int, 3>;

// Where a vertex source's vertices start in the mesh's geometry, and how many.
struct VertexRange {
    size_t base = 0;
    size_t count = 0;
};

int AttributeOf(const tinygltf::Primitive& p, const char* semantic)
{
    const auto found = p.attributes.find(semantic);
    return found == p.attributes.end() ? -1 : found->second;
}

// The vertices of primitive p appended to geometry; range says where they went.
Outcome AppendVertices(const tinygltf::Model& model, const tinygltf::Primitive& p, LoadedModel& geometry,
                       VertexRange& range)
{
    std::vector<float> positions, normals, uvs;
    if (Outcome read = ReadGltfFloats(model, p.attributes.at("POSITION"), 3, positions); !read)
        return Outcome::Failure("POSITION: " + read.Message());
    const size_t vertexCount = positions.size() / 3;
    if (Outcome read = ReadAttribute(model, p, "NORMAL", 3, vertexCount, normals); !read) return read;
    if (Outcome read = ReadAttribute(model, p, "TEXCOORD_0", 2, vertexCount, uvs); !read) return read;
    range.base = geometry.vertices.size();
    range.count = vertexCount;
    if (vertexCount > std::numeric_limits<uint32_t>::max() - range.base)
        return Outcome::Failure("the mesh has more vertices than 32-bit indices reach");
    for (size_t v = 0; v < vertexCount; ++v) {
        _MESH_VERTEX& vertex = geometry.vertices.emplace_back();
        vertex.x = positions[3 * v];
        vertex.y = positions[3 * v + 1];
        vertex.z = positions[3 * v + 2];
        if (!normals.empty()) {
            vertex.nx = normals[3 * v];
            vertex.ny = normals[3 * v + 1];
            vertex.nz = normals[3 * v + 2];
        }
        if (!uvs.empty()) {
            vertex.tu = uvs[2 * v];
            vertex.tv = uvs[2 * v + 1];
        }
    }
    return Outcome();
}

// The triangles of primitive p appended to geometry, material the index of
// its material there; its vertices too unless an earlier primitive had them.
Outcome AppendPrimitive(const tinygltf::Model& model, const tinygltf::Primitive& p, uint32_t material,
                        std::map<VertexSource, VertexRange>& added, LoadedModel& geometry)
{
    if (p.attributes.find("POSITION") == p.attributes.end()) return Outcome::Failure("it has no POSITION");
    const VertexSource source = {AttributeOf(p, "POSITION"), AttributeOf(p, "NORMAL"), AttributeOf(p, "TEXCOORD_0")};
    auto range = added.find(source);
    if (range == added.end()) {
        VertexRange appended;
        if (Outcome read = AppendVertices(model, p, geometry, appended); !read) return read;
        range = added.emplace(source, appended).first;
    }
    const size_t vertexCount = range->second.count;
    std::vector<uint32_t> corners;
    if (p.indices >= 0) {
        if (Outcome read = ReadGltfIndices(model, p.indices, vertexCount, corners); !read)
            return Outcome::Failure("indices: " + read.Message());
    } else {
        corners.resize(vertexCount);
        std::iota(corners.begin(), corners.end(), 0u);
    }
    const std::vector<uint32_t> triangles = TrianglesOf(p.mode, corners);
    const auto base = static_cast<uint32_t>(range->second.base);
    for (uint32_t corner : triangles) geometry.indices.push_back(base + corner);
    geometry.triangleMaterials.insert(geometry.triangleMaterials.end(), triangles.size() / 3, material);
    return Outcome();
}

}  // namespace

Outcome ImportGltfMesh(GltfImport& import, int index, ForeignMesh& out)
{
    out = {};
    const tinygltf::Mesh& mesh = import.model.meshes[size_t(index)];
    const std::string label = Label("mesh", size_t(index), mesh.name);
    out.name = mesh.name;
    // glTF material index (-1: the default) to its index in out.geometry.materials.
    std::map<int, uint32_t> local;
    std::map<VertexSource, VertexRange> added;
    for (size_t k = 0; k < mesh.primitives.size(); ++k) {
        const tinygltf::Primitive& p = mesh.primitives[k];
        const std::string where = label + ", primitive " + std::to_string(k) + ": ";
        if (p.mode >= TINYGLTF_MODE_POINTS && p.mode <= TINYGLTF_MODE_LINE_STRIP) {
            Note(import, "points and lines of " + label);
            continue;
        }
        if (p.mode < TINYGLTF_MODE_TRIANGLES || p.mode > TINYGLTF_MODE_TRIANGLE_FAN)
            return Outcome::Failure(where + "mode " + std::to_string(p.mode) + " is not a glTF primitive mode");
        if (!p.targets.empty()) Note(import, "morph targets of " + label);
        if (p.attributes.count("COLOR_0")) Note(import, "vertex colours of " + label);
        auto slot = local.find(p.material);
        if (slot == local.end()) {
            ImportedMaterial material;
            if (Outcome found = ImportGltfMaterial(import, p.material, material); !found)
                return Outcome::Failure(where + found.Message());
            slot = local.emplace(p.material, uint32_t(out.geometry.materials.size())).first;
            out.geometry.materials.push_back(material.material);
            out.embeddedImages.push_back(material.image);
        }
        if (Outcome appended = AppendPrimitive(import.model, p, slot->second, added, out.geometry); !appended)
            return Outcome::Failure(where + appended.Message());
    }
    return Outcome();
}

}  // namespace m3d
