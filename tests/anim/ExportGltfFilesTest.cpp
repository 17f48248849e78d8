// A .gltf export and the files beside it are replaced as one set.
#include "anim/ExportGltfFile.h"
#include "anim/MotionOperations.h"
#include "io/PathLookup.h"
#include "support/ResourceLimits.h"
#include "support/GltfSampleScenes.h"
#include "support/ScriptedPrompt.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <sys/stat.h>

using namespace m3d;

namespace {

// The figure sample (its torso textured with 肌.png) and a folder to export into.
struct Figure {
    TempFolder models;
    TempFolder out;
    EditorSession session;
    ScriptedPrompt prompt;

    Figure() { BuildFigureSample(session, models); }
    ExportGltfResult Export(const std::string& name)
    {
        return ExportGltfFile(session.GetScene(), out.File(name), kDefaultGltfFramesPerSecond, prompt);
    }
    // Every file of the export folder and its bytes.
    std::map<std::string, std::string> Files() const
    {
        std::map<std::string, std::string> files;
        for (const std::string& name : out.Names())
            if (!std::filesystem::is_directory(out.File(name))) files[name] = out.Read(name);
        return files;
    }
    // A change that alters every file of the next export but the image.
    void ChangeTheMotion() { SetKeyMatrix(session.GetScene(), 0, 0, 5, SampleKey(1.0f, 0.5f, {1, 2, 3})); }
};

}  // namespace

TEST(ExportGltfFiles, ItsOwnSideFilesAreReplacedWithoutAQuestionOthersAfterOne)
{
    Figure f;
    ExportGltfResult result = f.Export("a.gltf");
    ASSERT_TRUE(result.written) << result.message;
    EXPECT_EQ(f.out.Names(), (std::vector<std::string>{"a.bin", "a.gltf", "a_肌.png"}));
    ASSERT_EQ(result.images.size(), 1u);
    EXPECT_EQ(result.images[0].file, "a_肌.png");
    EXPECT_EQ(result.images[0].source, CanonicalPath(f.models.File("肌.png")));
    EXPECT_FALSE(result.images[0].outsideFolders);

    f.ChangeTheMotion();
    result = f.Export("a.gltf");
    EXPECT_TRUE(result.written) << result.message;
    EXPECT_TRUE(f.prompt.asked.empty());

    // Files of the same names that no earlier export named: one question for all.
    f.out.Write("b.bin", "theirs");
    f.out.Write("b_肌.png", "theirs too");
    chmod(f.out.File("b_肌.png").c_str(), 0444);
    result = f.Export("b.gltf");
    EXPECT_FALSE(result.written);
    EXPECT_TRUE(result.declined);
    EXPECT_EQ(f.prompt.asked,
              std::vector<std::string>{"glTF出力|「b.bin」は存在し、「b_肌.png」は読み取り専用です。上書きしますか？"});
    EXPECT_EQ(f.out.Read("b.bin"), "theirs");
    EXPECT_FALSE(f.out.Exists("b.gltf"));
    f.prompt.yesNo = {true};
    result = f.Export("b.gltf");
    EXPECT_TRUE(result.written) << result.message;
    EXPECT_NE(f.out.Read("b.bin"), "theirs");
}

TEST(ExportGltfFiles, AFailureAtAnyFileLeavesTheEarlierExportAsItWas)
{
    Figure f;
    ASSERT_TRUE(f.Export("a.gltf").written);
    const std::map<std::string, std::string> before = f.Files();
    f.ChangeTheMotion();

    // A folder where the image goes: refused before anything is written.
    std::filesystem::remove(f.out.File("a_肌.png"));
    std::filesystem::create_directory(f.out.File("a_肌.png"));
    ExportGltfResult result = f.Export("a.gltf");
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.message, "ファイルが書き込めない\n" + f.out.File("a_肌.png") +
                                  ": a folder, not a regular file; nothing was written");
    std::filesystem::remove(f.out.File("a_肌.png"));
    f.out.Write("a_肌.png", before.at("a_肌.png"));
    EXPECT_TRUE(f.Files() == before);

    // A name the file system cannot hold for the image, though it can for the .gltf.
    const std::string stem(249, 's');
    result = f.Export(stem + ".gltf");
    EXPECT_FALSE(result.written);
    EXPECT_EQ(result.message.rfind("ファイル名が長すぎるため書き込めない\n" + f.out.File(stem + "_肌.png"), 0), 0u)
        << result.message;

    // The .bin fits under the file size limit, the image (made large) does not: nothing is replaced.
    TextureImage& skin = f.session.GetScene().MutableMeshBase().GetTexture(0)->image;
    skin.width = skin.height = 256;
    skin.rgba.resize(256 * 256 * 4);
    std::mt19937 noise(7);
    for (uint8_t& byte : skin.rgba) byte = uint8_t(noise());
    const rlim_t limit = std::max(before.at("a.bin").size(), before.at("a.gltf").size());
    EXPECT_TRUE(RunWithFileSizeLimit(limit, [&] {
        const ExportGltfResult failed = f.Export("a.gltf");
        return !failed.written &&
               failed.message.rfind("ファイルが大きすぎるため書き込めない\n" + f.out.File("a_肌.png"), 0) == 0;
    }));
    EXPECT_TRUE(f.Files() == before);
}

TEST(ExportGltfFiles, ABackslashIsPartOfTheFileName)
{
    Figure f;
    std::filesystem::create_directory(f.out.File("a"));
    f.out.Write("a/b.bin", "unrelated");
    const ExportGltfResult result = f.Export("a\\b.gltf");
    ASSERT_TRUE(result.written) << result.message;
    EXPECT_EQ(f.out.Read("a/b.bin"), "unrelated");
    EXPECT_TRUE(f.out.Exists("a\\b.bin"));
    EXPECT_NE(f.out.Read("a\\b.gltf").find("\"uri\":\"a%5Cb.bin\""), std::string::npos);
}
