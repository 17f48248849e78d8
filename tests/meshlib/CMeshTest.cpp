#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/MeshTestSupport.h"
#include "meshlib/StripTriangles.h"
#include "meshlib/TextureWriter.h"
#include "support/OutcomeAssertions.h"
#include "support/TextureFiles.h"
#include "support/MatrixMatchers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

using namespace m3d;

using namespace meshtest;

namespace {

std::vector<Vec3> Positions(const CMesh& mesh)
{
    std::vector<Vec3> out;
    for (int i = 0; i < mesh.GetVertexNum(); ++i) out.push_back(Position(*mesh.GetVertex(i)));
    return out;
}

std::vector<_MESH_MESHDATA> SubMeshes(const CMesh& mesh)
{
    std::vector<_MESH_MESHDATA> out;
    for (int k = 0; k < mesh.GetMeshNum(); ++k) out.push_back(*mesh.GetMesh(k));
    return out;
}

double MeshOutwardSum(const CMesh& mesh)
{
    const std::vector<_MESH_MESHDATA> subMeshes = SubMeshes(mesh);
    return OutwardSum(Positions(mesh), [&](auto visit) {
        for (const _MESH_MESHDATA& m : subMeshes) ForEachStripTriangle(m, visit);
    });
}

// Everything a saved file must give back, compared bit for bit.
void ExpectSameMesh(const CMesh& a, const CMesh& b)
{
    ASSERT_EQ(a.GetVertexNum(), b.GetVertexNum());
    for (int i = 0; i < a.GetVertexNum(); ++i)
        ASSERT_EQ(std::memcmp(a.GetVertex(i), b.GetVertex(i), sizeof(_MESH_VERTEX)), 0) << "vertex " << i;
    ASSERT_EQ(a.GetMeshNum(), b.GetMeshNum());
    for (int k = 0; k < a.GetMeshNum(); ++k) {
        EXPECT_EQ(a.GetMesh(k)->indices, b.GetMesh(k)->indices);
        EXPECT_EQ(a.GetMesh(k)->indexCount, b.GetMesh(k)->indexCount);
        EXPECT_EQ(a.GetMesh(k)->materialNumber, b.GetMesh(k)->materialNumber);
        EXPECT_EQ(a.GetMesh(k)->windingFlag, b.GetMesh(k)->windingFlag);
        EXPECT_EQ(a.GetMesh(k)->baseVertex, b.GetMesh(k)->baseVertex);
    }
    ASSERT_EQ(a.GetMtrlNum(), b.GetMtrlNum());
    for (int k = 0; k < a.GetMtrlNum(); ++k)
        EXPECT_EQ(std::memcmp(a.GetMtrl(k), b.GetMtrl(k), sizeof(_MESH_MATERIAL)), 0) << "material " << k;
    EXPECT_EQ(a.GetFaceNum(), b.GetFaceNum());
}

TextureImage Checker(int w, int h)
{
    TextureImage image;
    image.width = w;
    image.height = h;
    for (int i = 0; i < w * h; ++i)
        image.rgba.insert(image.rgba.end(), {uint8_t(i * 7), uint8_t(255 - i), uint8_t(i % 2 ? 255 : 0), 255});
    return image;
}

TEST(CMesh, LoadsAModelIntoStripsMaterialsAndCounts)
{
    LoadedModel grid = MakeGrid(6, 4, 2);
    grid.indices.insert(grid.indices.end(), {0, 0, 1});  // a triangle without area
    grid.triangleMaterials.push_back(0);
    CMesh mesh;
    ASSERT_TRUE(Succeeded(mesh.LoadModel(grid, "/models/grid.mqo", 1.0f)));
    EXPECT_EQ(mesh.GetVertexNum(), 35);
    EXPECT_EQ(mesh.GetFaceNum(), 48);
    EXPECT_EQ(mesh.GetMtrlNum(), 2);
    EXPECT_EQ(DecodeStrips(SubMeshes(mesh)), ModelTriangles(grid));
    const _MESH_MATERIAL* m = mesh.GetMtrl(1);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->diffuse.r, 0.1f);
    EXPECT_EQ(m->diffuse.g, 0.5f);
    EXPECT_EQ(m->ambient.r, 0.3f);
    EXPECT_EQ(m->specular.b, 0.3f);
    EXPECT_EQ(m->emissive.g, 0.05f);
    EXPECT_EQ(m->power, 7.5f);
    EXPECT_EQ(m->textureNumber, -1);
    EXPECT_EQ(mesh.GetVertex(35), nullptr);
    EXPECT_EQ(mesh.GetVertex(-1), nullptr);
    EXPECT_EQ(mesh.GetMesh(mesh.GetMeshNum()), nullptr);
    EXPECT_EQ(mesh.GetMtrl(2), nullptr);
    EXPECT_EQ(mesh.GetTexture(0), nullptr);
}

TEST(CMesh, FaceCountIsTheStripTrianglesLessTheJoints)
{
    LoadedModel two;
    two.vertices.resize(6);
    two.indices = {0, 1, 2, 3, 4, 5};
    two.triangleMaterials = {0, 0};
    two.materials = {PlainMaterial()};
    CMesh mesh;
    ASSERT_TRUE(mesh.LoadModel(two, "two.mqo", 1.0f));
    ASSERT_EQ(mesh.GetMeshNum(), 1);
    EXPECT_GT(mesh.GetMesh(0)->indexCount - 2, 2);
    EXPECT_EQ(mesh.GetFaceNum(), 2);
}

TEST(CMesh, RefusesBrokenModelsAndStaysEmpty)
{
    CMesh mesh;
    Outcome outcome;
    ASSERT_TRUE(mesh.LoadModel(MakeGrid(2, 2), "good.mqo", 1.0f));
    LoadedModel bad = MakeGrid(2, 2);
    bad.indices[4] = 99;
    EXPECT_FALSE((outcome = mesh.LoadModel(bad, "bad.mqo", 1.0f)));
    EXPECT_EQ(outcome.Message(), "bad.mqo: triangle 1: vertex 99 out of range (9 vertices)");
    EXPECT_EQ(mesh.GetVertexNum(), 0);
    EXPECT_EQ(mesh.GetMeshNum(), 0);
    EXPECT_EQ(mesh.GetFaceNum(), 0);

    bad = MakeGrid(2, 2);
    bad.triangleMaterials[3] = 1;
    EXPECT_FALSE((outcome = mesh.LoadModel(bad, "bad.mqo", 1.0f)));
    EXPECT_NE(outcome.Message().find("triangle 3: material 1 does not exist"), std::string::npos);

    bad = MakeGrid(2, 2);
    bad.vertices[2].y = std::nanf("");
    EXPECT_FALSE((outcome = mesh.LoadModel(bad, "bad.mqo", 1.0f)));
    EXPECT_NE(outcome.Message().find("vertex 2"), std::string::npos);

    bad = MakeGrid(2, 2);
    bad.materials.resize(129, PlainMaterial());
    EXPECT_FALSE((outcome = mesh.LoadModel(bad, "bad.mqo", 1.0f)));
    EXPECT_NE(outcome.Message().find("129 materials"), std::string::npos);

    EXPECT_FALSE(mesh.LoadModel(MakeGrid(2, 2), "zero.mqo", 0.0f));
}

TEST(CMesh, LoadObjectFailureNamesTheFileAndEmptiesTheMesh)
{
    TempFolder folder;
    CMesh mesh;
    Outcome outcome;
    ASSERT_TRUE(mesh.LoadModel(MakeGrid(2, 2), "good.mqo", 1.0f));
    const std::string missing = folder.File("missing.mesh");
    EXPECT_FALSE((outcome = mesh.LoadObject(missing, 1.0f)));
    EXPECT_NE(outcome.Message().find(missing), std::string::npos);
    EXPECT_EQ(mesh.GetVertexNum(), 0);

    ASSERT_TRUE(mesh.LoadModel(MakeGrid(2, 2), "good.mqo", 1.0f));
    const std::string path = folder.File("cut.mesh");
    ASSERT_TRUE(mesh.SaveMeshFile(path));
    std::filesystem::resize_file(path, 100);
    EXPECT_FALSE((outcome = mesh.LoadObject(path, 1.0f)));
    EXPECT_EQ(outcome.Message().rfind(path + ": byte ", 0), 0u) << outcome.Message();
    EXPECT_EQ(mesh.GetMeshNum(), 0);
}

TEST(CMesh, WorldMatrixTakesItsTranslationFromTheLastPosition)
{
    CMesh mesh;
    Matrix4 turn = MatrixRotationY(0.5f);
    turn.SetTranslation({5, 6, 7});
    mesh.SetPosition({1, 2, 3});
    mesh.SetMatrix(turn);
    Matrix4 expected = MatrixRotationY(0.5f);
    expected.SetTranslation({1, 2, 3});
    EXPECT_TRUE(MatricesNear(mesh.GetMatrix(), expected, 0.0f));
    mesh.SetPosition({-4, 0, 9});
    expected.SetTranslation({-4, 0, 9});
    EXPECT_TRUE(MatricesNear(mesh.GetMatrix(), expected, 0.0f));
    Vec3 position;
    mesh.GetPosition(position);
    EXPECT_EQ(position, (Vec3{-4, 0, 9}));
}

TEST(CMesh, SaveThenLoadGivesTheSameMeshBitForBit)
{
    TempFolder folder;
    LoadedModel sphere = MakeSphere(12, 8, 1.5f, {0.1f, -2, 3});
    sphere.materials[0].texturePath = "Skin.PNG";
    CMesh mesh;
    ASSERT_TRUE(mesh.LoadModel(sphere, folder.File("s.mqo"), 1.0f));
    const std::string path = folder.File("s.mesh");
    ASSERT_TRUE(Succeeded(mesh.SaveMeshFile(path)));
    CMeshBase base;
    CMesh back;
    base.InitMesh(&back, 1);
    ASSERT_TRUE(Succeeded(back.LoadObject(path, 1.0f)));
    ExpectSameMesh(mesh, back);
    ASSERT_EQ(base.GetTextureNum(), 1);
    EXPECT_EQ(base.GetTexture(0)->name, "Skin.PNG");
    EXPECT_EQ(back.GetTexture(0)->index, 0);
}

TEST(CMesh, LargeModelRoundTripsThroughAFile)
{
    TempFolder folder;
    const LoadedModel grid = MakeGrid(260, 260);  // 68,121 vertices
    CMesh mesh;
    ASSERT_TRUE(mesh.LoadModel(grid, "big.mqo", 1.0f));
    EXPECT_EQ(mesh.GetFaceNum(), 2 * 260 * 260);
    ASSERT_TRUE(mesh.SaveMeshFile(folder.File("big.mesh")));
    CMesh back;
    ASSERT_TRUE(Succeeded(back.LoadObject(folder.File("big.mesh"), 1.0f)));
    ExpectSameMesh(mesh, back);
}

TEST(CMesh, ScaleAppliesAtSetVBAndAccumulates)
{
    TempFolder folder;
    CMesh mesh;
    ASSERT_TRUE(mesh.LoadModel(MakeGrid(3, 3), "g.mqo", 2.0f));
    EXPECT_EQ(mesh.GetVertex(5)->x, 2.0f * 1);  // vertex (1, 1)
    EXPECT_EQ(mesh.GetVertex(5)->z, 2.0f * 1);
    mesh.SetScale(3, 3, 3);
    EXPECT_EQ(mesh.GetVertex(5)->x, 2.0f);  // not before the rebuild
    mesh.ReleaseVB();
    mesh.SetVB();
    EXPECT_EQ(mesh.GetVertex(5)->x, 6.0f);
    mesh.SetVB();  // the factor is used once
    EXPECT_EQ(mesh.GetVertex(5)->x, 6.0f);
    mesh.SetScale(0.5f, 0.5f, 0.5f);
    mesh.ReleaseVB();
    mesh.SetVB();
    EXPECT_EQ(mesh.GetVertex(5)->x, 3.0f);
    EXPECT_EQ(mesh.GetVertex(5)->ny, 1.0f);
    ASSERT_TRUE(mesh.SaveMeshFile(folder.File("g.mesh")));
    CMesh back;
    ASSERT_TRUE(back.LoadObject(folder.File("g.mesh"), 1.0f));
    EXPECT_EQ(back.GetVertex(15)->z, 9.0f);  // vertex (3, 3) saved scaled
}

TEST(CMesh, InsideOutScaleKeepsFacesOutward)
{
    CMesh mesh;
    ASSERT_TRUE(mesh.LoadModel(MakeSphere(16, 10, 1.0f, {2, 1, 0}), "s.mqo", 1.0f));
    ASSERT_GT(MeshOutwardSum(mesh), 0.0);
    mesh.SetScale(-1, 2, 1);
    mesh.ReleaseVB();
    mesh.SetVB();
    EXPECT_GT(MeshOutwardSum(mesh), 0.0);
    // The normal of the vertex at (2, 2, 0) (top pole, normal +Y) still points up.
    EXPECT_NEAR(mesh.GetVertex(0)->ny, 1.0f, 1e-6f);
    mesh.SetScale(0, 1, 1);  // refused
    mesh.SetVB();
    EXPECT_EQ(mesh.GetVertex(0)->y, 4.0f);
}

TEST(CMesh, MirrorFileIsTheMirrorImageFacingOutward)
{
    TempFolder folder;
    CMesh mesh;
    ASSERT_TRUE(mesh.LoadModel(MakeSphere(16, 10, 1.0f, {3, 1, -1}), "s.mqo", 1.0f));
    ASSERT_GT(MeshOutwardSum(mesh), 0.0);
    ASSERT_TRUE(mesh.SaveMirrorMeshFile(folder.File("m.mesh")));
    CMesh mirrored;
    ASSERT_TRUE(mirrored.LoadObject(folder.File("m.mesh"), 1.0f));
    ASSERT_EQ(mirrored.GetVertexNum(), mesh.GetVertexNum());
    for (int i = 0; i < mesh.GetVertexNum(); ++i) {
        EXPECT_EQ(mirrored.GetVertex(i)->x, -mesh.GetVertex(i)->x);
        EXPECT_EQ(mirrored.GetVertex(i)->nx, -mesh.GetVertex(i)->nx);
        EXPECT_EQ(mirrored.GetVertex(i)->y, mesh.GetVertex(i)->y);
        EXPECT_EQ(mirrored.GetVertex(i)->tu, mesh.GetVertex(i)->tu);
    }
    EXPECT_GT(MeshOutwardSum(mirrored), 0.0);
    EXPECT_EQ(mirrored.GetFaceNum(), mesh.GetFaceNum());
    // Mirroring the mirror gives back the original.
    ASSERT_TRUE(mirrored.SaveMirrorMeshFile(folder.File("mm.mesh")));
    CMesh again;
    ASSERT_TRUE(again.LoadObject(folder.File("mm.mesh"), 1.0f));
    ExpectSameMesh(mesh, again);
}

TEST(CMeshTextures, SharedByNameFoundIgnoringCaseAndSeparators)
{
    TempFolder folder;
    std::filesystem::create_directories(folder.path / "tex");
    ASSERT_TRUE(Succeeded(SaveTextureImage(Checker(4, 2), folder.File("tex/skin.png"), ImageFormat::Png)));

    CMeshBase base;
    CMesh a, b;
    base.InitMesh(&a, 1);
    base.InitMesh(&b, 1);
    LoadedModel model = MakeGrid(2, 2, 2);
    model.materials[1].texturePath = "TEX\\Skin.png";
    ASSERT_TRUE(a.LoadModel(model, folder.File("a.mqo"), 1.0f));
    model.materials[0].texturePath = "C:\\Users\\someone\\skin.png";  // another machine: falls back to the name
    model.materials[1].texturePath = "skin.png";
    ASSERT_TRUE(b.LoadModel(model, (folder.path / "tex" / "b.mqo").string(), 1.0f));

    ASSERT_EQ(base.GetTextureNum(), 2);
    EXPECT_EQ(base.GetTexture(0)->name, "Skin.png");
    EXPECT_EQ(base.GetTexture(0)->image.width, 4);
    EXPECT_EQ(base.GetTexture(0)->image.rgba, Checker(4, 2).rgba);
    EXPECT_EQ(base.GetTexture(1)->name, "skin.png");
    EXPECT_EQ(base.GetTexture(1)->image.height, 2);
    EXPECT_EQ(base.GetTexture(2), nullptr);
    EXPECT_EQ(a.GetMtrl(0)->textureNumber, -1);
    EXPECT_EQ(a.GetMtrl(1)->textureNumber, 0);
    EXPECT_EQ(a.GetTexture(0)->index, 0);
    // Both of b's materials name skin.png: one slot.
    EXPECT_EQ(b.GetMtrl(0)->textureNumber, 0);
    EXPECT_EQ(b.GetMtrl(1)->textureNumber, 0);
    EXPECT_EQ(b.GetTexture(1), nullptr);
    EXPECT_EQ(b.GetTexture(0)->index, 1);
}

TEST(CMeshTextures, UnreadableTextureLeavesAnEmptyImageAndTheModelIntact)
{
    TempFolder folder;
    std::ofstream(folder.File("broken.png")) << "not a png";
    CMeshBase base;
    CMesh mesh;
    base.InitMesh(&mesh, 1);
    LoadedModel model = MakeGrid(2, 2, 2);
    model.materials[0].texturePath = "broken.png";
    model.materials[1].texturePath = "absent.bmp";
    ASSERT_TRUE(Succeeded(mesh.LoadModel(model, folder.File("m.mqo"), 1.0f)));
    EXPECT_EQ(mesh.GetFaceNum(), 8);
    ASSERT_EQ(base.GetTextureNum(), 2);
    EXPECT_EQ(base.GetTexture(0)->image.width, 0);
    EXPECT_EQ(base.GetTexture(1)->image.width, 0);

    // Once the file is there, the next model that names it fills the entry.
    ASSERT_TRUE(Succeeded(SaveTextureImage(Checker(2, 2), folder.File("absent.bmp"), ImageFormat::Bmp)));
    CMesh other;
    base.InitMesh(&other, 1);
    ASSERT_TRUE(other.LoadModel(model, folder.File("m.mqo"), 1.0f));
    EXPECT_EQ(base.GetTextureNum(), 2);
    EXPECT_EQ(base.GetTexture(1)->image.width, 2);
}

TEST(CMeshTextures, LowerCasedNamesAreSavedAndReleaseDropsTheList)
{
    TempFolder folder;
    CMeshBase base;
    CMesh mesh;
    base.InitMesh(&mesh, 1);
    LoadedModel model = MakeGrid(1, 1);
    model.materials[0].texturePath = "Body.BMP";
    ASSERT_TRUE(mesh.LoadModel(model, folder.File("m.mqo"), 1.0f));
    base.GetTexture(0)->name = "body.bmp";
    ASSERT_TRUE(mesh.SaveMeshFile(folder.File("m.mesh")));

    base.Release();
    EXPECT_EQ(base.GetTextureNum(), 0);
    EXPECT_EQ(mesh.GetTexture(0)->index, -1);

    CMeshBase other;
    CMesh back;
    other.InitMesh(&back, 1);
    ASSERT_TRUE(back.LoadObject(folder.File("m.mesh"), 1.0f));
    ASSERT_EQ(other.GetTextureNum(), 1);
    EXPECT_EQ(other.GetTexture(0)->name, "body.bmp");
}

TEST(CMeshTextures, LongNamesAreShortenedKeepingTheExtension)
{
    CMeshBase base;
    CMesh mesh;
    base.InitMesh(&mesh, 1);
    LoadedModel model = MakeGrid(1, 1, 2);
    std::string longName;
    for (int i = 0; i < 40; ++i) longName += "肌";  // 80 Shift-JIS bytes
    model.materials[0].texturePath = "textures/" + longName + ".png";
    model.materials[1].texturePath = std::string(70, 'a') + ".tga";
    ASSERT_TRUE(mesh.LoadModel(model, "m.mqo", 1.0f));
    ASSERT_EQ(base.GetTextureNum(), 2);
    std::string expected;
    for (int i = 0; i < 28; ++i) expected += "肌";  // 56 bytes + ".png"
    EXPECT_EQ(base.GetTexture(0)->name, expected + ".png");
    EXPECT_EQ(base.GetTexture(1)->name, std::string(56, 'a') + ".tga");
}

TEST(CMeshBase, MeshesDeregisterWhenDestroyedAndSurviveTheirBase)
{
    auto base = std::make_unique<CMeshBase>();
    LoadedModel model = MakeGrid(1, 1);
    model.materials[0].texturePath = "x.png";
    {
        CMesh gone;
        base->InitMesh(&gone, 1);
        ASSERT_TRUE(gone.LoadModel(model, "m.mqo", 1.0f));
    }
    // The base must not reach the destroyed mesh (the sanitizer build sees it if it does).
    base->Release();
    EXPECT_EQ(base->GetTextureNum(), 0);

    CMesh survivor;
    base->InitMesh(&survivor, 1);
    ASSERT_TRUE(survivor.LoadModel(model, "m.mqo", 1.0f));
    EXPECT_EQ(survivor.GetTexture(0)->index, 0);
    base.reset();
    EXPECT_EQ(survivor.GetTexture(0)->index, -1);
    EXPECT_EQ(survivor.GetFaceNum(), 2);

    // Moving a mesh to another base takes it out of the first.
    CMeshBase first, second;
    CMesh moved;
    first.InitMesh(&moved, 1);
    second.InitMesh(&moved, 1);
    ASSERT_TRUE(moved.LoadModel(model, "m.mqo", 1.0f));
    EXPECT_EQ(first.GetTextureNum(), 0);
    EXPECT_EQ(second.GetTextureNum(), 1);
    first.RemoveMesh(&moved);  // not registered there: no effect
    EXPECT_EQ(moved.GetTexture(0)->index, 0);
}

}  // namespace
