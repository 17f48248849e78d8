#include "foreign/readers/AssimpMeshes.h"

#include "foreign/readers/FiniteValues.h"

#include <assimp/scene.h>

#include <cstdint>
#include <limits>

namespace m3d {

namespace {

// Whether the mesh's arrays are there for its counts and every number in them finite.
bool ArraysUsable(const aiMesh& mesh)
{
    if (mesh.mNumFaces > 0 && !mesh.mFaces) return false;
    if (mesh.mNumVertices == 0) return true;
    if (!mesh.mVertices) return false;
    const size_t floats = size_t(mesh.mNumVertices) * 3;
    return AllFinite(&mesh.mVertices[0].x, floats) && (!mesh.mNormals || AllFinite(&mesh.mNormals[0].x, floats)) &&
           (!mesh.mTextureCoords[0] || AllFinite(&mesh.mTextureCoords[0][0].x, floats));
}

}  // namespace

Outcome ConvertAssimpMeshes(const aiScene& scene, const std::vector<unsigned>& meshes, const AssimpMaterials& materials,
                            const std::string& path, ForeignMesh& out)
{
    out = {};
    LoadedModel& geometry = out.geometry;
    std::vector<int64_t> localMaterial(materials.materials.size(), -1);
    for (const unsigned index : meshes) {
        if (index >= scene.mNumMeshes || !scene.mMeshes || !scene.mMeshes[index])
            return Outcome::Failure(path + ": a node names mesh " + std::to_string(index) + ", which is not there");
        const aiMesh& mesh = *scene.mMeshes[index];
        const std::string name = mesh.mName.C_Str();
        if (out.name.empty()) out.name = name;
        if (!ArraysUsable(mesh))
            return Outcome::Failure(path + ": mesh '" + name + "' lacks an array or holds a number that is not finite");
        if (mesh.mMaterialIndex >= materials.materials.size())
            return Outcome::Failure(path + ": mesh '" + name + "' names a material that is not there");
        const size_t base = geometry.vertices.size();
        if (mesh.mNumVertices > std::numeric_limits<uint32_t>::max() - base)
            return Outcome::Failure(path + ": more vertices than a mesh can hold");
        bool anyTriangle = false;
        for (unsigned f = 0; f < mesh.mNumFaces; ++f) {
            const aiFace& face = mesh.mFaces[f];
            if (face.mNumIndices != 3) continue;
            if (!face.mIndices) return Outcome::Failure(path + ": a face of mesh '" + name + "' has no corners");
            for (unsigned k = 0; k < 3; ++k) {
                if (face.mIndices[k] >= mesh.mNumVertices)
                    return Outcome::Failure(path + ": a face of mesh '" + name + "' names a vertex that is not there");
                geometry.indices.push_back(uint32_t(base + face.mIndices[k]));
            }
            anyTriangle = true;
        }
        if (!anyTriangle) continue;
        int64_t& material = localMaterial[mesh.mMaterialIndex];
        if (material < 0) {
            material = int64_t(geometry.materials.size());
            geometry.materials.push_back(materials.materials[mesh.mMaterialIndex]);
            out.embeddedImages.push_back(materials.images[mesh.mMaterialIndex]);
        }
        geometry.triangleMaterials.resize(geometry.indices.size() / 3, uint32_t(material));
        for (unsigned v = 0; v < mesh.mNumVertices; ++v) {
            _MESH_VERTEX vertex;
            vertex.x = mesh.mVertices[v].x, vertex.y = mesh.mVertices[v].y, vertex.z = mesh.mVertices[v].z;
            if (mesh.mNormals)
                vertex.nx = mesh.mNormals[v].x, vertex.ny = mesh.mNormals[v].y, vertex.nz = mesh.mNormals[v].z;
            if (mesh.mTextureCoords[0])
                vertex.tu = mesh.mTextureCoords[0][v].x, vertex.tv = 1.0f - mesh.mTextureCoords[0][v].y;
            geometry.vertices.push_back(vertex);
        }
    }
    return {};
}

}  // namespace m3d
