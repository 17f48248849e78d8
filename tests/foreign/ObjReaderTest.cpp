// The OBJ reader: objects and groups as top-level nodes, welded corners,
// texture v turned downward, .mtl colours, and refusal of indices the file
// does not have.
#include "foreign/readers/ModelReaders.h"
#include "support/OutcomeAssertions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <set>
#include <tuple>

using namespace m3d;

namespace {

// Runs the read from another folder, so that a .mtl found there would be the wrong one.
Outcome ReadFromElsewhere(const std::string& path, ForeignModel& model, const TempFolder& elsewhere)
{
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(elsewhere.path);
    Outcome read = ReadObjModel(path, model);
    std::filesystem::current_path(before);
    return read;
}

Vec3 Position(const _MESH_VERTEX& v) { return {v.x, v.y, v.z}; }

// (v1 - v0) x (v2 - v0) of triangle t.
Vec3 FaceNormal(const LoadedModel& geometry, size_t t)
{
    const Vec3 a = Position(geometry.vertices[geometry.indices[3 * t]]);
    const Vec3 b = Position(geometry.vertices[geometry.indices[3 * t + 1]]);
    const Vec3 c = Position(geometry.vertices[geometry.indices[3 * t + 2]]);
    return Cross(b - a, c - a);
}

// A triangle without material, then a quad with one, both named with
// relative indices.
const char* const kTwoGroups =
    "mtllib parts.mtl\n"
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\n"
    "v 2 0 0\nv 3 0 0\nv 2 1 0\n"
    "g tri\n"
    "f -3 -2 -1\n"
    "o quad\nusemtl red\n"
    "f -7/-4/1 -6/-3/1 -5/-2/1 -4/-1/1\n";

}  // namespace

TEST(ObjReader, GroupsBecomeNodesWithWeldedVerticesFlippedUvAndMtlColours)
{
    TempFolder folder, elsewhere;
    folder.Write("model.obj", kTwoGroups);
    folder.Write("parts.mtl",
                 "newmtl red\nKd 1 0 0\nd 0.5\nKa 0.1 0.2 0.3\nKs 0.4 0.5 0.6\nKe 0 0 0.25\nNs 32\n"
                 "map_Kd tex/red.png\n");
    elsewhere.Write("parts.mtl", "newmtl red\nKd 0 1 0\n");
    ForeignModel model;
    ASSERT_TRUE(Succeeded(ReadFromElsewhere(folder.File("model.obj"), model, elsewhere)));

    EXPECT_EQ(model.format, "OBJ");
    ASSERT_EQ(model.nodes.size(), 2u);
    ASSERT_EQ(model.meshes.size(), 2u);
    EXPECT_EQ(model.nodes[0].name, "tri");
    EXPECT_EQ(model.nodes[1].name, "quad");
    for (size_t n = 0; n < 2; ++n) {
        EXPECT_EQ(model.nodes[n].parent, -1);
        EXPECT_EQ(model.nodes[n].mesh, int32_t(n));
        EXPECT_EQ(model.nodes[n].translation, Vec3{});
        EXPECT_EQ(model.nodes[n].scale, (Vec3{1, 1, 1}));
    }

    const LoadedModel& quad = model.meshes[1].geometry;
    ASSERT_EQ(quad.vertices.size(), 4u) << "the two triangles share their diagonal";
    ASSERT_EQ(quad.indices.size(), 6u);
    std::set<std::tuple<float, float, float, float, float>> corners;
    for (const _MESH_VERTEX& v : quad.vertices) {
        corners.insert({v.x, v.y, v.z, v.tu, v.tv});
        EXPECT_EQ((Vec3{v.nx, v.ny, v.nz}), (Vec3{0, 0, 1}));
    }
    const std::set<std::tuple<float, float, float, float, float>> expected = {
        {0, 0, 0, 0, 1}, {1, 0, 0, 1, 1}, {1, 1, 0, 1, 0}, {0, 1, 0, 0, 0}};
    EXPECT_EQ(corners, expected);
    for (size_t t = 0; t < 2; ++t) EXPECT_GT(FaceNormal(quad, t).z, 0.0f) << "counter-clockwise seen from +z";
    ASSERT_EQ(quad.materials.size(), 1u);
    const ModelMaterial& red = quad.materials[0];
    EXPECT_EQ(red.name, "red");
    using Rgba = std::array<float, 4>;
    const auto rgba = [](const ColorValue& c) { return Rgba{c.r, c.g, c.b, c.a}; };
    EXPECT_EQ(rgba(red.diffuse), (Rgba{1, 0, 0, 0.5f})) << "alpha from d";
    EXPECT_EQ(rgba(red.ambient), (Rgba{0.1f, 0.2f, 0.3f, 1}));
    EXPECT_EQ(rgba(red.specular), (Rgba{0.4f, 0.5f, 0.6f, 1}));
    EXPECT_EQ(rgba(red.emissive), (Rgba{0, 0, 0.25f, 1}));
    EXPECT_EQ(red.power, 32.0f);
    EXPECT_EQ(red.texturePath, "tex/red.png");
    EXPECT_EQ(quad.triangleMaterials, (std::vector<uint32_t>{0, 0}));

    const LoadedModel& tri = model.meshes[0].geometry;
    ASSERT_EQ(tri.vertices.size(), 3u);
    EXPECT_EQ(Position(tri.vertices[tri.indices[0]]), (Vec3{2, 0, 0}));
    EXPECT_EQ(Position(tri.vertices[tri.indices[1]]), (Vec3{3, 0, 0}));
    EXPECT_EQ(Position(tri.vertices[tri.indices[2]]), (Vec3{2, 1, 0}));
    EXPECT_EQ((Vec3{tri.vertices[0].nx, tri.vertices[0].ny, tri.vertices[0].nz}), Vec3{}) << "no normals in the file";
    ASSERT_EQ(tri.materials.size(), 1u);
    EXPECT_TRUE(tri.materials[0].texturePath.empty());
    EXPECT_NE(tri.materials[0].name, "red");
    EXPECT_TRUE(model.dropped.empty()) << model.dropped.front();
}

TEST(ObjReader, MissingMaterialLibraryIsNotedAndTheDefaultMaterialUsed)
{
    TempFolder folder;
    folder.Write("model.obj", kTwoGroups);
    ForeignModel model;
    ASSERT_TRUE(Succeeded(ReadObjModel(folder.File("model.obj"), model)));
    ASSERT_EQ(model.meshes.size(), 2u);
    EXPECT_TRUE(model.meshes[1].geometry.materials[0].texturePath.empty());
    ASSERT_FALSE(model.dropped.empty());
    EXPECT_NE(model.dropped[0].find("parts.mtl"), std::string::npos) << model.dropped[0];
}

TEST(ObjReader, IndicesOutsideTheListsRefuseTheFile)
{
    const char* const faces[] = {
        "f 1 2 9\n",           // position past the end
        "f 1 2 3 9\n",         // in a quad, which the triangulation would skip quietly
        "f -9 2 3\n",          // relative, before the start
        "f 1/1 2/1 3/7\n",     // texture coordinate past the end
        "f 1//1 2//1 3//4\n",  // normal past the end
    };
    for (const char* face : faces) {
        TempFolder folder;
        folder.Write("bad.obj", std::string("v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nvt 0 0\nvn 0 0 1\n") + face);
        ForeignModel model;
        const Outcome read = ReadObjModel(folder.File("bad.obj"), model);
        ASSERT_FALSE(read.Ok()) << face;
        EXPECT_EQ(read.Message().rfind(folder.File("bad.obj") + ": ", 0), 0u) << read.Message();
        EXPECT_TRUE(model.nodes.empty() && model.meshes.empty()) << face;
    }
}

TEST(ObjReader, SpiderHasAMeshPerGroupWithFacesAndEveryTriangle)
{
    const std::string path = std::string(M3D_ASSIMP_MODELS) + "/OBJ/spider.obj";
    // Counted from the text: groups that hold faces, and triangles per polygon.
    std::ifstream in(path);
    std::string line;
    size_t groupsWithFaces = 0, triangles = 0;
    bool faceSinceGroup = false;
    while (std::getline(in, line)) {
        if (line.rfind("g ", 0) == 0 || line.rfind("o ", 0) == 0) {
            faceSinceGroup = false;
        } else if (line.rfind("f ", 0) == 0) {
            size_t corners = 0;
            for (size_t i = 1; i < line.size(); ++i) corners += line[i - 1] == ' ' && line[i] != ' ' && line[i] != '\r';
            triangles += corners - 2;
            groupsWithFaces += !faceSinceGroup;
            faceSinceGroup = true;
        }
    }
    ForeignModel model;
    ASSERT_TRUE(Succeeded(ReadObjModel(path, model)));
    EXPECT_EQ(model.nodes.size(), groupsWithFaces);
    size_t read = 0;
    for (const ForeignMesh& mesh : model.meshes) {
        read += mesh.geometry.indices.size() / 3;
        EXPECT_EQ(mesh.geometry.triangleMaterials.size(), mesh.geometry.indices.size() / 3);
        for (const uint32_t index : mesh.geometry.indices) ASSERT_LT(index, mesh.geometry.vertices.size());
    }
    EXPECT_EQ(read, triangles);
    EXPECT_EQ(model.nodes[0].name, "HLeib01");
    EXPECT_EQ(model.meshes[0].geometry.materials[0].name, "HLeibTex");
    EXPECT_EQ(model.meshes[0].geometry.materials[0].texturePath, ".\\SpiderTex.jpg") << "as the .mtl writes it";
}
