#include "foreign/NodeWorlds.h"

#include "math/Quaternion.h"
#include "meshlib/MeshContent.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace m3d {

namespace {

float Determinant3(const Matrix4& m)
{
    const auto& a = m.m;
    return a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) - a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
           a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
}

bool SameColour(const ColorValue& a, const ColorValue& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

bool SameMaterial(const ModelMaterial& a, const ModelMaterial& b)
{
    return a.name == b.name && SameColour(a.diffuse, b.diffuse) && SameColour(a.ambient, b.ambient) &&
           SameColour(a.specular, b.specular) && SameColour(a.emissive, b.emissive) && a.power == b.power &&
           a.texturePath == b.texturePath;
}

}  // namespace

Matrix4 NodeMatrixOf(const NodeTransform& transform)
{
    Matrix4 m = MatrixScaling(transform.scale.x, transform.scale.y, transform.scale.z) *
                MatrixRotationQuaternion(transform.rotation);
    m.SetTranslation(transform.translation);
    return m;
}

std::vector<NodeWorld> NodeWorldsOf(const ForeignModel& model, const std::vector<NodeTransform>& transforms)
{
    std::vector<NodeWorld> worlds(model.nodes.size());
    for (size_t i = 0; i < model.nodes.size() && i < transforms.size(); ++i) {
        const NodeTransform& local = transforms[i];
        Matrix4 rotation = MatrixRotationQuaternion(local.rotation);
        Matrix4 full = NodeMatrixOf(local);
        if (const int parent = model.nodes[i].parent; parent >= 0) {
            full = full * worlds[static_cast<size_t>(parent)].full;
            rotation = rotation * worlds[static_cast<size_t>(parent)].rigid;
        }
        rotation.SetTranslation(full.Translation());
        worlds[i] = {full, rotation};
    }
    return worlds;
}

void TransformGeometry(LoadedModel& geometry, const Matrix4& m)
{
    Matrix4 inverse;
    const Matrix4 normals = MatrixInverse(m, inverse) ? MatrixTranspose(inverse) : m;
    for (_MESH_VERTEX& v : geometry.vertices) {
        const Vec3 p = TransformCoord({v.x, v.y, v.z}, m);
        const Vec3 n = Normalize(TransformNormal({v.nx, v.ny, v.nz}, normals));
        v.x = p.x, v.y = p.y, v.z = p.z;
        v.nx = n.x, v.ny = n.y, v.nz = n.z;
    }
    if (Determinant3(m) < 0.0f)
        for (size_t t = 0; t + 2 < geometry.indices.size(); t += 3)
            std::swap(geometry.indices[t + 1], geometry.indices[t + 2]);
}

LoadedModel NodeGeometry(const ForeignModel& model, size_t node, const Matrix4& m)
{
    const int meshIndex = node < model.nodes.size() ? model.nodes[node].mesh : -1;
    if (meshIndex < 0) return {};
    const ForeignMesh& mesh = model.meshes[static_cast<size_t>(meshIndex)];
    LoadedModel placed = mesh.geometry;
    placed.textureScope = model.imageScope;
    TransformGeometry(placed, m);
    for (size_t k = 0; k < placed.materials.size() && k < mesh.embeddedImages.size(); ++k) {
        const int image = mesh.embeddedImages[k];
        if (image < 0) continue;
        const ForeignImage& source = model.images[static_cast<size_t>(image)];
        placed.materials[k].texturePath = source.name;
        const bool carried = std::any_of(placed.embeddedTextures.begin(), placed.embeddedTextures.end(),
                                         [&](const EmbeddedTexture& t) { return t.name == source.name; });
        if (!carried) placed.embeddedTextures.push_back({source.name, source.bytes});
    }
    return placed;
}

Outcome MergeModelGeometry(const ForeignModel& model, const std::string& fileName, LoadedModel& out)
{
    out = {};
    LoadedModel merged;
    merged.textureScope = model.imageScope;
    const std::vector<NodeWorld> worlds = NodeWorldsOf(model, NodeTransformsAt(model, -1, 0.0));
    for (size_t i = 0; i < model.nodes.size(); ++i) {
        LoadedModel placed = NodeGeometry(model, i, worlds[i].full);
        // Each of the mesh's materials as a material of the merged list.
        std::vector<uint32_t> materialOf(placed.materials.size());
        for (size_t k = 0; k < placed.materials.size(); ++k) {
            size_t found = 0;
            while (found < merged.materials.size() && !SameMaterial(merged.materials[found], placed.materials[k]))
                ++found;
            if (found == merged.materials.size()) merged.materials.push_back(placed.materials[k]);
            materialOf[k] = static_cast<uint32_t>(found);
        }
        if (merged.materials.size() > kMaxMaterials)
            return Outcome::Failure(fileName + ": " + std::to_string(merged.materials.size()) +
                                    " different materials (a Part can have at most 128)");
        for (EmbeddedTexture& texture : placed.embeddedTextures) {
            const bool carried = std::any_of(merged.embeddedTextures.begin(), merged.embeddedTextures.end(),
                                             [&](const EmbeddedTexture& t) { return t.name == texture.name; });
            if (!carried) merged.embeddedTextures.push_back(std::move(texture));
        }
        const uint32_t base = static_cast<uint32_t>(merged.vertices.size());
        merged.vertices.insert(merged.vertices.end(), placed.vertices.begin(), placed.vertices.end());
        for (uint32_t index : placed.indices) merged.indices.push_back(base + index);
        for (uint32_t material : placed.triangleMaterials) merged.triangleMaterials.push_back(materialOf[material]);
    }
    out = std::move(merged);
    return Outcome();
}

}  // namespace m3d
