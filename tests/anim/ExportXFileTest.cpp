#include "anim/ExportXFile.h"
#include "anim/MotionOperations.h"
#include "anim/PoseEvaluation.h"
#include "io/PathLookup.h"
#include "meshlib/LoadedModel.h"
#include "meshlib/TextureWriter.h"
#include "support/TextureFiles.h"
#include "scene/Scene.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"
#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "editor/OptionCommands.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// A closed tetrahedron with one material, textured when texture is given.
LoadedModel Tetrahedron(const std::string& texture = "")
{
    LoadedModel model;
    const float p[4][3] = {{0, 0, 0}, {0, 1, 0}, {1, 0, 0}, {0, 0, 1}};
    for (const auto& v : p) {
        _MESH_VERTEX vertex;
        vertex.x = v[0], vertex.y = v[1], vertex.z = v[2];
        model.vertices.push_back(vertex);
    }
    model.indices = {0, 1, 2, 0, 3, 1, 0, 2, 3, 1, 3, 2};
    model.triangleMaterials = {0, 0, 0, 0};
    model.materials.resize(1);
    model.materials[0].texturePath = texture;
    return model;
}

int AddSolid(Scene& scene, const TempFolder& folder, const std::string& name, const std::string& texture = "")
{
    scene.SelectTreeItem(scene.rootPart.treeItem);
    scene.AddPartFromFile(folder.File(name));
    scene.parts.back()->mesh->LoadModel(Tetrahedron(texture), folder.File(name), 1.0f);
    return scene.PartCount() - 1;
}

// The export with nobody to answer a question (any question is answered No).
ExportXResult ExportXFile(Scene& scene, const std::string& path, int factor)
{
    ScriptedPrompt prompt;
    return ExportXFile(scene, path, factor, prompt);
}

}  // namespace

TEST(ExportXFile, RefusesWithoutPartsMotionsOrAUsableTimeScale)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    const std::string path = folder.File("out.x");
    ExportXResult result = ExportXFile(scene, path, 200);
    EXPECT_TRUE(result.refused);
    EXPECT_EQ(result.message, "オブジェクトが存在しない");

    AddSolid(scene, folder, "a.mqo");
    result = ExportXFile(scene, path, 200);
    EXPECT_TRUE(result.refused);
    EXPECT_EQ(result.message, "モーションが存在しない");

    NewMotionCommand(session, "m");
    for (int factor : {0, 1001, -200}) {
        result = ExportXFile(scene, path, factor);
        EXPECT_TRUE(result.refused) << factor;
        EXPECT_FALSE(result.message.empty());
    }
    EXPECT_FALSE(folder.Exists("out.x"));
    for (int factor : {1, 1000}) EXPECT_TRUE(ExportXFile(scene, path, factor).written) << factor;
    EXPECT_EQ(std::string(kExportXCaption), "Export xfile");
}

TEST(ExportXFile, FailedWriteIsReportedWithTheFileAndKeepsAnOldFile)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddSolid(scene, folder, "a.mqo");
    NewMotionCommand(session, "m");
    const std::string missingFolder = folder.File("no such folder/out.x");
    ExportXResult result = ExportXFile(scene, missingFolder, 200);
    EXPECT_FALSE(result.written);
    EXPECT_TRUE(result.refused);  // found before anything was written
    EXPECT_NE(result.message.find(missingFolder), std::string::npos) << result.message;
    EXPECT_EQ(result.message.rfind("ファイルが書き込めない", 0), 0u) << result.message;
    EXPECT_EQ(folder.Names(), std::vector<std::string>{});
}

TEST(ExportXFile, CountsWhatItWrote)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddSolid(scene, folder, "a.mqo");
    AddSolid(scene, folder, "b.mqo");
    NewMotionCommand(session, "one");  // keys 0, 60
    NewMotionCommand(session, "two");
    SetKeyMatrix(scene, 1, 0, 10, MatrixRotationX(1));  // keys 0, 10, 60
    const ExportXResult result = ExportXFile(scene, folder.File("out.x"), 200);
    ASSERT_TRUE(result.written) << result.message;
    EXPECT_EQ(result.partCount, 2);
    EXPECT_EQ(result.motionCount, 2);
    EXPECT_EQ(result.animationKeyCount, 2 * 2 + 2 * 3);
    EXPECT_EQ(folder.Read("out.x").rfind("xof 0303txt 0032\r\n", 0), 0u);
}

TEST(ExportXFile, ShowsThePoseOfTheCurrentFrameAgain)
{
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    AddSolid(scene, folder, "a.mqo");
    NewMotionCommand(session, "first");
    NewMotionCommand(session, "second");
    Matrix4 key = MatrixRotationZ(0.8f);
    key.SetTranslation({0, 6, 0});
    SetKeyMatrix(scene, 0, 0, 10, key);
    session.SelectMotion(0);
    session.SetCurrentFrame(4);
    // An edit that was never keyed: the export leaves the evaluated pose instead.
    scene.parts[0]->localMatrix = MatrixRotationY(2.0f);
    scene.parts[0]->localPosition = {9, 9, 9};

    ScriptedPrompt prompt;
    ASSERT_TRUE(ExportXCommand(session, folder.File("out.x"), 200, prompt).written);
    TrackPose expected;
    ASSERT_TRUE(EvaluateTrack(scene.motions[0].tracks[0], 4, expected));
    EXPECT_EQ(scene.parts[0]->localMatrix, expected.localMatrix);
    EXPECT_EQ(scene.parts[0]->localPosition, expected.localPosition);
    EXPECT_EQ(session.CurrentMotion(), 0);
    EXPECT_EQ(session.CurrentFrame(), 4);
}

TEST(ExportXFile, SavesMissingTexturesBesideTheFileUnderLowerCaseNames)
{
    TempFolder models;
    TempFolder target;
    TextureImage image;
    image.width = 2;
    image.height = 1;
    image.rgba = {255, 0, 0, 255, 0, 255, 0, 255};
    std::string error;
    ASSERT_TRUE(SaveTextureImage(image, models.File("Skin.PNG"), ImageFormat::Png, error)) << error;
    ASSERT_TRUE(SaveTextureImage(image, models.File("Old.bmp"), ImageFormat::Bmp, error)) << error;

    EditorSession session;

    Scene& scene = session.GetScene();
    AddSolid(scene, models, "a.mqo", "Skin.PNG");
    AddSolid(scene, models, "b.mqo", "Old.bmp");
    NewMotionCommand(session, "m");
    target.Write("old.bmp", "keep");

    const ExportXResult result = ExportXFile(scene, target.File("model.x"), 200);
    ASSERT_TRUE(result.written) << result.message;
    EXPECT_TRUE(result.textureProblems.empty());
    ASSERT_EQ(result.images.size(), 1u);
    EXPECT_EQ(result.images[0].file, "skin.png");
    EXPECT_EQ(result.images[0].source, CanonicalPath(models.File("Skin.PNG")));
    EXPECT_FALSE(result.images[0].outsideFolders);
    ASSERT_TRUE(target.Exists("skin.png"));
    EXPECT_EQ(target.Read("skin.png").substr(1, 3), "PNG");
    EXPECT_EQ(target.Read("old.bmp"), "keep");
    const std::string text = target.Read("model.x");
    EXPECT_NE(text.find("\"skin.png\";"), std::string::npos);
    EXPECT_NE(text.find("\"old.bmp\";"), std::string::npos);
}
