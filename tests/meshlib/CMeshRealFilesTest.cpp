#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/MeshTestSupport.h"
#include "meshlib/MqoReader.h"
#include "meshlib/StripTriangles.h"
#include "support/OutcomeAssertions.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace m3d;

using namespace meshtest;

namespace {

std::string DataFile(const std::string& name) { return std::string(M3D_TEST_DATA_DIR) + "/mqo/" + name; }

std::vector<_MESH_MESHDATA> SubMeshes(const CMesh& mesh)
{
    std::vector<_MESH_MESHDATA> out;
    for (int k = 0; k < mesh.GetMeshNum(); ++k) out.push_back(*mesh.GetMesh(k));
    return out;
}

TEST(CMeshRealFiles, EveryModelLoadsIntoStripsHoldingExactlyItsTriangles)
{
    for (const char* name : {"texture.mqo", "mirrored_multiple_axes.mqo", "wild_dsan.mqo", "d-chan2.mqo", "d-chan3.mqo",
                             "autocsg_sample.mqo", "Plant1.mqo", "cylinder2.mqo"}) {
        SCOPED_TRACE(name);
        LoadedModel model;
        ASSERT_TRUE(Succeeded(ReadMqoFile(DataFile(name), model)));
        CMesh mesh;
        ASSERT_TRUE(Succeeded(mesh.LoadObject(DataFile(name), 1.0f)));
        const std::vector<DrawnTriangle> expected = ModelTriangles(model);
        EXPECT_EQ(mesh.GetFaceNum(), int(expected.size()));
        EXPECT_EQ(DecodeStrips(SubMeshes(mesh)), expected);
        EXPECT_EQ(mesh.GetVertexNum(), int(model.vertices.size()));
        EXPECT_EQ(mesh.GetMtrlNum(), int(model.materials.size()));
    }
}

TEST(CMeshRealFiles, TexturesAreFoundBesideTheModel)
{
    CMeshBase base;
    CMesh cube, figure;
    base.InitMesh(&cube, 1);
    base.InitMesh(&figure, 1);
    ASSERT_TRUE(Succeeded(cube.LoadObject(DataFile("texture.mqo"), 1.0f)));
    // This one names its texture by an absolute path of the machine it was made on.
    ASSERT_TRUE(Succeeded(figure.LoadObject(DataFile("wild_dsan.mqo"), 1.0f)));
    ASSERT_EQ(base.GetTextureNum(), 2);
    EXPECT_EQ(base.GetTexture(0)->name, "texture.png");
    EXPECT_GT(base.GetTexture(0)->image.width, 0);
    EXPECT_EQ(base.GetTexture(1)->name, "tex1.jpg");
    EXPECT_GT(base.GetTexture(1)->image.width, 0);
    EXPECT_EQ(cube.GetMtrl(0)->textureNumber, 0);
    EXPECT_EQ(cube.GetTexture(0)->index, 0);
}

TEST(CMeshRealFiles, ClosedModelMirrorsOutward)
{
    TempFolder folder;
    CMesh cylinder;
    ASSERT_TRUE(cylinder.LoadObject(DataFile("cylinder2.mqo"), 1.0f));
    auto outward = [](const CMesh& mesh) {
        std::vector<Vec3> positions;
        for (int i = 0; i < mesh.GetVertexNum(); ++i) positions.push_back(Position(*mesh.GetVertex(i)));
        const std::vector<_MESH_MESHDATA> subMeshes = SubMeshes(mesh);
        return OutwardSum(positions, [&](auto visit) {
            for (const _MESH_MESHDATA& m : subMeshes) ForEachStripTriangle(m, visit);
        });
    };
    ASSERT_GT(outward(cylinder), 0.0);
    ASSERT_TRUE(cylinder.SaveMirrorMeshFile(folder.File("mirror.mesh")));
    CMesh mirrored;
    ASSERT_TRUE(Succeeded(mirrored.LoadObject(folder.File("mirror.mesh"), 1.0f)));
    EXPECT_GT(outward(mirrored), 0.0);
    EXPECT_EQ(mirrored.GetFaceNum(), cylinder.GetFaceNum());
}

TEST(CMeshRealFiles, AMalformedModelNamesTheFile)
{
    TempFolder folder;
    const std::string path = folder.File("broken.mqo");
    std::ofstream(path) << "Metasequoia Document\nFormat Text Ver 1.0\nObject \"x\" {\n vertex 3 {\n";
    CMesh mesh;
    const Outcome outcome = mesh.LoadObject(path, 1.0f);
    EXPECT_FALSE(outcome);
    EXPECT_EQ(outcome.Message().rfind(path, 0), 0u) << outcome.Message();
    EXPECT_EQ(mesh.GetVertexNum(), 0);
}

}  // namespace
