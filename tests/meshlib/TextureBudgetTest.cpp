// The textures of one mesh manager share one memory budget, and loading them can be cancelled.
#include "io/TaskProgress.h"
#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/TextureWriter.h"
#include "support/OutcomeAssertions.h"
#include "support/TextureFiles.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// A model of three triangles, each of a material with one of the textures a.png, b.png and c.png
// (64 x 64 pixels, written beside it).
std::string WriteThreeTextures(const TempFolder& folder)
{
    TextureImage image;
    image.width = image.height = 64;
    image.rgba.assign(64 * 64 * 4, 200);
    std::string text = "Metasequoia Document\nFormat Text Ver 1.0\n\nMaterial 3 {\n";
    for (const char* name : {"a.png", "b.png", "c.png"}) {
        EXPECT_TRUE(Succeeded(SaveTextureImage(image, folder.File(name), ImageFormat::Png)));
        text += "\t\"" + std::string(name) + "\" col(1 1 1 1) tex(\"" + name + "\")\n";
    }
    text += "}\nObject \"o\" {\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n\tface 3 {\n";
    for (int m = 0; m < 3; ++m) text += "\t\t3 V(0 1 2) M(" + std::to_string(m) + ") UV(0 0 1 0 0 1)\n";
    folder.Write("model.mqo", text + "\t}\n}\nEof\n");
    return folder.File("model.mqo");
}

// Asks to stop at its first report.
class StopAtOnce : public TaskProgress {
public:
    bool Report(uint64_t, uint64_t) override { return false; }
};

}  // namespace

TEST(TextureBudget, AnImagePastTheBudgetIsRefusedFromItsHeaderAndNamedOnce)
{
    TempFolder folder;
    const std::string model = WriteThreeTextures(folder);
    CMeshBase base;
    // Two images held (32 KB) leave 16 KB; decoding the third takes 32 KB.
    base.SetTextureBudget(3 * 64 * 64 * 4);
    CMesh mesh;
    base.InitMesh(&mesh, 1);
    ASSERT_TRUE(Succeeded(mesh.LoadObject(model, 1.0f)));
    EXPECT_EQ(base.TextureBytes(), uint64_t(2 * 64 * 64 * 4));
    const std::vector<const _MESHBASE_TEXTURE*> problems = base.TakeNewTextureProblems();
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0]->name, "c.png");
    EXPECT_EQ(problems[0]->problem,
              folder.File("c.png") + ": 64 x 64 pixels need 32 KB to decode; the texture memory has 16 KB left");
    EXPECT_TRUE(base.TakeNewTextureProblems().empty());
    EXPECT_EQ(base.TextureProblems().size(), 1u);
}

TEST(TextureBudget, ACancelledLoadLeavesTheRestWithoutImageAndSaysSo)
{
    TempFolder folder;
    const std::string model = WriteThreeTextures(folder);
    CMeshBase base;
    StopAtOnce stop;
    base.SetTaskProgress(&stop);
    CMesh mesh;
    base.InitMesh(&mesh, 1);
    ASSERT_TRUE(Succeeded(mesh.LoadObject(model, 1.0f)));
    const std::vector<const _MESHBASE_TEXTURE*> problems = base.TextureProblems();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0]->problem, "b.png: not loaded (cancelled)");
    EXPECT_EQ(problems[1]->problem, "c.png: not loaded (cancelled)");
}
