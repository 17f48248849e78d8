#pragma once

#include "meshlib/CMesh.h"
#include "meshlib/LoadedModel.h"
#include "scene/Scene.h"
#include "support/TempFolder.h"

#include <cmath>
#include <string>

namespace m3d {

// Scenes for drawing and picking tests: closed shapes written as .mesh files
// and added as top-level Parts the way the program adds them.
namespace sceneparts {

inline ModelMaterial WhiteMaterial()
{
    ModelMaterial m;
    m.name = "white";
    m.diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
    m.ambient = {1.0f, 1.0f, 1.0f, 1.0f};
    return m;
}

// An axis-aligned box from low to high with outward faces (clockwise seen from
// outside, the library's front faces) and flat normals.
inline LoadedModel MakeBox(Vec3 low, Vec3 high)
{
    LoadedModel model;
    // Each face: outward normal and its four corners, clockwise seen from outside.
    struct Face {
        Vec3 normal;
        Vec3 corners[4];
    };
    const Vec3 l = low, h = high;
    const Face faces[6] = {
        {{0, 0, -1}, {{l.x, l.y, l.z}, {l.x, h.y, l.z}, {h.x, h.y, l.z}, {h.x, l.y, l.z}}},  // front (-Z)
        {{0, 0, 1}, {{h.x, l.y, h.z}, {h.x, h.y, h.z}, {l.x, h.y, h.z}, {l.x, l.y, h.z}}},   // back (+Z)
        {{-1, 0, 0}, {{l.x, l.y, h.z}, {l.x, h.y, h.z}, {l.x, h.y, l.z}, {l.x, l.y, l.z}}},  // left (-X)
        {{1, 0, 0}, {{h.x, l.y, l.z}, {h.x, h.y, l.z}, {h.x, h.y, h.z}, {h.x, l.y, h.z}}},   // right (+X)
        {{0, 1, 0}, {{l.x, h.y, l.z}, {l.x, h.y, h.z}, {h.x, h.y, h.z}, {h.x, h.y, l.z}}},   // top (+Y)
        {{0, -1, 0}, {{l.x, l.y, h.z}, {l.x, l.y, l.z}, {h.x, l.y, l.z}, {h.x, l.y, h.z}}},  // bottom (-Y)
    };
    for (const Face& f : faces) {
        const uint32_t first = static_cast<uint32_t>(model.vertices.size());
        for (const Vec3& c : f.corners) {
            _MESH_VERTEX v;
            v.x = c.x;
            v.y = c.y;
            v.z = c.z;
            v.nx = f.normal.x;
            v.ny = f.normal.y;
            v.nz = f.normal.z;
            model.vertices.push_back(v);
        }
        model.indices.insert(model.indices.end(), {first, first + 1, first + 2, first, first + 2, first + 3});
        model.triangleMaterials.insert(model.triangleMaterials.end(), {0, 0});
    }
    model.materials.push_back(WhiteMaterial());
    return model;
}

// Writes model as name.mesh in folder and adds it as a top-level Part; returns its index.
inline int AddModelPart(Scene& scene, const TempFolder& folder, const std::string& name, const LoadedModel& model)
{
    CMesh mesh;
    const std::string path = folder.File(name + ".mesh");
    if (!mesh.LoadModel(model, path, 1.0f) || !mesh.SaveMeshFile(path)) return -1;
    scene.SelectTreeItem(scene.rootPart.treeItem);
    const int added = scene.AddPartFromFile(path).index;
    scene.SelectTreeItem(scene.Parts()[added]->treeItem);
    return added;
}

inline int AddBoxPart(Scene& scene, const TempFolder& folder, const std::string& name, Vec3 centre, float half)
{
    const Vec3 d{half, half, half};
    return AddModelPart(scene, folder, name, MakeBox(centre - d, centre + d));
}

}  // namespace sceneparts

}  // namespace m3d
