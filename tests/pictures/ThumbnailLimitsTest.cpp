// The thumbnailer runs unattended on whatever a folder holds: it reads nothing
// outside the file's folder, draws no more than its caps, and a side file it
// cannot use stops neither the picture nor info.
#include "crafted/CraftedShape.h"
#include "io/FileReading.h"
#include "io/PathLookup.h"
#include "meshlib/PngEncoder.h"
#include "meshlib/TextureReader.h"
#include "support/CliFigure.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace m3d;

namespace {

CliResult Thumbnail(const TempFolder& folder, const std::string& input, const std::string& output)
{
    return RunCli("thumbnail -s 32 " + Quote(input) + " " + Quote(output), folder.File("stderr.txt"));
}

std::string CraftedShapeFile(const std::string& name, const std::string& folder, size_t size)
{
    for (const CraftedShape& shape : CraftedShapes())
        if (shape.name == name) return shape.write(folder, size);
    ADD_FAILURE() << "no crafted shape " << name;
    return std::string();
}

// The pixels of the PNG at path.
std::vector<uint8_t> Pixels(const std::string& path)
{
    TextureImage image;
    const Expected<std::string> bytes = ReadWholeFile(path);
    EXPECT_TRUE(bytes && Succeeded(DecodeTextureImage(*bytes, path, image))) << path;
    return image.rgba;
}

}  // namespace

TEST(ThumbnailLimits, AProjectOfMorePartsThanTheCapIsRefusedWithNothingWritten)
{
    TempFolder folder;
    const std::string project = CraftedShapeFile("top-level-parts-2000", folder.path, 2001);
    const CliResult run = Thumbnail(folder, project, folder.File("t.png"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find(project + ": 2001 Parts; a thumbnail draws at most 2000"), std::string::npos) << run.err;
    EXPECT_FALSE(folder.Exists("t.png"));
}

TEST(ThumbnailLimits, ATextureBeyondTheCapIsLeftOutOfThePicture)
{
    // 8192 x 2048 pixels in a PNG of some hundred kilobytes: 128 MB to decode.
    TempFolder folder;
    const std::string model = CraftedShapeFile("png-wide-claim", folder.path, 8192);
    ASSERT_EQ(Thumbnail(folder, model, folder.File("wide.png.thumbnail")).exitCode, 0);
    std::filesystem::remove(folder.File("wide.png"));
    ASSERT_EQ(Thumbnail(folder, model, folder.File("none.png")).exitCode, 0);
    EXPECT_EQ(Pixels(folder.File("wide.png.thumbnail")), Pixels(folder.File("none.png")));
}

TEST(ThumbnailLimits, NothingOutsideTheFilesFolderIsRead)
{
    TempFolder outside, folder;
    TextureImage red;
    red.width = red.height = 4;
    for (int i = 0; i < 16; ++i) red.rgba.insert(red.rgba.end(), {255, 0, 0, 255});
    outside.Write("red.png", *EncodePng(red));
    std::filesystem::create_symlink(outside.File("red.png"), folder.File("link.png"));
    folder.Write("model.mqo", TexturedTrianglesMqo({"../" + FileNameOf(outside.path) + "/red.png",
                                                    outside.File("red.png"), "link.png"}));
    ASSERT_EQ(Thumbnail(folder, folder.File("model.mqo"), folder.File("outside.png")).exitCode, 0);
    std::filesystem::remove(outside.File("red.png"));
    ASSERT_EQ(Thumbnail(folder, folder.File("model.mqo"), folder.File("none.png")).exitCode, 0);
    EXPECT_EQ(Pixels(folder.File("outside.png")), Pixels(folder.File("none.png")));

    // A Part's object file reached through a symbolic link to outside the project's folder.
    TempFolder project;
    const std::string path = WriteOnePartProject(project.path, folder.Read("model.mqo"));
    outside.Write("model.mqo", project.Read("model.mqo"));
    std::filesystem::remove(project.File("model.mqo"));
    std::filesystem::create_symlink(outside.File("model.mqo"), project.File("model.mqo"));
    const CliResult run = Thumbnail(project, path, project.File("t.png"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(
        run.err.find(project.File("model.mqo") + ": lies outside " + std::filesystem::canonical(project.path).string()),
        std::string::npos)
        << run.err;
    EXPECT_FALSE(project.Exists("t.png"));
}

TEST(ThumbnailLimits, ASideFileItCannotUseStopsNeitherThePictureNorInfo)
{
    CliFigure figure;
    figure.AddBodyWithPartnerArms();
    NewMotionCommand(figure.session, "walk");
    figure.Save();
    figure.folder.Write("figure.m3d.json", "{\"format\": \"Marionettica3D project extras\", \"version\": 1}");
    CliResult run = figure.Run("info " + Quote(figure.path));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("warning: " + figure.folder.File("figure.m3d.json")), std::string::npos) << run.err;
    run = figure.Run("thumbnail -s 16 " + Quote(figure.path) + " " + Quote(figure.folder.File("t.png")));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(figure.folder.Exists("t.png"));
}
