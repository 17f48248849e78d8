// A downloaded model reads nothing from outside its folder: the files it
// names are followed through their links and read only as bounded regular
// files there; images outside are left out with a note unless allowed. Each
// crafted folder "dl/model" has a canary beside it, in the temporary folder.
#include "foreign/ForeignReaderProcess.h"
#include "io/FileReading.h"
#include "io/PathLookup.h"
#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/TextureWriter.h"
#include "support/CliRun.h"
#include "support/OutcomeAssertions.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/stat.h>

using namespace m3d;
namespace fs = std::filesystem;

namespace {

// A 2 x 2 PNG.
std::string Png()
{
    TextureImage image;
    image.width = image.height = 2;
    image.rgba.assign(16, 200);
    return *EncodeTextureImage(image, ImageFormat::Png);
}

// The folder of a downloaded model and, outside it, canary files.
struct Crafted {
    TempFolder root;
    const std::string model = root.File("dl/model");
    Crafted()
    {
        fs::create_directories(model);
        fs::create_directories(root.File("secret"));
        root.Write("canary.png", Png());
        root.Write("secret/s.mtl", "newmtl stolen\nKd 1 0 0\n");
    }
    std::string In(const std::string& name) const { return model + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const { root.Write("dl/model/" + name, bytes); }
};

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// A glTF of one textured triangle, its positions in tri.bin beside it, its image at imageUri.
std::string TexturedGltf(const std::string& imageUri)
{
    return R"({"asset":{"version":"2.0"},"buffers":[{"byteLength":36,"uri":"tri.bin"}],)"
           R"("bufferViews":[{"buffer":0,"byteLength":36}],)"
           R"("accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3"}],)"
           R"("images":[{"uri":")" +
           imageUri +
           R"("}],"textures":[{"source":0}],)"
           R"("materials":[{"name":"skin","pbrMetallicRoughness":{"baseColorTexture":{"index":0}}}],)"
           R"("meshes":[{"primitives":[{"attributes":{"POSITION":0},"material":0}]}],)"
           R"("nodes":[{"name":"n","mesh":0}],"scenes":[{"nodes":[0]}]})";
}

std::string TrianglePositions()
{
    const float p[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    return std::string(reinterpret_cast<const char*>(p), sizeof p);
}

}  // namespace

TEST(ModelFolderTest, NamedFilesAreReadOnlyAsBoundedRegularFilesInTheFolder)
{
    Crafted c;
    c.root.Write("canary.bin", "secret");
    c.Write("inside.bin", "abc");
    fs::create_symlink(c.root.File("canary.bin"), c.In("link.bin"));
    fs::create_symlink("/dev/zero", c.In("zero"));
    ASSERT_EQ(mkfifo(c.In("fifo").c_str(), 0600), 0);
    const std::string& folder = c.model;
    const Expected<std::string> inside = ReadNamedFile(folder, c.In("inside.bin"), 3);
    ASSERT_TRUE(Succeeded(inside));
    EXPECT_EQ(*inside, "abc");
    EXPECT_TRUE(FailedWith(ReadNamedFile(folder, c.In("inside.bin"), 2), "file too large"));
    for (const std::string name : {"link.bin", "../../canary.bin", "zero", "../../../../../../../../../../dev/zero"})
        EXPECT_TRUE(FailedWith(ReadNamedFile(folder, c.In(name), 100), c.In(name) + ": leads outside the folder"));
    // Allowed anywhere, still only a regular file of a disk: no device, FIFO or /proc file.
    EXPECT_EQ(*ReadNamedFile(folder, c.In("link.bin"), 100, NamedFileScope::Anywhere), "secret");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(FailedWith(ReadNamedFile(folder, c.In("fifo"), 100, NamedFileScope::Anywhere), "FIFO"));
    EXPECT_LT(SecondsSince(start), 1.0);
    EXPECT_TRUE(FailedWith(ReadNamedFile(folder, c.In("zero"), 100, NamedFileScope::Anywhere), "not a regular file"));
    EXPECT_TRUE(FailedWith(ReadNamedFile(folder, "/proc/self/status", 1 << 20, NamedFileScope::Anywhere),
                           "not a regular file of a disk"));
}

// Through the reader program, as an import reads: each returns at once with
// a refusal naming the model and what it names.
TEST(ModelFolderTest, BuffersAndMaterialLibrariesOutsideTheFolderAreRefused)
{
    Crafted c;
    c.root.Write("canary.bin", TrianglePositions());
    fs::create_symlink(c.root.File("canary.bin"), c.In("buf.bin"));
    c.Write("linked.gltf", R"({"asset":{"version":"2.0"},"buffers":[{"byteLength":36,"uri":"buf.bin"}],)"
                           R"("bufferViews":[{"buffer":0,"byteLength":36}],)"
                           R"("accessors":[{"bufferView":0,"componentType":5126,"count":3,"type":"VEC3"}],)"
                           R"("meshes":[{"primitives":[{"attributes":{"POSITION":0}}]}],"nodes":[{"mesh":0}]})");
    ASSERT_EQ(mkfifo(c.In("fifo.mtl").c_str(), 0600), 0);
    fs::create_symlink("/dev/zero", c.In("zero.mtl"));
    const std::pair<std::string, std::string> cases[] = {
        {"linked.gltf", "buf.bin"},
        {"secret.obj", "../../secret/s.mtl"},
        {"fifo.obj", "fifo.mtl"},
        {"zero.obj", "zero.mtl"},
        {"up.obj", "../../../../../../../../../../dev/zero"},
    };
    SetForeignReaderProgram(M3D_CLI_PATH);
    ChildLimits limits = ForeignReadLimits();
    limits.wallMilliseconds = 20000;
    for (const auto& [file, named] : cases) {
        if (file.ends_with(".obj"))
            c.Write(file, "mtllib " + named + "\nusemtl stolen\nv 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
        ForeignModel model;
        const auto start = std::chrono::steady_clock::now();
        const Outcome read = ReadForeignModelInChild(c.In(file), model, limits);
        EXPECT_LT(SecondsSince(start), 5.0) << file;
        EXPECT_TRUE(FailedWith(read, c.In(file) + ": ")) << file;
        EXPECT_TRUE(FailedWith(read, named)) << file;
        EXPECT_TRUE(model.nodes.empty()) << file;
    }
}

// glTF image uris (absolute, ../.., ..%2F..) and an OBJ map_Kd that lead out:
// imported without the image and a note saying so, and with it when allowed.
TEST(ModelFolderTest, ImagesOutsideTheFolderAreLeftOutWithANoteUnlessAllowed)
{
    Crafted c;
    c.Write("tri.bin", TrianglePositions());
    c.Write("absolute.gltf", TexturedGltf(c.root.File("canary.png")));
    c.Write("up.gltf", TexturedGltf("../../canary.png"));
    c.Write("encoded.gltf", TexturedGltf("..%2F..%2Fcanary.png"));
    c.Write("skin.mtl", "newmtl skin\nmap_Kd ../../canary.png\n");
    c.Write("map.obj", "mtllib skin.mtl\nusemtl skin\nv 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/1 3/1\n");
    for (const char* file : {"absolute.gltf", "up.gltf", "encoded.gltf", "map.obj"}) {
        for (const bool allowed : {false, true}) {
            TempFolder out;
            const CliResult run = RunCli("import " + Quote(c.In(file)) + " " + Quote(out.File("p.anm")) +
                                             (allowed ? " --allow-outside-images" : ""),
                                         out.File("err.txt"));
            ASSERT_EQ(run.exitCode, 0) << file << run.err;
            EXPECT_EQ(run.out.find("outside the model's folder") == std::string::npos, allowed) << file << run.out;
            EXPECT_EQ(out.Exists("canary.png"), allowed) << file;
        }
    }
    // The texture loading itself keeps a foreign model's images to its folder.
    LoadedModel triangle;
    triangle.vertices.resize(3);
    triangle.indices = {0, 1, 2};
    triangle.triangleMaterials = {0};
    triangle.materials.resize(1);
    triangle.materials[0].texturePath = "../../canary.png";
    triangle.textureScope = NamedFileScope::InFolder;
    CMeshBase base;
    CMesh mesh;
    base.InitMesh(&mesh, 0);
    ASSERT_TRUE(Succeeded(mesh.LoadModel(triangle, c.In("model.glb"), 1.0f)));
    ASSERT_EQ(base.GetTextureNum(), 1);
    EXPECT_EQ(base.GetTexture(0)->image.width, 0);
    EXPECT_NE(base.GetTexture(0)->problem.find("leads outside the folder"), std::string::npos);
}
