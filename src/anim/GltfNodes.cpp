#include "anim/GltfAssembly.h"

#include "anim/GltfAxes.h"
#include "anim/XFileContentBuilder.h"
#include "anim/XMeshWriter.h"
#include "scene/Scene.h"

#include <algorithm>

namespace m3d {

namespace {

nlohmann::json Floats(std::initializer_list<float> values)
{
    nlohmann::json out = nlohmann::json::array();
    // + 0.0 writes a negative zero (a mirrored 0) as 0.
    for (float v : values) out.push_back(static_cast<double>(v) + 0.0);
    return out;
}

// The mesh of one Part; -1 when it has no faces.
int AddMesh(Scene& scene, const Part& part, GltfAssembly& assembly)
{
    const XMeshData data = ExportMeshData(scene, part.mesh.get());
    const std::vector<XFace> faces = XFaceList(data);
    const size_t vertexCount = data.vertices.size();
    // One triangle list per material; faces naming no material go last, without one.
    const size_t materialCount = data.materials.size();
    std::vector<std::vector<uint32_t>> corners(materialCount + 1);
    for (const XFace& face : faces) {
        if (face.corners[0] >= vertexCount || face.corners[1] >= vertexCount || face.corners[2] >= vertexCount)
            continue;
        const size_t slot = face.material >= 0 && static_cast<size_t>(face.material) < materialCount
                                ? static_cast<size_t>(face.material)
                                : materialCount;
        // The mirror into glTF's axes turns the editor's clockwise fronts counter-clockwise
        // only if the corners run the other way.
        corners[slot].insert(corners[slot].end(), {face.corners[0], face.corners[2], face.corners[1]});
    }
    if (std::all_of(corners.begin(), corners.end(), [](const auto& list) { return list.empty(); })) return -1;

    std::vector<float> positions, normals, texcoords;
    positions.reserve(vertexCount * 3);
    normals.reserve(vertexCount * 3);
    texcoords.reserve(vertexCount * 2);
    for (const _MESH_VERTEX& v : data.vertices) {
        const Vec3 p = GltfPoint({v.x, v.y, v.z}) * assembly.choices.lengthScale;
        const Vec3 n = GltfNormal({v.nx, v.ny, v.nz});
        positions.insert(positions.end(), {p.x, p.y, p.z});
        normals.insert(normals.end(), {n.x, n.y, n.z});
        texcoords.insert(texcoords.end(), {v.tu, v.tv});
    }
    const nlohmann::json attributes = {
        {"POSITION", assembly.buffer.AddFloats(positions, 3, GltfBuffer::kVertices, true)},
        {"NORMAL", assembly.buffer.AddFloats(normals, 3, GltfBuffer::kVertices, false)},
        {"TEXCOORD_0", assembly.buffer.AddFloats(texcoords, 2, GltfBuffer::kVertices, false)},
    };
    const std::vector<int> materials = AddGltfMaterials(scene, data, assembly);
    nlohmann::json primitives = nlohmann::json::array();
    for (size_t slot = 0; slot < corners.size(); ++slot) {
        if (corners[slot].empty()) continue;
        nlohmann::json primitive = {{"attributes", attributes},
                                    {"indices", assembly.buffer.AddIndices(corners[slot], vertexCount)}};
        if (slot < materialCount) primitive["material"] = materials[slot];
        primitives.push_back(std::move(primitive));
    }
    return AppendTo(assembly, "meshes", {{"name", part.displayName}, {"primitives", std::move(primitives)}});
}

}  // namespace

std::vector<int> AddGltfNodes(Scene& scene, GltfAssembly& assembly)
{
    std::vector<int> nodeOfPart(static_cast<size_t>(scene.PartCount()), -1);
    // The node of the latest entry at each depth: the parent of the next one deeper.
    std::vector<int> lastAtDepth;
    nlohmann::json topLevel = nlohmann::json::array();
    for (const TreeOrderEntry& entry : PartsInTreeOrder(scene)) {
        const Part& part = *scene.Parts()[entry.part];
        const Matrix4 rest = RestMatrixOf(scene, entry.part);
        const Vec3 t = GltfPoint(rest.Translation()) * assembly.choices.lengthScale;
        const Quaternion r = GltfRotation(rest);
        nlohmann::json node = {{"name", part.displayName},
                               {"translation", Floats({t.x, t.y, t.z})},
                               {"rotation", Floats({r.x, r.y, r.z, r.w})}};
        if (const int mesh = AddMesh(scene, part, assembly); mesh >= 0) node["mesh"] = mesh;
        const int index = AppendTo(assembly, "nodes", std::move(node));
        nodeOfPart[entry.part] = index;
        lastAtDepth.resize(static_cast<size_t>(entry.depth) + 1);
        lastAtDepth[entry.depth] = index;
        if (entry.depth == 0)
            topLevel.push_back(index);
        else
            assembly.root["nodes"][lastAtDepth[entry.depth - 1]]["children"].push_back(index);
    }
    assembly.root["scenes"] = nlohmann::json::array({{{"nodes", std::move(topLevel)}}});
    assembly.root["scene"] = 0;
    return nodeOfPart;
}

}  // namespace m3d
