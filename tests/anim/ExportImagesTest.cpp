// Where the images of an export come from, and cancelling while they are encoded.
#include "anim/ExportGltfFile.h"
#include "anim/ExportReport.h"
#include "anim/ExportXFile.h"
#include "io/PathLookup.h"
#include "io/TaskProgress.h"
#include "support/GltfSampleScenes.h"
#include "support/OutcomeAssertions.h"
#include "support/ScriptedPrompt.h"
#include "support/TextureFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace m3d;

namespace {

// Answers questions from its script and asks to stop at the first report of progress.
class CancellingPrompt : public ScriptedPrompt, private TaskProgress {
public:
    TaskProgress* Progress() override { return this; }

private:
    bool Report(uint64_t, uint64_t) override { return false; }
};

}  // namespace

TEST(ExportImages, AnImageFromOutsideTheModelsAndTheProjectsFolderIsNamed)
{
    TempFolder root;
    for (const char* folder : {"models", "secret", "out"}) std::filesystem::create_directory(root.File(folder));
    TextureImage photo;
    photo.width = photo.height = 2;
    photo.rgba.assign(16, 90);
    ASSERT_TRUE(Succeeded(SaveTextureImage(photo, root.File("secret/photo.png"), ImageFormat::Png)));
    root.Write("models/m.mqo",
               "Metasequoia Document\nFormat Text Ver 1.0\n\nMaterial 1 {\n\t\"m\" col(1 1 1 1) "
               "tex(\"..\\\\secret\\\\photo.png\")\n}\nObject \"o\" {\n\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n"
               "\t\t0 1 0\n\t}\n\tface 1 {\n\t\t3 V(0 1 2) M(0) UV(0 0 1 0 0 1)\n\t}\n}\nEof\n");
    EditorSession session;
    Scene& scene = session.GetScene();
    scene.AddPartFromFile(root.File("models/m.mqo"));
    NewMotion(scene, "m");

    ScriptedPrompt prompt;
    const ExportXResult result = ExportXFile(scene, root.File("out/m.x"), kDefaultTimeScaleFactor, prompt);
    ASSERT_TRUE(result.written) << result.message;
    ASSERT_EQ(result.images.size(), 1u);
    const std::string source = CanonicalPath(root.File("secret/photo.png"));
    EXPECT_EQ(result.images[0].source, source);
    EXPECT_TRUE(result.images[0].outsideFolders);
    EXPECT_EQ(ExportWarning(result.textureProblems, result.images),
              "次の画像は、モデルとプロジェクトのフォルダーの外から取り込みました:\n" + source);
    // A project in the folder above both takes it in.
    scene.projectPath = root.File("p.anm");
    EXPECT_FALSE(ImageSourceOf(scene, *scene.MeshBase().GetTexture(0), "").outsideFolders);
}

TEST(ExportImages, TheDialogStartsBesideTheProjectWithItsNameAndTheMessageSaysWhereItWrote)
{
    Scene scene;
    const ExportDialogStart untitled = ExportDialogStartOf(scene, "/remembered", ".glb");
    EXPECT_EQ(untitled.directory, "/remembered");
    EXPECT_EQ(untitled.fileName, "");
    scene.projectPath = "/work/robot.v2.anm";
    const ExportDialogStart saved = ExportDialogStartOf(scene, "/remembered", ".x");
    EXPECT_EQ(saved.directory, "/work");
    EXPECT_EQ(saved.fileName, "robot.v2.x");
    EXPECT_EQ(ExportDoneMessage("/out/a.x", ""), "/out/a.x に書き出しました。");
    EXPECT_EQ(ExportDoneMessage("/out/a.x", "warning"), "/out/a.x に書き出しました。\n\nwarning");
}

TEST(ExportImages, CancellingWhileImagesAreEncodedWritesNothing)
{
    TempFolder models;
    TempFolder out;
    EditorSession session;
    BuildFigureSample(session, models);
    CancellingPrompt prompt;
    for (const char* name : {"a.gltf", "a.glb"}) {
        const ExportGltfResult result =
            ExportGltfFile(session.GetScene(), out.File(name), kDefaultGltfFramesPerSecond, prompt);
        EXPECT_TRUE(result.cancelled) << name;
        EXPECT_EQ(result.message, "") << name;
    }
    NewMotion(session.GetScene(), "m");
    EXPECT_TRUE(ExportXFile(session.GetScene(), out.File("a.x"), kDefaultTimeScaleFactor, prompt).cancelled);
    EXPECT_EQ(out.Names(), std::vector<std::string>{});
}
