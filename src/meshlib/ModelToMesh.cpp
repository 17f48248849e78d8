#include "meshlib/ModelToMesh.h"

#include "meshlib/Stripifier.h"
#include "meshlib/TextureName.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

bool Finite(const ColorValue& c)
{
    return std::isfinite(c.r) && std::isfinite(c.g) && std::isfinite(c.b) && std::isfinite(c.a);
}

Outcome CheckModel(const LoadedModel& model, const std::string& fileName)
{
    auto fail = [&](const std::string& place, const std::string& reason) {
        return Outcome::Failure(fileName + ": " + place + ": " + reason);
    };
    const size_t triangles = model.indices.size() / 3;
    if (model.indices.size() % 3 != 0)
        return fail("faces", std::to_string(model.indices.size()) + " indices are not whole triangles");
    if (model.triangleMaterials.size() != triangles)
        return fail("faces", std::to_string(model.triangleMaterials.size()) + " material numbers for " +
                                 std::to_string(triangles) + " triangles");
    if (model.materials.size() > kMaxMaterials)
        return fail("materials", std::to_string(model.materials.size()) + " materials (at most 128 are supported)");
    for (size_t i = 0; i < model.vertices.size(); ++i) {
        const _MESH_VERTEX& v = model.vertices[i];
        for (float f : {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.tu, v.tv})
            if (!std::isfinite(f)) return fail("vertex " + std::to_string(i), "a value is not a finite number");
    }
    for (size_t t = 0; t < triangles; ++t) {
        for (int k = 0; k < 3; ++k)
            if (model.indices[3 * t + k] >= model.vertices.size())
                return fail("triangle " + std::to_string(t), "vertex " + std::to_string(model.indices[3 * t + k]) +
                                                                 " out of range (" +
                                                                 std::to_string(model.vertices.size()) + " vertices)");
        if (model.triangleMaterials[t] >= model.materials.size())
            return fail("triangle " + std::to_string(t),
                        "material " + std::to_string(model.triangleMaterials[t]) + " does not exist");
    }
    for (size_t m = 0; m < model.materials.size(); ++m) {
        const ModelMaterial& mat = model.materials[m];
        if (!Finite(mat.diffuse) || !Finite(mat.ambient) || !Finite(mat.specular) || !Finite(mat.emissive) ||
            !std::isfinite(mat.power))
            return fail("material " + std::to_string(m), "a value is not a finite number");
    }
    return Outcome();
}

}  // namespace

Outcome BuildMeshContent(const LoadedModel& model, const std::string& fileName, MeshContent& out,
                         std::vector<std::string>& texturePaths)
{
    if (Outcome checked = CheckModel(model, fileName); !checked) return checked;

    MeshContent content;
    std::vector<std::string> paths;
    for (const ModelMaterial& source : model.materials) {
        _MESH_MATERIAL& m = content.materials.emplace_back();
        m.diffuse = source.diffuse;
        m.ambient = source.ambient;
        m.specular = source.specular;
        m.emissive = source.emissive;
        m.power = source.power;
        const std::string name = source.texturePath.empty() ? std::string() : TextureNameForPath(source.texturePath);
        if (name.empty()) continue;
        auto slot = std::find(content.textureNames.begin(), content.textureNames.end(), name);
        if (slot == content.textureNames.end()) {
            content.textureNames.push_back(name);
            paths.push_back(source.texturePath);
            slot = content.textureNames.end() - 1;
        }
        m.textureNumber = int16_t(slot - content.textureNames.begin());
    }

    StripifiedGeometry strips = Stripify(model.vertices, model.indices, model.triangleMaterials);
    content.vertices = std::move(strips.vertices);
    content.subMeshes = std::move(strips.subMeshes);
    out = std::move(content);
    texturePaths = std::move(paths);
    return Outcome();
}

}  // namespace m3d
