#include "meshlib/CMesh.h"
#include "meshlib/MeshTestSupport.h"
#include "support/CliRun.h"
#include "support/OutcomeAssertions.h"

#include <gtest/gtest.h>

using namespace m3d;

using namespace meshtest;

namespace {

CliResult RunCli(const TempFolder& folder, const std::string& arguments)
{
    return m3d::RunCli(arguments, folder.File("stderr.txt"));
}

std::string SavedGrid(const TempFolder& folder)
{
    LoadedModel model = MakeGrid(3, 2, 2);
    model.materials[1].texturePath = "tex\\Skin.png";
    for (_MESH_VERTEX& v : model.vertices) v.y = 0.25f * v.x - 1.5f;  // y from -1.5 to -0.75
    CMesh mesh;
    EXPECT_TRUE(mesh.LoadModel(model, folder.File("grid.mqo"), 1.0f));
    const std::string path = folder.File("grid.mesh");
    EXPECT_TRUE(mesh.SaveMeshFile(path));
    return path;
}

TEST(MeshCli, InfoReportsCountsTexturesAndBox)
{
    TempFolder folder;
    const std::string path = SavedGrid(folder);
    CMesh mesh;
    ASSERT_TRUE(mesh.LoadObject(path, 1.0f));
    const CliResult r = RunCli(folder, "mesh-info " + Quote(path));
    EXPECT_EQ(r.exitCode, 0) << r.err;
    // The texture is not beside the model: said in the result and on stderr, not an outcome.Message().
    const std::string problem = "Skin.png: texture not found beside " + folder.path.string();
    EXPECT_EQ(r.out, "{\"vertices\":12,\"faces\":12,\"meshes\":" + std::to_string(mesh.GetMeshNum()) +
                         ",\"materials\":2,\"textures\":[\"Skin.png\"],"
                         "\"bbox\":{\"min\":[0,-1.5,0],\"max\":[3,-0.75,2]},\"textureProblems\":[\"" +
                         problem + "\"]}\n");
    EXPECT_EQ(r.err, "warning: 次のテクスチャは使えません: " + problem + "\n");
}

TEST(MeshCli, ConvertScalesAndMirrors)
{
    TempFolder folder;
    const std::string in = SavedGrid(folder);
    const std::string out = folder.File("out.mesh");
    const CliResult r = RunCli(folder, "mesh-convert " + Quote(in) + " " + Quote(out) + " --scale 2 --mirror");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"faces\":12"), std::string::npos) << r.out;
    CMesh original, converted;
    ASSERT_TRUE(original.LoadObject(in, 1.0f));
    ASSERT_TRUE(Succeeded(converted.LoadObject(out, 1.0f)));
    ASSERT_EQ(converted.GetVertexNum(), original.GetVertexNum());
    for (int i = 0; i < original.GetVertexNum(); ++i) {
        EXPECT_EQ(converted.GetVertex(i)->x, -2 * original.GetVertex(i)->x);
        EXPECT_EQ(converted.GetVertex(i)->y, 2 * original.GetVertex(i)->y);
    }
    EXPECT_NE(converted.GetMesh(0)->windingFlag, original.GetMesh(0)->windingFlag);
}

TEST(MeshCli, BadFilesAndMisuseFail)
{
    TempFolder folder;
    const std::string bad = folder.File("bad.mesh");
    std::ofstream(bad, std::ios::binary) << std::string("M3DMESH\0\x07\0\0\0", 12);
    CliResult r = RunCli(folder, "mesh-info " + Quote(bad));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_EQ(r.err, bad + ": byte 8: unsupported version 7 (this program reads version 1)\n");

    r = RunCli(folder, "mesh-convert " + Quote(bad) + " " + Quote(folder.File("o.mesh")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(bad), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.File("o.mesh")));

    const std::string good = SavedGrid(folder);
    r = RunCli(folder, "mesh-convert " + Quote(good) + " " + Quote(folder.File("o.mesh")) + " --scale 0");
    EXPECT_EQ(r.exitCode, 2);
    r = RunCli(folder, "mesh-convert " + Quote(good) + " " + Quote(folder.File("o.mesh")) + " --scale");
    EXPECT_EQ(r.exitCode, 2);
    r = RunCli(folder, "mesh-info");
    EXPECT_EQ(r.exitCode, 2);
    r = RunCli(folder, "mesh-convert " + Quote(good) + " " + Quote(folder.File("no/such/dir/o.mesh")));
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("o.mesh"), std::string::npos);
    // A scale that overflows the floats would write a file the reader refuses.
    r = RunCli(folder, "mesh-convert " + Quote(good) + " " + Quote(folder.File("o.mesh")) + " --scale -3e38");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find("beyond the float range"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(folder.File("o.mesh")));
}

}  // namespace
