#include "anim/GltfAxes.h"
#include "foreign/ForeignSpace.h"
#include "math/Quaternion.h"
#include "support/ForeignSamples.h"
#include "support/MatrixMatchers.h"

#include <gtest/gtest.h>

using namespace m3d;

// What the glTF export writes comes back as the numbers it was made from.
TEST(ForeignSpaceTest, UndoesTheGltfExportsMirror)
{
    const Matrix4 pose = MatrixRotationYawPitchRoll(0.3f, -0.7f, 1.1f);
    const Vec3 place{0.5f, -2.0f, 4.0f};
    ForeignModel model;
    const Vec3 written = GltfPoint(place);
    model.nodes.push_back({"n", -1, -1, written, GltfRotation(pose), {1, 1, 1}});
    model.meshes.push_back(TriangleMesh("t"));
    model.animations.push_back({"a",
                                {{0,
                                  ForeignPath::Translation,
                                  ForeignInterpolation::CubicSpline,
                                  {0},
                                  {0, 0, 1, written.x, written.y, written.z, 0, 0, 1}}}});
    ToEditorSpace(model, 2.0f);
    EXPECT_TRUE(MatricesNear(MatrixRotationQuaternion(model.nodes[0].rotation), pose, 1e-6f));
    EXPECT_EQ(model.nodes[0].translation, place * 2.0f);
    const std::vector<float> expected{0, 0, -2, place.x * 2, place.y * 2, place.z * 2, 0, 0, -2};
    EXPECT_EQ(model.animations[0].channels[0].values, expected);

    // The triangle faced +Z in the file; mirrored it faces -Z, and the editor's
    // own rule for the front, (v1 - v0) x (v2 - v0), must agree.
    const LoadedModel& g = model.meshes[0].geometry;
    const auto corner = [&](int k) {
        const _MESH_VERTEX& v = g.vertices[g.indices[static_cast<size_t>(k)]];
        return Vec3{v.x, v.y, v.z};
    };
    const Vec3 front = Cross(corner(1) - corner(0), corner(2) - corner(0));
    EXPECT_LT(front.z, 0.0f);
    EXPECT_EQ(g.vertices[0].nz, -1.0f);
}

TEST(ForeignSpaceTest, MissingNormalsComeFromTheFaces)
{
    ForeignModel model;
    model.meshes.push_back(TriangleMesh("t"));
    for (_MESH_VERTEX& v : model.meshes[0].geometry.vertices) v.nx = v.ny = v.nz = 0;
    ToEditorSpace(model, 1.0f);
    for (const _MESH_VERTEX& v : model.meshes[0].geometry.vertices) EXPECT_EQ(v.nz, -1.0f);
}
