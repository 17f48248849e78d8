#include "editor/EditorSession.h"
#include "editor/MotionCommands.h"
#include "io/PathLookup.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/PngEncoder.h"
#include "scene/RecoverySnapshot.h"
#include "scene/SnapshotCapture.h"
#include "scene/SnapshotRestore.h"
#include "support/OutcomeAssertions.h"
#include "support/SceneParts.h"
#include "support/TempFolder.h"
#include "support/TextureFiles.h"

#include <gtest/gtest.h>

#include <memory>

using namespace m3d;

namespace {

DocumentSnapshot TwoPartSnapshot()
{
    DocumentSnapshot snapshot;
    snapshot.info = {"123-456-abcdef01", "00ff00ff00ff00ff", "/home/a/robot.anm", "robot.anm", 1765380000, 2, 1, 345,
                     1765370000123456789};
    snapshot.project = std::string("project\0bytes", 13);
    snapshot.extras = "{}";
    snapshot.meshes = {std::make_shared<const std::string>("mesh one"), std::make_shared<const std::string>("two")};
    snapshot.textures = {{"skin.png", "/home/a/skin.png", nullptr},
                         {"inside.png", "", std::make_shared<const std::string>("\x89PNG")}};
    snapshot.parts = {{1, "/home/a"}, {-1, ""}};
    return snapshot;
}

}  // namespace

TEST(RecoverySnapshot, RoundTripsAndTheInfoReadsFromTheHeadAlone)
{
    const DocumentSnapshot snapshot = TwoPartSnapshot();
    const std::string bytes = EncodeSnapshot(snapshot);
    DocumentSnapshot read;
    ASSERT_TRUE(Succeeded(DecodeSnapshot(bytes, "s", read)));
    EXPECT_EQ(read.info.writer, snapshot.info.writer);
    EXPECT_EQ(read.info.originalPath, "/home/a/robot.anm");
    EXPECT_EQ(read.info.savedAt, 1765380000);
    EXPECT_EQ(read.info.originalModified, 1765370000123456789);
    EXPECT_EQ(read.info.originalSize, 345);
    EXPECT_EQ(read.project, snapshot.project);
    EXPECT_EQ(read.extras, "{}");
    ASSERT_EQ(read.meshes.size(), 2u);
    EXPECT_EQ(*read.meshes[1], "two");
    ASSERT_EQ(read.textures.size(), 2u);
    EXPECT_EQ(read.textures[0].source, "/home/a/skin.png");
    EXPECT_EQ(read.textures[0].png, nullptr);
    EXPECT_EQ(*read.textures[1].png, "\x89PNG");
    ASSERT_EQ(read.parts.size(), 2u);
    EXPECT_EQ(read.parts[0].mesh, 1);
    EXPECT_EQ(read.parts[0].textureFolder, "/home/a");
    EXPECT_EQ(read.parts[1].mesh, -1);

    // The head ends inside the project: the info is all there is to read.
    SnapshotInfo info;
    ASSERT_TRUE(Succeeded(DecodeSnapshotInfo(bytes.substr(0, bytes.find("project") + 3), "s", info)));
    EXPECT_EQ(info.documentId, "00ff00ff00ff00ff");
    EXPECT_EQ(info.parts, 2);
}

TEST(RecoverySnapshot, EveryPrefixAFlippedByteAnotherVersionAndTrailingBytesAreRefused)
{
    const std::string bytes = EncodeSnapshot(TwoPartSnapshot());
    DocumentSnapshot read;
    for (size_t n = 0; n < bytes.size(); ++n) {
        // A copy of its own, so that the address sanitizer sees a read past the prefix.
        const std::unique_ptr<char[]> prefix(new char[n + 1]);
        std::copy(bytes.begin(), bytes.begin() + long(n), prefix.get());
        EXPECT_FALSE(DecodeSnapshot(std::string_view(prefix.get(), n), "s", read).Ok()) << n;
    }
    for (size_t at = 12; at < bytes.size(); ++at) {
        std::string damaged = bytes;
        damaged[at] = char(damaged[at] ^ 0x20);
        EXPECT_FALSE(DecodeSnapshot(damaged, "s", read).Ok()) << at;
    }
    std::string version = bytes;
    version[8] = 2;
    EXPECT_NE(DecodeSnapshot(version, "s", read).Message().find("version 2"), std::string::npos);
    EXPECT_NE(DecodeSnapshot(bytes + "x", "s", read).Message().find("after the last section"), std::string::npos);
}

TEST(RecoverySnapshot, TexturesComeBackFromTheirFilesOrFromTheSnapshotWhenTheyCameInsideAModel)
{
    TempFolder models, elsewhere;
    TextureImage image;
    image.width = 2;
    image.height = 1;
    image.rgba = {255, 0, 0, 255, 0, 0, 255, 255};
    ASSERT_TRUE(Succeeded(SaveTextureImage(image, elsewhere.File("skin.png"), ImageFormat::Png)));
    EditorSession session;
    Scene& scene = session.GetScene();
    for (const std::string& texture : {elsewhere.File("skin.png"), std::string("inside.png")}) {
        LoadedModel model = sceneparts::MakeBox({0, 0, 0}, {1, 1, 1});
        model.materials[0].texturePath = texture;
        if (texture == "inside.png") model.embeddedTextures.push_back({texture, *EncodePng(image)});
        std::unique_ptr<CMesh> mesh = scene.NewMesh();
        ASSERT_TRUE(Succeeded(mesh->LoadModel(model, models.File(FileNameOf(texture) + ".glb"), 1.0f)));
        scene.AddPartWithMesh(models.File("box.glb"), std::move(mesh));
    }
    ASSERT_TRUE(NewMotionCommand(session, "m"));
    MeshBytesCache cache;
    DocumentCopy copy;
    CopyDocument(scene, {}, cache, copy);
    DocumentSnapshot laidOut, read;
    ASSERT_TRUE(Succeeded(LayOutSnapshot(std::move(copy), cache, laidOut)));
    ASSERT_TRUE(Succeeded(DecodeSnapshot(EncodeSnapshot(laidOut), "s", read)));

    EditorSession restored;
    const ProjectLoad load = RestoreSnapshot(restored.GetScene(), read, "s");
    ASSERT_TRUE(load.complete);
    EXPECT_EQ(load.outcome.Message(), "");
    const CMeshBase& base = restored.GetScene().MeshBase();
    ASSERT_EQ(base.GetTextureNum(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(base.GetTexture(i)->image.rgba, image.rgba) << base.GetTexture(i)->name;
        // One read from its file, the other kept with the mesh until a save writes it.
        EXPECT_EQ(base.GetTexture(i)->source, i == 0 ? CanonicalPath(elsewhere.File("skin.png")) : "");
    }
}
