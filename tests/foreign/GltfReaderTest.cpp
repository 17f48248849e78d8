// The glTF reader: documents built here byte by byte (.gltf with a data URI
// or a .bin beside it, .glb assembled by hand), the sample engine of the
// assimp test models, and what our own exporter writes.
#include "anim/ExportGltfFile.h"
#include "anim/XFileContentBuilder.h"
#include "editor/EditorSession.h"
#include "editor/FileCommands.h"
#include "foreign/readers/ModelReaders.h"
#include "scene/Scene.h"
#include "support/OutcomeAssertions.h"
#include "support/GltfDoc.h"
#include "support/ScriptedPrompt.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

using namespace m3d;
using nlohmann::json;

namespace {

// One node with a mesh of one triangle (positions 0, 1, 2 along the axes).
GltfDoc Triangle()
{
    GltfDoc doc;
    const int positions = doc.Floats({0, 0, 0, 1, 0, 0, 0, 1, 0}, "VEC3", 3);
    doc.Mesh({json{{"attributes", {{"POSITION", positions}}}}});
    doc.root["nodes"] = {{{"name", "n"}, {"mesh", 0}}};
    doc.root["scenes"] = {{{"nodes", {0}}}};
    return doc;
}

ForeignModel Read(const std::string& path)
{
    ForeignModel model;
    EXPECT_TRUE(Succeeded(ReadGltfModel(path, model)));
    return model;
}

// doc read with primitives as its only mesh, on its only node.
ForeignModel ReadMesh(GltfDoc& doc, const std::vector<json>& primitives)
{
    doc.Mesh(primitives);
    doc.root["nodes"] = {{{"mesh", 0}}};
    TempFolder folder;
    return Read(doc.WriteGltf(folder));
}

std::vector<float> Position(const LoadedModel& geometry, size_t v)
{
    return {geometry.vertices[v].x, geometry.vertices[v].y, geometry.vertices[v].z};
}

bool Dropped(const ForeignModel& model, const std::string& part)
{
    for (const std::string& line : model.dropped)
        if (line.find(part) != std::string::npos) return true;
    return false;
}

}  // namespace

TEST(GltfReader, ReadsInterleavedVerticesAndNormalisedUvsFromAGlb)
{
    GltfDoc doc;
    // Position and normal per vertex, 4 bytes of padding: a stride of 28.
    std::string interleaved;
    for (int v = 0; v < 3; ++v)
        interleaved += Bytes<float>({float(v), float(2 * v), float(3 * v), 0, 0, float(v + 1), -1});
    const int view = doc.View(interleaved, 28);
    const int positions = doc.Accessor(view, kGltfFloat, 3, "VEC3");
    const int normals = doc.Accessor(view, kGltfFloat, 3, "VEC3", 12);
    const int uvs = doc.Accessor(doc.View(Bytes<uint16_t>({0, 65535, 32768, 0, 65535, 65535})), kGltfUnsignedShort, 3,
                                 "VEC2", 0, true);
    const int indices = doc.Accessor(doc.View(Bytes<uint8_t>({2, 1, 0})), kGltfUnsignedByte, 3, "SCALAR");
    doc.Mesh({json{{"attributes", {{"POSITION", positions}, {"NORMAL", normals}, {"TEXCOORD_0", uvs}}},
                   {"indices", indices}}});
    doc.root["nodes"] = {{{"mesh", 0}}};
    TempFolder folder;
    folder.Write("model.glb", doc.Glb());

    const ForeignModel model = Read(folder.File("model.glb"));
    ASSERT_EQ(model.meshes.size(), 1u);
    const LoadedModel& g = model.meshes[0].geometry;
    ASSERT_EQ(g.vertices.size(), 3u);
    for (size_t v = 0; v < 3; ++v) {
        EXPECT_EQ(Position(g, v), (std::vector<float>{float(v), float(2 * v), float(3 * v)})) << v;
        EXPECT_EQ(g.vertices[v].nz, float(v + 1)) << v;
    }
    EXPECT_EQ(g.vertices[0].tv, 1.0f);
    EXPECT_EQ(g.vertices[1].tu, float(32768.0 / 65535.0));
    EXPECT_EQ(g.vertices[2].tu, 1.0f);
    EXPECT_EQ(g.indices, (std::vector<uint32_t>{2, 1, 0}));
    EXPECT_EQ(g.triangleMaterials, (std::vector<uint32_t>{0}));
    EXPECT_EQ(g.materials.size(), 1u);
}

TEST(GltfReader, SparseAccessorsPutValuesOverTheirBaseOrOverZeros)
{
    GltfDoc doc;
    const int positions = doc.Floats({0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0}, "VEC3", 3);
    doc.root["accessors"][size_t(positions)]["sparse"] = {
        {"count", 2},
        {"indices", {{"bufferView", doc.View(Bytes<uint16_t>({1, 3}))}, {"componentType", kGltfUnsignedShort}}},
        {"values", {{"bufferView", doc.View(Bytes<float>({5, 6, 7, 8, 9, 10}))}}}};
    const int normals = doc.Accessor(-1, kGltfFloat, 4, "VEC3");
    doc.root["accessors"][size_t(normals)]["sparse"] = {
        {"count", 1},
        {"indices", {{"bufferView", doc.View(Bytes<uint8_t>({2}))}, {"componentType", kGltfUnsignedByte}}},
        {"values", {{"bufferView", doc.View(Bytes<float>({0, 0, 1}))}}}};
    const ForeignModel model = ReadMesh(doc, {json{{"attributes", {{"POSITION", positions}, {"NORMAL", normals}}}}});
    ASSERT_EQ(model.meshes.size(), 1u);
    const LoadedModel& g = model.meshes[0].geometry;
    ASSERT_EQ(g.vertices.size(), 4u);
    EXPECT_EQ(Position(g, 0), (std::vector<float>{0, 0, 0}));
    EXPECT_EQ(Position(g, 1), (std::vector<float>{5, 6, 7}));
    EXPECT_EQ(Position(g, 2), (std::vector<float>{0, 1, 0}));
    EXPECT_EQ(Position(g, 3), (std::vector<float>{8, 9, 10}));
    for (size_t v = 0; v < 4; ++v) EXPECT_EQ(g.vertices[v].nz, v == 2 ? 1.0f : 0.0f) << v;
}

TEST(GltfReader, StripsAndFansBecomeTrianglesFacingLikeTheirFirst)
{
    GltfDoc doc;
    const int positions = doc.Floats({0, 0, 0, 1, 0, 0, 0, 1, 0, 1, 1, 0, 0, 2, 0}, "VEC3", 3);
    // Both primitives use the same vertices: they are brought over once.
    const ForeignModel model = ReadMesh(doc, {json{{"attributes", {{"POSITION", positions}}}, {"mode", 5}},
                                              json{{"attributes", {{"POSITION", positions}}}, {"mode", 6}}});
    ASSERT_EQ(model.meshes.size(), 1u);
    const LoadedModel& g = model.meshes[0].geometry;
    EXPECT_EQ(g.vertices.size(), 5u);
    EXPECT_EQ(g.indices, (std::vector<uint32_t>{0, 1, 2, 1, 3, 2, 2, 3, 4, 1, 2, 0, 2, 3, 0, 3, 4, 0}));
}

TEST(GltfReader, ChannelsKeepTheFilesKeysValuesAndTangents)
{
    GltfDoc doc = Triangle();
    const int stepTimes = doc.Floats({0, 0.5f, 1.25f}, "SCALAR", 1);
    const int stepValues = doc.Floats({1, 2, 3, 4, 5, 6, 7, 8, 9}, "VEC3", 3);
    const int cubicTimes = doc.Floats({0, 2}, "SCALAR", 1);
    std::initializer_list<float> cubic = {0.1f, 0.2f, 0.3f, 0.4f, 0, 0, 0, 1, -1, -2, -3, -4,
                                          5,    6,    7,    8,    0, 1, 0, 0, 9,  10, 11, 12};
    const int cubicValues = doc.Floats(cubic, "VEC4", 4);
    const int shortRotations =
        doc.Accessor(doc.View(Bytes<int16_t>({0, 0, 32767, 0, 0, -32768, 0, 16384})), kGltfShort, 2, "VEC4", 0, true);
    doc.root["animations"] = {{{"name", "walk"},
                               {"samplers",
                                {{{"input", stepTimes}, {"output", stepValues}, {"interpolation", "STEP"}},
                                 {{"input", cubicTimes}, {"output", cubicValues}, {"interpolation", "CUBICSPLINE"}},
                                 {{"input", cubicTimes}, {"output", shortRotations}},
                                 {{"input", cubicTimes}, {"output", doc.Floats({1, 1, 1, 2, 2, 2}, "VEC3", 3)}}}},
                               {"channels",
                                {{{"sampler", 0}, {"target", {{"node", 0}, {"path", "translation"}}}},
                                 {{"sampler", 1}, {"target", {{"node", 0}, {"path", "rotation"}}}},
                                 {{"sampler", 2}, {"target", {{"node", 0}, {"path", "rotation"}}}},
                                 {{"sampler", 3}, {"target", {{"node", 0}, {"path", "scale"}}}},
                                 {{"sampler", 0}, {"target", {{"node", 0}, {"path", "weights"}}}}}}}};
    TempFolder folder;

    const ForeignModel model = Read(doc.WriteGltf(folder));
    ASSERT_EQ(model.animations.size(), 1u);
    const ForeignAnimation& walk = model.animations[0];
    EXPECT_EQ(walk.name, "walk");
    ASSERT_EQ(walk.channels.size(), 4u);
    EXPECT_EQ(walk.channels[0].interpolation, ForeignInterpolation::Step);
    EXPECT_EQ(walk.channels[0].path, ForeignPath::Translation);
    EXPECT_EQ(walk.channels[0].times, (std::vector<float>{0, 0.5f, 1.25f}));
    EXPECT_EQ(walk.channels[0].values, (std::vector<float>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_EQ(walk.channels[1].interpolation, ForeignInterpolation::CubicSpline);
    EXPECT_EQ(walk.channels[1].path, ForeignPath::Rotation);
    EXPECT_EQ(walk.channels[1].values, std::vector<float>(cubic));
    EXPECT_EQ(walk.channels[2].interpolation, ForeignInterpolation::Linear);
    EXPECT_EQ(walk.channels[2].values, (std::vector<float>{0, 0, 1, 0, 0, -1, 0, float(16384.0 / 32767.0)}));
    EXPECT_EQ(walk.channels[3].path, ForeignPath::Scale);
    EXPECT_TRUE(Dropped(model, "morph weights")) << testing::PrintToString(model.dropped);
}

TEST(GltfReader, NodesComeDepthFirstSharingTheirMeshAndKeepingTheirAnimations)
{
    GltfDoc doc = Triangle();
    doc.root["nodes"] = {{{"name", "root"}, {"children", {2, 1}}},
                         {{"name", "b"}, {"mesh", 0}},
                         {{"name", "a"}, {"mesh", 0}, {"children", {3}}},
                         {{"name", "c"}}};
    const int times = doc.Floats({0, 1}, "SCALAR", 1);
    doc.root["animations"] = {
        {{"samplers", {{{"input", times}, {"output", doc.Floats({0, 0, 0, 1, 1, 1}, "VEC3", 3)}}}},
         {"channels", {{{"sampler", 0}, {"target", {{"node", 1}, {"path", "translation"}}}}}}}};
    TempFolder folder;

    const ForeignModel model = Read(doc.WriteGltf(folder));
    std::vector<std::string> names;
    std::vector<int32_t> parents, meshes;
    for (const ForeignNode& node : model.nodes) {
        names.push_back(node.name);
        parents.push_back(node.parent);
        meshes.push_back(node.mesh);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"root", "a", "c", "b"}));
    EXPECT_EQ(parents, (std::vector<int32_t>{-1, 0, 1, 0}));
    EXPECT_EQ(meshes, (std::vector<int32_t>{-1, 0, -1, 0}));
    EXPECT_EQ(model.meshes.size(), 1u);
    ASSERT_EQ(model.animations.size(), 1u);
    EXPECT_EQ(model.animations[0].channels[0].node, 3);
}

TEST(GltfReader, NodeMatricesComeApartIntoTranslationRotationAndScale)
{
    GltfDoc doc = Triangle();
    // Column-major: translate (1, 2, 3) after a quarter turn about +Z after scaling by (2, 3, 4).
    doc.root["nodes"] = {{{"name", "turned"}, {"matrix", {0, 2, 0, 0, -3, 0, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1}}},
                         {{"name", "mirrored"}, {"matrix", {-1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}},
                         {{"name", "sheared"}, {"matrix", {1, 0, 0, 0, 0.5, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}}};
    doc.root["scenes"] = {{{"nodes", {0, 1, 2}}}};
    TempFolder folder;

    const ForeignModel model = Read(doc.WriteGltf(folder));
    ASSERT_EQ(model.nodes.size(), 3u);
    const ForeignNode& turned = model.nodes[0];
    EXPECT_EQ(turned.translation, (Vec3{1, 2, 3}));
    EXPECT_NEAR(turned.scale.x, 2, 1e-6);
    EXPECT_NEAR(turned.scale.y, 3, 1e-6);
    EXPECT_NEAR(turned.scale.z, 4, 1e-6);
    const float half = std::sqrt(0.5f);
    EXPECT_NEAR(turned.rotation.x, 0, 1e-6);
    EXPECT_NEAR(turned.rotation.y, 0, 1e-6);
    EXPECT_NEAR(std::fabs(turned.rotation.z), half, 1e-6);
    EXPECT_NEAR(turned.rotation.w * std::copysign(1.0f, turned.rotation.z), half, 1e-6);
    EXPECT_EQ(model.nodes[1].scale, (Vec3{-1, 1, 1}));
    EXPECT_NEAR(std::fabs(model.nodes[1].rotation.w), 1, 1e-6);
    EXPECT_FALSE(Dropped(model, "'turned'"));
    EXPECT_FALSE(Dropped(model, "'mirrored'"));
    EXPECT_TRUE(Dropped(model, "shear of node 'sheared'")) << testing::PrintToString(model.dropped);
}

TEST(GltfReader, MaterialsBringTheirColoursAndTextures)
{
    GltfDoc doc;
    const int positions = doc.Floats({0, 0, 0, 1, 0, 0, 0, 1, 0}, "VEC3", 3);
    const std::string png = std::string("\x89PNG\r\n\x1a\n", 8) + "not really";
    doc.root["images"] = {{{"uri", "skin%20a.png"}}, {{"bufferView", doc.View(png)}, {"mimeType", "image/png"}}};
    doc.root["textures"] = {{{"source", 0}}, {{"source", 1}}};
    doc.root["materials"] = {
        {{"name", "skin"},
         {"pbrMetallicRoughness",
          {{"baseColorFactor", {0.5, 0.25, 1, 0.5}}, {"metallicFactor", 0}, {"baseColorTexture", {{"index", 0}}}}},
         {"emissiveFactor", {0.1, 0.2, 0.3}},
         {"alphaMode", "BLEND"}},
        {{"name", "metal"},
         {"pbrMetallicRoughness", {{"baseColorFactor", {1, 1, 1, 0.5}}, {"baseColorTexture", {{"index", 1}}}}},
         {"normalTexture", {{"index", 1}}}}};
    const json attributes = {{"POSITION", positions}};
    const ForeignModel model =
        ReadMesh(doc, {json{{"attributes", attributes}, {"material", 0}},
                       json{{"attributes", attributes}, {"material", 1}}, json{{"attributes", attributes}}});
    ASSERT_EQ(model.meshes.size(), 1u);
    const ForeignMesh& mesh = model.meshes[0];
    ASSERT_EQ(mesh.geometry.materials.size(), 3u);
    EXPECT_EQ(mesh.geometry.triangleMaterials, (std::vector<uint32_t>{0, 1, 2}));
    const ModelMaterial& skin = mesh.geometry.materials[0];
    EXPECT_EQ(skin.name, "skin");
    EXPECT_EQ(std::vector<float>({skin.diffuse.r, skin.diffuse.g, skin.diffuse.b, skin.diffuse.a}),
              (std::vector<float>{0.5f, 0.25f, 1, 0.5f}));
    EXPECT_EQ(skin.ambient.g, 0.25f * 0.75f);
    EXPECT_EQ(std::vector<float>({skin.emissive.r, skin.emissive.g, skin.emissive.b}),
              (std::vector<float>{0.1f, 0.2f, 0.3f}));
    EXPECT_EQ(skin.texturePath, "skin a.png");
    // Opaque, the default, leaves the colour's alpha aside.
    EXPECT_EQ(mesh.geometry.materials[1].diffuse.a, 1.0f);
    EXPECT_EQ(mesh.geometry.materials[1].texturePath, "");
    EXPECT_EQ(mesh.geometry.materials[2].diffuse.g, 1.0f);
    EXPECT_EQ(mesh.embeddedImages, (std::vector<int32_t>{-1, 0, -1}));
    ASSERT_EQ(model.images.size(), 1u);
    EXPECT_EQ(model.images[0].name, "model_image1.png");
    EXPECT_EQ(model.images[0].bytes, png);
    EXPECT_FALSE(Dropped(model, "material 'skin'")) << testing::PrintToString(model.dropped);
    EXPECT_TRUE(Dropped(model, "metallic-roughness of material 'metal'"));
    EXPECT_TRUE(Dropped(model, "normal texture of material 'metal'"));
}

TEST(GltfReader, RequiredExtensionsAreRefusedByNameAndUsedOnesNoted)
{
    TempFolder folder;
    GltfDoc draco = Triangle();
    draco.root["extensionsRequired"] = {"KHR_mesh_quantization", "KHR_draco_mesh_compression"};
    const std::string path = draco.WriteGltf(folder, "draco.gltf");
    ForeignModel model;
    const Outcome refused = ReadGltfModel(path, model);
    EXPECT_EQ(refused.Message(),
              path + ": it requires the extension KHR_draco_mesh_compression, which this program does not read");

    GltfDoc transformed = Triangle();
    transformed.root["extensionsUsed"] = {"KHR_texture_transform", "KHR_mesh_quantization"};
    transformed.root["extensionsRequired"] = {"KHR_mesh_quantization"};
    model = Read(transformed.WriteGltf(folder, "transformed.gltf"));
    EXPECT_EQ(model.dropped, (std::vector<std::string>{"what the extension KHR_texture_transform adds"}));
}

TEST(GltfReader, HostileFilesFailNamingTheFileAndTheReason)
{
    struct Case {
        const char* name;
        std::function<std::string(const TempFolder&, const std::string&)> write;  // writes the file, its path
        const char* reason;
        const char* extension = ".gltf";
    };
    const auto gltf = [](std::function<void(GltfDoc&)> change) {
        return [change](const TempFolder& folder, const std::string& name) {
            GltfDoc doc = Triangle();
            change(doc);
            return doc.WriteGltf(folder, name);
        };
    };
    const auto keys = [](GltfDoc& doc, std::initializer_list<float> times) {
        doc.root["animations"] = {{{"samplers",
                                    {{{"input", doc.Floats(times, "SCALAR", 1)},
                                      {"output", doc.Floats({0, 0, 0, 1, 1, 1, 2, 2, 2}, "VEC3", 3)}}}},
                                   {"channels", {{{"sampler", 0}, {"target", {{"node", 0}, {"path", "scale"}}}}}}}};
    };
    // The triangle with its buffer in the file uri (which is not written).
    const auto bufferFile = [](const char* uri) {
        return [uri](const TempFolder& folder, const std::string& name) {
            GltfDoc doc = Triangle();
            doc.root["buffers"] = {{{"byteLength", doc.bin.size()}, {"uri", uri}}};
            folder.Write(name, doc.root.dump());
            return folder.File(name);
        };
    };
    const Case cases[] = {
        {"accessor past its view", gltf([](GltfDoc& doc) { doc.root["accessors"][0]["count"] = 4; }),
         "reach past the end of buffer view 0"},
        {"view past its buffer", gltf([](GltfDoc& doc) { doc.root["bufferViews"][0]["byteLength"] = 40; }),
         "reaches past the end of buffer 0"},
        {"index past the vertices", gltf([](GltfDoc& doc) {
             doc.root["meshes"][0]["primitives"][0]["indices"] =
                 doc.Accessor(doc.View(Bytes<uint16_t>({0, 1, 3})), kGltfUnsignedShort, 3, "SCALAR");
         }),
         "index 3 (element 2) is past the 3 vertices"},
        {"signed indices", gltf([](GltfDoc& doc) {
             doc.root["meshes"][0]["primitives"][0]["indices"] =
                 doc.Accessor(doc.View(Bytes<int8_t>({0, 1, 2})), kGltfByte, 3, "SCALAR");
         }),
         "not unsigned integers"},
        {"cycle", gltf([](GltfDoc& doc) {
             doc.root["nodes"] = {{{"children", {1}}}, {{"children", {0}}}};
         }),
         "lead back to it (a cycle)"},
        {"node twice", gltf([](GltfDoc& doc) {
             doc.root["scenes"][0]["nodes"] = {0, 0};
         }),
         "reached twice"},
        {"times not ascending", gltf([&keys](GltfDoc& doc) {
             keys(doc, {0, 1, 1});
         }),
         "not strictly ascending"},
        {"times not finite", gltf([&keys](GltfDoc& doc) {
             keys(doc, {0, 1, NAN});
         }),
         "not a finite number"},
        {"missing buffer file", bufferFile("gone.bin"), "names the file 'gone.bin', which is not there"},
        {"buffer outside the folder", bufferFile("../x.bin"), "not in the model's folder"},
        {"truncated glb",
         [](const TempFolder& folder, const std::string& name) {
             const std::string glb = Triangle().Glb();
             folder.Write(name, glb.substr(0, glb.size() - 10));
             return folder.File(name);
         },
         "cut short", ".glb"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        const std::string path = c.write(folder, c.name + std::string(c.extension));
        ForeignModel model;
        model.format = "stale";
        const Outcome outcome = ReadGltfModel(path, model);
        ASSERT_FALSE(outcome.Ok()) << c.name;
        EXPECT_EQ(outcome.Message().rfind(path + ": ", 0), 0u) << c.name << ": " << outcome.Message();
        EXPECT_NE(outcome.Message().find(c.reason), std::string::npos) << c.name << ": " << outcome.Message();
        EXPECT_EQ(outcome.Message().find('\n'), std::string::npos) << c.name;
        EXPECT_TRUE(model.format.empty() && model.nodes.empty() && model.meshes.empty()) << c.name;
    }
}

TEST(GltfReader, SampleEngineHasTheNodesAndMeshesItsJsonNames)
{
    const std::string path = std::string(M3D_ASSIMP_MODELS) + "/glTF2/2CylinderEngine-glTF-Binary/2CylinderEngine.glb";
    ASSERT_TRUE(std::filesystem::exists(path)) << path;
    const ForeignModel model = Read(path);

    // The JSON chunk, counted here on its own: the nodes under the default
    // scene and the meshes they use.
    std::ifstream in(path, std::ios::binary);
    const std::string glb((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    uint32_t jsonLength = 0;
    std::memcpy(&jsonLength, glb.data() + 12, 4);
    const json root = json::parse(glb.substr(20, jsonLength));
    size_t nodes = 0;
    std::set<int> meshes;
    std::function<void(int)> visit = [&](int n) {
        ++nodes;
        const json& node = root["nodes"][size_t(n)];
        if (node.contains("mesh")) meshes.insert(node["mesh"].get<int>());
        for (const json& child : node.value("children", json::array())) visit(child.get<int>());
    };
    for (const json& top : root["scenes"][size_t(root.value("scene", 0))]["nodes"]) visit(top.get<int>());

    EXPECT_EQ(model.nodes.size(), nodes);
    EXPECT_EQ(model.meshes.size(), meshes.size());
    for (const ForeignMesh& mesh : model.meshes) EXPECT_FALSE(mesh.geometry.indices.empty()) << mesh.name;
}

TEST(GltfReader, OurOwnExportOfTheSampleFigureComesBack)
{
    EditorSession session;
    const std::string project = std::string(M3D_TEST_DATA_DIR) + "/../../examples/figure/figure.anm";
    ASSERT_TRUE(Succeeded(OpenProject(session, project, ProjectOpening::Editing).outcome));
    Scene& scene = session.GetScene();
    TempFolder folder;
    ScriptedPrompt prompt;
    const ExportGltfResult exported =
        ExportGltfFile(scene, folder.File("figure.gltf"), kDefaultGltfFramesPerSecond, prompt);
    ASSERT_TRUE(exported.written) << exported.message;

    const ForeignModel model = Read(folder.File("figure.gltf"));
    ASSERT_EQ(model.nodes.size(), size_t(scene.PartCount()));
    EXPECT_EQ(model.animations.size(), size_t(scene.MotionCount()));
    EXPECT_TRUE(model.dropped.empty()) << testing::PrintToString(model.dropped);
    const std::vector<TreeOrderEntry> order = PartsInTreeOrder(scene);
    bool textured = false;
    for (size_t n = 0; n < model.nodes.size(); ++n) {
        const Part& part = *scene.Parts()[size_t(order[n].part)];
        EXPECT_EQ(model.nodes[n].name, part.displayName);
        if (model.nodes[n].mesh < 0) continue;
        const ForeignMesh& mesh = model.meshes[size_t(model.nodes[n].mesh)];
        const XMeshData source = ExportMeshData(scene, part.mesh.get());
        EXPECT_EQ(mesh.geometry.vertices.size(), source.vertices.size()) << part.displayName;
        ASSERT_EQ(mesh.geometry.materials.size(), source.materials.size()) << part.displayName;
        for (size_t m = 0; m < source.materials.size(); ++m) {
            const ModelMaterial& back = mesh.geometry.materials[m];
            const _MESH_MATERIAL& sent = source.materials[m];
            EXPECT_EQ(back.diffuse.r, sent.diffuse.r);
            EXPECT_EQ(back.diffuse.a, sent.diffuse.a);
            EXPECT_NEAR(back.ambient.g, sent.ambient.g, 1e-6);
            EXPECT_EQ(back.emissive.b, sent.emissive.b);
            if (!back.texturePath.empty()) {
                textured = true;
                EXPECT_TRUE(folder.Exists(back.texturePath)) << back.texturePath;
            }
        }
    }
    EXPECT_TRUE(textured);
}
