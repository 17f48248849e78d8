// Writes the seed corpora of the texture, settings, snapshot, reader-records,
// commit record and side file fuzzers:
//   build-fuzz/bin/make_fuzz_seeds fuzz/corpus
// Small valid files, one per format and variant the readers take apart
// differently, so the fuzzer starts past every format's header.
// With --crafted it writes instead every crafted hostile shape at a small size
// into FOLDER/<fuzzer>/, by file type, so the fuzzers start from them too:
//   build-fuzz/bin/make_fuzz_seeds --crafted FOLDER
#include "ExtrasFuzzProject.h"
#include "crafted/CraftedShape.h"
#include "foreign/ForeignRecords.h"
#include "io/CommitRecord.h"
#include "meshlib/DdsImage.h"
#include "meshlib/TextureWriter.h"
#include "scene/ProjectExtrasFile.h"
#include "scene/RecoverySnapshot.h"
#include "settings/AppSettings.h"

#include <squish.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

using namespace m3d;

namespace {

namespace fs = std::filesystem;

// 8 x 6 (not a multiple of the 4 x 4 DXT block down) with varied colour and alpha.
TextureImage Sample()
{
    TextureImage image;
    image.width = 8;
    image.height = 6;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            image.rgba.insert(image.rgba.end(), {uint8_t(30 * x), uint8_t(40 * y), uint8_t(255 - 20 * (x + y)),
                                                 uint8_t(x < 4 ? 255 : 60 * y)});
    return image;
}

void Put32(std::string& bytes, size_t at, uint32_t v)
{
    for (int k = 0; k < 4; ++k) bytes[at + k] = char((v >> (8 * k)) & 0xFF);
}

void Write(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
    std::printf("%s: %zu bytes\n", path.string().c_str(), bytes.size());
}

// The uncompressed file EncodeDds gives, turned into a compressed one.
std::string DxtFile(const TextureImage& image, const char* fourCc, int squishFlags)
{
    std::string bytes = EncodeDds(image).substr(0, 128);
    Put32(bytes, 80, 0x4);
    bytes.replace(84, 4, fourCc);
    for (size_t at = 88; at < 108; at += 4) Put32(bytes, at, 0);
    std::string blocks(size_t(squish::GetStorageRequirements(image.width, image.height, squishFlags)), '\0');
    squish::CompressImage(image.rgba.data(), image.width, image.height, blocks.data(), squishFlags);
    return bytes + blocks;
}

// 24-bit pixels, blue in the low byte.
std::string Dds24File(const TextureImage& image)
{
    std::string bytes = EncodeDds(image).substr(0, 128);
    Put32(bytes, 80, 0x40);
    Put32(bytes, 88, 24);
    Put32(bytes, 104, 0);
    for (size_t i = 0; i < image.rgba.size(); i += 4)
        bytes += {char(image.rgba[i + 2]), char(image.rgba[i + 1]), char(image.rgba[i])};
    return bytes;
}

void WriteTextureSeeds(const fs::path& folder)
{
    const TextureImage image = Sample();
    const struct {
        ImageFormat format;
        const char* name;
    } formats[] = {{ImageFormat::Bmp, "rgba.bmp"}, {ImageFormat::Dds, "argb.dds"}, {ImageFormat::Jpeg, "rgb.jpg"},
                   {ImageFormat::Png, "rgba.png"}, {ImageFormat::Ppm, "rgb.ppm"},  {ImageFormat::Tga, "rgba.tga"}};
    for (const auto& f : formats) {
        const Expected<std::string> bytes = EncodeTextureImage(image, f.format);
        if (!bytes) {
            std::fprintf(stderr, "%s\n", bytes.Message().c_str());
            std::exit(1);
        }
        Write(folder / f.name, *bytes);
    }
    Write(folder / "dxt1.dds", DxtFile(image, "DXT1", squish::kDxt1));
    Write(folder / "dxt3.dds", DxtFile(image, "DXT3", squish::kDxt3));
    Write(folder / "dxt5.dds", DxtFile(image, "DXT5", squish::kDxt5));
    Write(folder / "rgb24.dds", Dds24File(image));
}

void WriteSettingsSeeds(const fs::path& folder)
{
    ProfileFile profile;
    WriteSettings(profile, DefaultSettingsValues("C:\\models"), SettingsOwners{});
    Write(folder / "defaults.ini", profile.Text());
    // A file edited by hand: byte order mark, CRLF, comments, odd case and
    // spacing, a repeated key and a colour written unsigned.
    Write(folder / "edited.ini",
          "\xEF\xBB\xBF; settings\r\n[color]\r\n Back = 4278190335 \r\nback=1\r\n\r\n"
          "[VIEW0]\r\nTYPE=8\r\nTO_X=1e39\r\n[ light ]\r\nXDIR=-.5e-3x\r\n");
}

// A snapshot of two Parts sharing one mesh and a third without one, with a
// texture read from a file and one that came inside a model.
void WriteSnapshotSeeds(const fs::path& folder)
{
    DocumentSnapshot snapshot;
    snapshot.info = {
        "4242-17-0badf00d", "00000000000000aa", "/home/a/robot.anm", "robot.anm", 1765380000, 3, 1, 120, 7};
    snapshot.project = "not read by this fuzzer";
    snapshot.extras = "{\"format\":1}";
    snapshot.meshes = {std::make_shared<const std::string>("M3DMESH")};
    snapshot.textures = {{"skin.png", "/home/a/skin.png", nullptr},
                         {"inside.png", "", std::make_shared<const std::string>("\x89PNG\r\n")}};
    snapshot.parts = {{0, "/home/a"}, {0, "/home/a"}, {-1, ""}};
    Write(folder / "three-parts.m3dsnap", EncodeSnapshot(snapshot));
}

// Records of a reader child: a node tree with a textured mesh, an embedded
// image, one animation with a channel of each interpolation, notes.
void WriteForeignRecordSeeds(const fs::path& folder)
{
    ForeignModel model;
    model.format = "glTF";
    ForeignMesh mesh;
    mesh.name = "box";
    for (int k = 0; k < 4; ++k)
        mesh.geometry.vertices.push_back({float(k & 1), float(k >> 1), 0, 0, 0, 1, 0.5f, 0.25f});
    mesh.geometry.indices = {0, 1, 2, 2, 1, 3};
    mesh.geometry.triangleMaterials = {0, 1};
    mesh.geometry.materials.resize(2);
    mesh.geometry.materials[0].texturePath = "skin.png";
    mesh.embeddedImages = {-1, 0};
    model.meshes.push_back(mesh);
    model.images.push_back({"box_image0.png", "\x89PNG\r\n"});
    model.nodes.push_back({"root", -1, -1, {}, {}, {1, 1, 1}});
    model.nodes.push_back({"arm", 0, 0, {0, 1, 0}, {0, 0, 0.7071f, 0.7071f}, {1, 2, 1}});
    Write(folder / "static.records", EncodeForeignModel(model));
    ForeignAnimation walk{"walk", {}};
    walk.channels.push_back({1, ForeignPath::Translation, ForeignInterpolation::Linear, {0, 1}, {0, 0, 0, 1, 2, 3}});
    walk.channels.push_back(
        {1, ForeignPath::Rotation, ForeignInterpolation::Step, {0, 0.5f}, {0, 0, 0, 1, 0, 1, 0, 0}});
    walk.channels.push_back(
        {0, ForeignPath::Scale, ForeignInterpolation::CubicSpline, {0}, {0, 0, 0, 1, 1, 1, 0, 0, 0}});
    model.animations.push_back(walk);
    model.dropped = {"skin of mesh 'box' (rest pose kept)"};
    Write(folder / "animated.records", EncodeForeignModel(model));
}

// Records of a writer that is not running: replacing files with and without a
// second name of the old one, keeping one that is there, and being undone.
void WriteCommitRecordSeeds(const fs::path& folder)
{
    const ProcessIdentity writer{4242, 123456, "0123abcd"};
    const auto temporary = [&writer](const std::string& name, const char* letters) {
        return name + ".m3d-tmp-" + IdentityToken(writer) + "-" + letters;
    };
    CommitRecord record{writer, false, {}};
    record.entries.push_back({false,
                              "arm.mesh",
                              temporary("arm.mesh", "a1b2c3"),
                              temporary("arm.mesh", "d4e5f6"),
                              {1201, 4096, 0x0123456789abcdefull},
                              {1187, 0, 0}});
    record.entries.push_back({true, "skin.png", temporary("skin.png", "g7h8i9"), "", {1202, 70000, 42}, {}});
    record.entries.push_back({false,
                              "walk.anm",
                              temporary("walk.anm", "j0k1l2"),
                              "",
                              {1203, 812, 0xfedcba9876543210ull},
                              {1190, 790, 0x1111222233334444ull}});
    Write(folder / "forward.m3d-commit", EncodeCommitRecord(record));
    record.puttingBack = true;
    Write(folder / "back.m3d-commit", EncodeCommitRecord(record));
}

// Side files of the fuzzer's project: interpolations of every kind and joint
// limits, and one naming what the project lacks.
void WriteProjectExtrasSeeds(const fs::path& folder)
{
    ExtrasFuzzProject project = MakeExtrasFuzzProject();
    std::vector<KeyFrame>& arm = project.motions[0].tracks[1].keys;
    arm[0].interpolation = KeyInterpolation::Smooth();
    arm[1].interpolation = KeyInterpolation::Ease(0.25f, -0.5f, 0.75f, 1.5f);
    project.motions[1].tracks[3].keys[2].interpolation = KeyInterpolation::Step();
    project.motions[1].tracks[0].keys[0].interpolation = KeyInterpolation::EaseInOut();
    project.parts[1].jointLimit = {JointAxis::X, -12.5f, 120.0f};
    project.parts[3].jointLimit = {JointAxis::Z, -180.0f, 0.1f};
    project.motions[0].tracks[2].keys[1].interpolation = KeyInterpolation::AutoClamped();
    project.motions[0].loop = true;
    project.metresPerUnit = 0.01;
    const std::string text = BuildProjectExtras(project.parts, project.motions, project.metresPerUnit, project.bytes);
    Write(folder / "extras.m3d.json", text);
    std::string lacking = text;
    for (const auto& [from, to] : {std::pair<std::string, std::string>{"\"wave\"", "\"run\""}, {"\"leg\"", "\"tail\""}})
        for (size_t at = lacking.find(from); at != std::string::npos; at = lacking.find(from, at + to.size()))
            lacking.replace(at, from.size(), to);
    Write(folder / "lacking.m3d.json", lacking);
}

// The fuzzer that reads files of this extension, or "" for none.
std::string FuzzerFor(const fs::path& file)
{
    std::string ext = file.extension().string();
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (ext == ".mqo") return "fuzz_mqo";
    if (ext == ".mesh") return "fuzz_mesh";
    if (ext == ".anm") return "fuzz_project";
    for (const char* image : {".bmp", ".dds", ".jpg", ".jpeg", ".png", ".ppm", ".pgm", ".tga"})
        if (ext == image) return "fuzz_texture";
    return "";
}

// Each shape at a size small enough for a fuzzer's input (at most 64 KB per file).
void WriteCraftedSeeds(const fs::path& root)
{
    constexpr uintmax_t kMaxSeedBytes = 64 * 1024;
    const fs::path scratch = root / "scratch";
    for (const CraftedShape& shape : CraftedShapes()) {
        for (size_t size : {size_t(2), size_t(40), size_t(200)}) {
            fs::remove_all(scratch);
            fs::create_directories(scratch);
            shape.write(scratch.string(), std::min(size, shape.fullSize));
            for (const auto& entry : fs::recursive_directory_iterator(scratch)) {
                const std::string fuzzer = FuzzerFor(entry.path());
                if (fuzzer.empty() || !entry.is_regular_file() || entry.file_size() > kMaxSeedBytes) continue;
                fs::create_directories(root / fuzzer);
                fs::copy_file(
                    entry.path(),
                    root / fuzzer / (shape.name + "-" + std::to_string(size) + "-" + entry.path().filename().string()),
                    fs::copy_options::overwrite_existing);
            }
        }
    }
    fs::remove_all(scratch);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "--crafted") {
        WriteCraftedSeeds(argv[2]);
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder> | --crafted <folder>\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];
    for (const char* fuzzer : {"fuzz_texture", "fuzz_settings", "fuzz_snapshot", "fuzz_foreign_records",
                               "fuzz_commit_record", "fuzz_project_extras"})
        fs::create_directories(root / fuzzer);
    WriteTextureSeeds(root / "fuzz_texture");
    WriteSettingsSeeds(root / "fuzz_settings");
    WriteSnapshotSeeds(root / "fuzz_snapshot");
    WriteForeignRecordSeeds(root / "fuzz_foreign_records");
    WriteCommitRecordSeeds(root / "fuzz_commit_record");
    WriteProjectExtrasSeeds(root / "fuzz_project_extras");
    return 0;
}
