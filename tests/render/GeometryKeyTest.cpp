#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/MeshTestSupport.h"
#include "render/RecordingDevice.h"

#include <gtest/gtest.h>

using namespace m3d;

using namespace meshtest;

namespace {

// The key every indexed draw of one DrawMesh carried.
GeometryKey KeyOfDraws(RecordingDevice& device, CMesh& mesh)
{
    device.calls.clear();
    mesh.DrawMesh();
    const auto strips = device.CallsOf(RenderCall::DrawIndexedTriangleStrip);
    EXPECT_FALSE(strips.empty());
    for (const RecordedCall* c : strips) EXPECT_EQ(c->geometry.version, strips[0]->geometry.version);
    // Draws of others after this mesh must not be taken for its geometry.
    EXPECT_EQ(device.calls.back().geometry.owner, nullptr);
    return strips.empty() ? GeometryKey{} : strips[0]->geometry;
}

TEST(GeometryKey, StaysWhileTheGeometryStaysAndChangesWithIt)
{
    RecordingDevice device;
    CMeshBase base;
    base.Init(&device);
    CMesh a, b;
    base.InitMesh(&a, 1);
    base.InitMesh(&b, 1);
    ASSERT_TRUE(a.LoadModel(MakeGrid(3, 2, 2), "a.mqo", 1.0f));
    ASSERT_TRUE(b.LoadModel(MakeGrid(3, 2, 2), "b.mqo", 1.0f));

    const GeometryKey first = KeyOfDraws(device, a);
    EXPECT_EQ(first.owner, &a);
    EXPECT_NE(first.version, 0u);
    // Moving the mesh or changing how it is drawn keeps the arrays.
    a.SetPosition({1, 2, 3});
    a.SetPrimitiveType(MeshPrimitive::Edges);
    a.SetPrimitiveType(MeshPrimitive::Faces);
    EXPECT_EQ(KeyOfDraws(device, a).version, first.version);
    // Two meshes with equal content never share a key.
    const GeometryKey other = KeyOfDraws(device, b);
    EXPECT_NE(other.owner, first.owner);
    EXPECT_NE(other.version, first.version);

    // Scaling rewrites the vertices; an unchanged scale does not.
    a.SetScale(1, 1, 1);
    a.ReleaseVB();
    a.SetVB();
    EXPECT_EQ(KeyOfDraws(device, a).version, first.version);
    a.SetScale(2, 2, 2);
    a.ReleaseVB();
    a.SetVB();
    const GeometryKey scaled = KeyOfDraws(device, a);
    EXPECT_NE(scaled.version, first.version);
    // Loading again gives a new version even for the same model.
    ASSERT_TRUE(a.LoadModel(MakeGrid(3, 2, 2), "a.mqo", 1.0f));
    EXPECT_NE(KeyOfDraws(device, a).version, scaled.version);
}

TEST(GeometryKey, ADestroyedMeshIsForgotten)
{
    RecordingDevice device;
    CMeshBase base;
    base.Init(&device);
    const void* address = nullptr;
    {
        CMesh mesh;
        base.InitMesh(&mesh, 1);
        ASSERT_TRUE(mesh.LoadModel(MakeGrid(1, 1), "m.mqo", 1.0f));
        address = &mesh;
        device.calls.clear();
    }
    const auto forgotten = device.CallsOf(RenderCall::ForgetGeometry);
    ASSERT_EQ(forgotten.size(), 1u);
    EXPECT_EQ(forgotten[0]->owner, address);
}

}  // namespace
