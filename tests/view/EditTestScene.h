#pragma once

#include "meshlib/CMesh.h"
#include "meshlib/LoadedModel.h"
#include "scene/Scene.h"
#include "support/OutcomeAssertions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>

namespace m3d {

// Scenes of generated models for the editing tests: each model is written as a
// .mesh file into a temporary folder and added the way the program adds a Part.

// An axis-aligned box from low to high, faces outward (clockwise seen from outside).
inline LoadedModel BoxModel(Vec3 low, Vec3 high)
{
    LoadedModel model;
    for (int i = 0; i < 8; ++i) {
        _MESH_VERTEX v;
        v.x = (i & 1) ? high.x : low.x;
        v.y = (i & 2) ? high.y : low.y;
        v.z = (i & 4) ? high.z : low.z;
        model.vertices.push_back(v);
    }
    // Each quad a, b, c, d runs clockwise as seen from outside.
    const uint32_t quads[6][4] = {{0, 2, 3, 1}, {5, 7, 6, 4}, {4, 6, 2, 0}, {1, 3, 7, 5}, {2, 6, 7, 3}, {4, 0, 1, 5}};
    for (const auto& q : quads) {
        for (uint32_t k : {q[0], q[1], q[2], q[0], q[2], q[3]}) model.indices.push_back(k);
        model.triangleMaterials.insert(model.triangleMaterials.end(), 2, 0);
    }
    model.materials.resize(1);
    return model;
}

// A cube of edge 2 * half centred on the model's origin.
inline LoadedModel CubeModel(float half) { return BoxModel({-half, -half, -half}, {half, half, half}); }

// Adds model as a Part under Part parent (-1: top level) at localPosition and
// returns its index.
inline int AddModelPart(Scene& scene, const TempFolder& folder, const LoadedModel& model, int parent,
                        Vec3 localPosition = {}, const std::string& name = "part")
{
    const std::string path = folder.File(name + std::to_string(scene.PartCount()) + ".mesh");
    CMesh mesh;
    EXPECT_TRUE(Succeeded(mesh.LoadModel(model, path, 1.0f)));
    EXPECT_TRUE(Succeeded(mesh.SaveMeshFile(path)));
    scene.SelectTreeItem(parent < 0 ? scene.rootPart.treeItem : scene.Parts()[parent]->treeItem);
    scene.AddPartFromFile(path);
    const int index = scene.PartCount() - 1;
    scene.Parts()[index]->localPosition = localPosition;
    scene.UpdateHierarchy(0);
    return index;
}

inline void SelectPart(Scene& scene, int index)
{
    scene.SelectTreeItem(index < 0 ? scene.rootPart.treeItem : scene.Parts()[index]->treeItem);
}

inline Vec3 WorldPosition(const Scene& scene, int index) { return scene.WorldMatrixOf(index).Translation(); }

// Row r of a matrix's rotation: where the Part's axis r points in the world.
inline Vec3 AxisOf(const Matrix4& m, int r) { return {m.m[r][0], m.m[r][1], m.m[r][2]}; }

}  // namespace m3d
