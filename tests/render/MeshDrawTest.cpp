#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/MeshTestSupport.h"
#include "meshlib/TextureWriter.h"
#include "support/TextureFiles.h"
#include "render/RecordingDevice.h"
#include "support/MatrixMatchers.h"

#include <gtest/gtest.h>

#include <set>

using namespace m3d;

using namespace meshtest;

namespace {

constexpr uint32_t kColour = 0xFF12AB34;

// A registered mesh drawing into a recording device, placed away from the origin.
struct DrawFixture {
    RecordingDevice device;
    CMeshBase base;
    CMesh mesh;
    Matrix4 world;

    explicit DrawFixture(const LoadedModel& model, const std::string& path = "m.mqo")
    {
        base.Init(&device);
        base.InitMesh(&mesh, 1);
        EXPECT_TRUE(mesh.LoadModel(model, path, 1.0f)) << mesh.GetLastError();
        world = MatrixRotationX(0.3f);
        world.SetTranslation({4, 5, 6});
        mesh.SetMatrix(world);
        mesh.SetPosition({4, 5, 6});
    }

    // The one line draw of an overlay, checking it is drawn unlit, untextured,
    // in the mesh's world matrix, with lighting restored afterwards.
    const RecordedCall& OnlyLineDraw(RenderCall kind)
    {
        const auto draws = device.CallsOf(kind);
        EXPECT_EQ(draws.size(), 1u);
        const RecordedCall& draw = *draws.at(0);
        EXPECT_FALSE(draw.lighting);
        EXPECT_EQ(draw.texture, nullptr);
        EXPECT_TRUE(MatricesNear(draw.world, world, 0.0f));
        EXPECT_TRUE(device.calls.back().lighting);
        for (const LineVertex& v : draw.lines) EXPECT_EQ(v.color, kColour);
        return draw;
    }
};

Vec3 At(const LineVertex& v) { return {v.x, v.y, v.z}; }

TEST(MeshDraw, FacesDrawEachSubMeshAsAStripWithItsMaterialAndTexture)
{
    TempFolder folder;
    std::string error;
    TextureImage image;
    image.width = image.height = 1;
    image.rgba = {1, 2, 3, 4};
    ASSERT_TRUE(SaveTextureImage(image, folder.File("t.tga"), ImageFormat::Tga, error)) << error;
    LoadedModel model = MakeGrid(4, 4, 2);
    model.materials[1].texturePath = "t.tga";
    DrawFixture f(model, folder.File("m.mqo"));

    f.mesh.DrawMesh();
    const auto draws = f.device.CallsOf(RenderCall::DrawIndexedTriangleStrip);
    ASSERT_EQ(int(draws.size()), f.mesh.GetMeshNum());
    for (size_t k = 0; k < draws.size(); ++k) {
        const RecordedCall& d = *draws[k];
        const _MESH_MESHDATA& m = *f.mesh.GetMesh(int(k));
        EXPECT_EQ(d.indices, m.indices);
        EXPECT_EQ(d.baseVertex, m.baseVertex);
        EXPECT_EQ(d.firstReversed, m.windingFlag != 0);
        EXPECT_EQ(d.vertices, f.mesh.GetVertex(0));
        EXPECT_EQ(d.vertexCount, uint32_t(f.mesh.GetVertexNum()));
        EXPECT_TRUE(d.lighting);
        EXPECT_TRUE(MatricesNear(d.world, f.world, 0.0f));
        const _MESH_MATERIAL& mat = *f.mesh.GetMtrl(m.materialNumber);
        EXPECT_EQ(d.material.diffuse.r, mat.diffuse.r);
        EXPECT_EQ(d.material.power, mat.power);
        EXPECT_EQ(d.texture, m.materialNumber == 1 ? &f.base.GetTexture(0)->image : nullptr);
    }
    EXPECT_TRUE(f.device.CallsOf(RenderCall::DrawIndexedLineStrip).empty());
}

TEST(MeshDraw, EdgesDrawLineStripsOfTheSameIndices)
{
    DrawFixture f(MakeGrid(3, 2));
    f.mesh.SetPrimitiveType(MeshPrimitive::Edges);
    f.mesh.DrawMesh();
    const auto draws = f.device.CallsOf(RenderCall::DrawIndexedLineStrip);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->indices, f.mesh.GetMesh(0)->indices);
    EXPECT_TRUE(f.device.CallsOf(RenderCall::DrawIndexedTriangleStrip).empty());
    // An unknown type keeps the last one.
    f.mesh.SetPrimitiveType(4);
    f.mesh.DrawMesh();
    EXPECT_EQ(f.device.CallsOf(RenderCall::DrawIndexedLineStrip).size(), 2u);
}

TEST(MeshDraw, WithoutDeviceOrBaseNothingIsDrawn)
{
    CMesh loose;
    ASSERT_TRUE(loose.LoadModel(MakeGrid(1, 1), "m.mqo", 1.0f));
    loose.DrawMesh();
    loose.DrawBoundingBox(kColour);
    CMeshBase base;  // no device
    base.InitMesh(&loose, 1);
    loose.DrawMesh();
    loose.DrawNormal(1.0f, kColour);
    SUCCEED();
}

TEST(MeshDraw, BoundingBoxIsTheTwelveEdgesOfTheModelBox)
{
    LoadedModel model = MakeGrid(3, 2);  // x 0 ... 3, z 0 ... 2
    _MESH_VERTEX top;
    top.x = 1;
    top.y = 1;  // y 0 ... 1
    model.vertices.push_back(top);
    DrawFixture f(model);
    f.mesh.DrawBoundingBox(kColour);
    const RecordedCall& d = f.OnlyLineDraw(RenderCall::DrawLineList);
    ASSERT_EQ(d.lines.size(), 24u);
    std::set<std::pair<std::tuple<float, float, float>, std::tuple<float, float, float>>> edges;
    for (size_t i = 0; i < d.lines.size(); i += 2) {
        const Vec3 a = At(d.lines[i]), b = At(d.lines[i + 1]);
        const int differing = (a.x != b.x) + (a.y != b.y) + (a.z != b.z);
        EXPECT_LE(differing, 1);
        for (Vec3 p : {a, b}) {
            EXPECT_TRUE(p.x == 0 || p.x == 3);
            EXPECT_TRUE(p.y == 0 || p.y == 1);
            EXPECT_TRUE(p.z == 0 || p.z == 2);
        }
        auto key = [](Vec3 p) { return std::make_tuple(p.x, p.y, p.z); };
        edges.insert(std::minmax(key(a), key(b)));
    }
    EXPECT_EQ(edges.size(), 12u);
}

TEST(MeshDraw, NormalsRunFromEachVertexAlongItsNormal)
{
    DrawFixture f(MakeSphere(8, 5, 2.0f));
    f.mesh.DrawNormal(0.5f, kColour);
    const RecordedCall& d = f.OnlyLineDraw(RenderCall::DrawLineList);
    ASSERT_EQ(int(d.lines.size()), 2 * f.mesh.GetVertexNum());
    for (int i = 0; i < f.mesh.GetVertexNum(); ++i) {
        const _MESH_VERTEX& v = *f.mesh.GetVertex(i);
        EXPECT_EQ(At(d.lines[2 * i]), Position(v));
        EXPECT_TRUE(VectorsNear(At(d.lines[2 * i + 1]), Position(v) + Vec3{v.nx, v.ny, v.nz} * 0.5f, 1e-6f));
    }
}

TEST(MeshDraw, PivotIsThreeAxisLinesOfTheGivenSizeThroughTheOrigin)
{
    DrawFixture f(MakeGrid(1, 1));
    f.mesh.DrawPivotPoint(10.0f, kColour);
    const RecordedCall& d = f.OnlyLineDraw(RenderCall::DrawLineList);
    ASSERT_EQ(d.lines.size(), 6u);
    for (int axis = 0; axis < 3; ++axis) {
        const Vec3 a = At(d.lines[2 * axis]), b = At(d.lines[2 * axis + 1]);
        EXPECT_FLOAT_EQ(Length(b - a), 10.0f);
        EXPECT_EQ(a + b, (Vec3{0, 0, 0}));
        const float along[3] = {b.x - a.x, b.y - a.y, b.z - a.z};
        EXPECT_EQ(along[axis], 10.0f);
    }
}

TEST(MeshDraw, CollisionSphereEnclosesTheModel)
{
    DrawFixture f(MakeSphere(10, 6, 2.0f, {1, -3, 0.5f}));
    f.mesh.DrawCollision(kColour);
    const auto circles = f.device.CallsOf(RenderCall::DrawLineStrip);
    ASSERT_EQ(circles.size(), 3u);
    std::set<int> flatAxes;
    for (const RecordedCall* c : circles) {
        EXPECT_FALSE(c->lighting);
        EXPECT_TRUE(MatricesNear(c->world, f.world, 0.0f));
        ASSERT_GE(c->lines.size(), 9u);
        EXPECT_EQ(At(c->lines.front()), At(c->lines.back()));  // closed
        for (const LineVertex& v : c->lines) EXPECT_NEAR(Length(At(v) - Vec3{1, -3, 0.5f}), 2.0f, 1e-4f);
        for (int axis = 0; axis < 3; ++axis) {
            bool flat = true;
            for (const LineVertex& v : c->lines) flat &= (&v.x)[axis] == (&c->lines[0].x)[axis];
            if (flat) flatAxes.insert(axis);
        }
    }
    EXPECT_EQ(flatAxes, (std::set<int>{0, 1, 2}));
    EXPECT_TRUE(f.device.calls.back().lighting);
}

TEST(MeshDraw, ReleaseTellsTheDeviceToDropTextureCopies)
{
    TempFolder folder;
    std::string error;
    TextureImage image;
    image.width = image.height = 1;
    image.rgba = {9, 9, 9, 255};
    ASSERT_TRUE(SaveTextureImage(image, folder.File("t.png"), ImageFormat::Png, error)) << error;
    LoadedModel model = MakeGrid(1, 1);
    model.materials[0].texturePath = "t.png";
    DrawFixture f(model, folder.File("m.mqo"));
    const TextureImage* bound = &f.base.GetTexture(0)->image;
    f.base.Release();
    const auto released = f.device.CallsOf(RenderCall::ReleaseTexture);
    ASSERT_EQ(released.size(), 1u);
    EXPECT_EQ(released[0]->image, bound);
    f.device.calls.clear();
    f.mesh.DrawMesh();
    EXPECT_EQ(f.device.CallsOf(RenderCall::DrawIndexedTriangleStrip).at(0)->texture, nullptr);
}

}  // namespace
