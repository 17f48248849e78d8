#include "anim/MotionOperations.h"
#include "io/FileSetWriter.h"
#include "meshlib/TextureWriter.h"
#include "support/OutcomeAssertions.h"
#include "support/TextureFiles.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "scene/TextureOutput.h"
#include "support/SceneFixtures.h"
#include "support/ScriptedPrompt.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// A Part whose material uses the texture textureName, which exists (as an
// image) only beside the object file in source.
void AddTexturedCube(Scene& scene, const TempFolder& source, const std::string& textureName, const std::string& file)
{
    TextureImage image;
    image.width = 2;
    image.height = 2;
    image.rgba = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    ASSERT_TRUE(Succeeded(SaveTextureImage(image, source.File(textureName), ImageFormat::Png)));
    source.Write(file, CubeObjectFile(1.0f, textureName));
    SelectPart(scene, -1);
    ASSERT_EQ(scene.AddPartFromFile(source.File(file)).loaded.Message(), "");
}

}  // namespace

TEST(TextureOutput, MissingTexturesAreWrittenUnderLowerCaseNamesInTheFormatTheNameSays)
{
    TempFolder source;
    TempFolder target;
    EditorSession session;
    Scene& scene = session.GetScene();
    ScriptedPrompt prompt;
    AddTexturedCube(scene, source, "Skin.PNG", "body.mesh");
    AddTexturedCube(scene, source, "Pic.BMP.png", "head.mesh");
    AddTexturedCube(scene, source, "cloth.gif", "legs.mesh");
    NewMotionCommand(session, "m");
    ASSERT_GE(scene.MeshBase().GetTextureNum(), 3);

    const Outcome saved = SaveProject(scene, target.File("p.anm"), prompt).outcome;
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved.Message(), "");
    EXPECT_EQ(target.Read("skin.png").substr(0, 4), "\x89PNG");
    EXPECT_FALSE(target.Exists("Skin.PNG"));
    // ".bmp" is looked for before ".png", wherever it stands in the name.
    EXPECT_EQ(target.Read("pic.bmp.png").substr(0, 2), "BM");
    EXPECT_FALSE(target.Exists("cloth.gif"));
    // The mesh manager keeps the lower-case name.
    bool lowerCaseKept = false;
    for (int i = 0; i < scene.MeshBase().GetTextureNum(); ++i)
        if (scene.MeshBase().GetTexture(i) && scene.MeshBase().GetTexture(i)->name == "skin.png") lowerCaseKept = true;
    EXPECT_TRUE(lowerCaseKept);
}

TEST(TextureOutput, ExistingFilesAreLeftAlone)
{
    TempFolder source;
    TempFolder target;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddTexturedCube(scene, source, "skin.png", "body.mesh");
    AddTexturedCube(scene, source, "face.png", "head.mesh");
    target.Write("skin.png", "mine");
    const std::vector<TextureOutput> plan = PlanMissingTextures(scene, target.path);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0].path, target.File("face.png"));
    // One that appears while the others are written is not replaced either.
    FileSetWriter set;
    ASSERT_TRUE(Succeeded(StageTextures(plan, set, nullptr)));
    target.Write("face.png", "theirs");
    ASSERT_TRUE(Succeeded(set.Commit()));
    EXPECT_EQ(target.Read("skin.png"), "mine");
    EXPECT_EQ(target.Read("face.png"), "theirs");
}
