#include "meshlib/MeshFile.h"
#include "support/OutcomeAssertions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

using namespace m3d;

namespace {

// Offsets in the file image of SmallContent (header 28 bytes, 4 vertices of 32).
constexpr size_t kVersionAt = 8;
constexpr size_t kVertexCountAt = 12;
constexpr size_t kVerticesAt = 28;
constexpr size_t kSubMeshAt = kVerticesAt + 4 * 32;  // index count, material, winding, base vertex, indices
constexpr size_t kMaterialsAt = kSubMeshAt + 8 + 5 * 2;
constexpr size_t kMaterialBytes = 70;
constexpr size_t kTexturesAt = kMaterialsAt + 2 * kMaterialBytes;

MeshContent SmallContent()
{
    MeshContent c;
    for (int i = 0; i < 4; ++i) {
        _MESH_VERTEX v;
        v.x = float(i);
        v.y = -0.5f * float(i);
        v.z = 1e-30f;
        v.nx = 0.0f;
        v.ny = -0.0f;
        v.nz = 1.0f;
        v.tu = 0.25f * float(i);
        v.tv = 1.0f - 0.25f * float(i);
        c.vertices.push_back(v);
    }
    _MESH_MESHDATA m;
    m.indices = {0, 1, 2, 3, 1};
    m.indexCount = 5;
    m.materialNumber = 1;
    m.windingFlag = 1;
    m.baseVertex = 0;
    c.subMeshes.push_back(m);
    _MESH_MATERIAL plain;
    plain.diffuse = {0.1f, 0.2f, 0.3f, 0.4f};
    plain.ambient = {0.5f, 0.6f, 0.7f, 0.8f};
    plain.specular = {0.9f, 1.0f, 0.0f, 1.0f};
    plain.emissive = {0.01f, 0.02f, 0.03f, 1.0f};
    plain.power = 12.5f;
    c.materials.push_back(plain);
    plain.textureNumber = 0;
    plain.power = 3.0f;
    c.materials.push_back(plain);
    c.textureNames = {"肌.png"};
    return c;
}

std::string Encoded() { return EncodeMeshFile(SmallContent()); }

void Put32(std::string& bytes, size_t at, uint32_t v)
{
    for (int k = 0; k < 4; ++k) bytes[at + k] = char((v >> (8 * k)) & 0xFF);
}

void Put16(std::string& bytes, size_t at, uint16_t v)
{
    bytes[at] = char(v & 0xFF);
    bytes[at + 1] = char(v >> 8);
}

// Decodes and expects failure whose message names the file and the byte offset.
void ExpectRejected(const std::string& bytes, size_t offset, const std::string& reasonPart)
{
    MeshContent out;
    out.textureNames = {"untouched"};
    Outcome outcome;
    EXPECT_FALSE((outcome = DecodeMeshFile(bytes, "model.mesh", out)));
    EXPECT_EQ(outcome.Message().rfind("model.mesh: byte " + std::to_string(offset) + ": ", 0), 0u) << outcome.Message();
    EXPECT_NE(outcome.Message().find(reasonPart), std::string::npos) << outcome.Message();
    EXPECT_EQ(out.textureNames, std::vector<std::string>{"untouched"});
}

TEST(MeshFile, RoundTripKeepsEveryBit)
{
    const MeshContent original = SmallContent();
    const std::string bytes = EncodeMeshFile(original);
    EXPECT_EQ(bytes.size(), kTexturesAt + 1 + std::strlen("肌.png"));
    EXPECT_TRUE(HasMeshFileMagic(bytes));
    MeshContent back;
    ASSERT_TRUE(Succeeded(DecodeMeshFile(bytes, "model.mesh", back)));
    ASSERT_EQ(back.vertices.size(), 4u);
    EXPECT_EQ(std::memcmp(back.vertices.data(), original.vertices.data(), 4 * sizeof(_MESH_VERTEX)), 0);
    EXPECT_TRUE(std::signbit(back.vertices[0].ny));  // -0 stays -0
    ASSERT_EQ(back.subMeshes.size(), 1u);
    EXPECT_EQ(back.subMeshes[0].indices, original.subMeshes[0].indices);
    EXPECT_EQ(back.subMeshes[0].indexCount, 5);
    EXPECT_EQ(back.subMeshes[0].materialNumber, 1);
    EXPECT_EQ(back.subMeshes[0].windingFlag, 1);
    ASSERT_EQ(back.materials.size(), 2u);
    EXPECT_EQ(back.materials[0].textureNumber, -1);
    EXPECT_EQ(back.materials[1].textureNumber, 0);
    EXPECT_EQ(back.materials[0].power, 12.5f);
    EXPECT_EQ(back.materials[1].ambient.g, 0.6f);
    EXPECT_EQ(back.materials[1].emissive.b, 0.03f);
    EXPECT_EQ(back.textureNames, original.textureNames);
    EXPECT_EQ(EncodeMeshFile(back), bytes);
}

TEST(MeshFile, LayoutIsLittleEndianAsDocumented)
{
    const std::string bytes = Encoded();
    EXPECT_EQ(bytes.substr(0, 8), std::string("M3DMESH\0", 8));
    EXPECT_EQ(bytes.substr(kVersionAt, 4), std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(bytes.substr(kVertexCountAt, 16), std::string("\x04\0\0\0\x01\0\0\0\x02\0\0\0\x01\0\0\0", 16));
    // Vertex 1: x = 1.0f = 0x3F800000.
    EXPECT_EQ(bytes.substr(kVerticesAt + 32, 4), std::string("\x00\x00\x80\x3F", 4));
    EXPECT_EQ(bytes.substr(kSubMeshAt, 8), std::string("\x05\x00\x01\x01\x00\x00\x00\x00", 8));
    EXPECT_EQ(bytes.substr(kSubMeshAt + 8, 4), std::string("\x00\x00\x01\x00", 4));
    EXPECT_EQ(bytes.substr(kMaterialsAt + 68, 2), std::string("\xFF\xFF", 2));
    EXPECT_EQ(uint8_t(bytes[kTexturesAt]), std::strlen("肌.png"));
}

TEST(MeshFile, EveryTruncatedPrefixFails)
{
    const std::string bytes = Encoded();
    for (size_t n = 0; n < bytes.size(); ++n) {
        // A fresh allocation of exactly n bytes lets the address sanitizer see any overread.
        std::unique_ptr<char[]> prefix(new char[n == 0 ? 1 : n]);
        std::memcpy(prefix.get(), bytes.data(), n);
        MeshContent out;
        Outcome outcome;
        EXPECT_FALSE((outcome = DecodeMeshFile(std::string_view(prefix.get(), n), "cut.mesh", out))) << "prefix " << n;
        EXPECT_EQ(outcome.Message().rfind("cut.mesh: byte ", 0), 0u) << outcome.Message();
    }
}

TEST(MeshFile, HeaderVersionAndTrailingBytesAreChecked)
{
    std::string bytes = Encoded();
    bytes[3] = 'X';
    ExpectRejected(bytes, 0, "bad magic");
    EXPECT_FALSE(HasMeshFileMagic(bytes));

    bytes = Encoded();
    Put32(bytes, kVersionAt, 2);
    ExpectRejected(bytes, kVersionAt, "unsupported version 2");

    bytes = Encoded() + '\0';
    ExpectRejected(bytes, bytes.size() - 1, "1 bytes after the end");
}

TEST(MeshFile, CountsBeyondTheFileAreRefusedBeforeAllocating)
{
    std::string bytes = Encoded();
    Put32(bytes, kVertexCountAt, 0xFFFFFFFFu);
    ExpectRejected(bytes, kVertexCountAt, "only");
    bytes = Encoded();
    Put32(bytes, kVertexCountAt + 4, 0x10000000u);  // sub-meshes
    ExpectRejected(bytes, kVertexCountAt, "only");
    bytes = Encoded();
    Put32(bytes, kVertexCountAt + 8, 129);  // materials
    ExpectRejected(bytes, 20, "129 materials");
    bytes = Encoded();
    Put32(bytes, kVertexCountAt + 12, 40000);  // textures
    ExpectRejected(bytes, 24, "40000 textures");
}

TEST(MeshFile, IndicesMaterialsAndTexturesMustExist)
{
    std::string bytes = Encoded();
    Put16(bytes, kSubMeshAt + 8 + 6, 4);  // index 3 of the strip: vertex 4 of 4
    ExpectRejected(bytes, kSubMeshAt + 8 + 6, "vertex 4 out of range");

    bytes = Encoded();
    Put32(bytes, kSubMeshAt + 4, 1);  // base vertex 1 pushes index 3 to vertex 4
    ExpectRejected(bytes, kSubMeshAt + 8 + 6, "vertex 4 out of range");

    bytes = Encoded();
    bytes[kSubMeshAt + 2] = 2;
    ExpectRejected(bytes, kSubMeshAt + 2, "material 2 does not exist");
    bytes[kSubMeshAt + 2] = char(-1);
    ExpectRejected(bytes, kSubMeshAt + 2, "material -1 does not exist");

    bytes = Encoded();
    Put16(bytes, kMaterialsAt + kMaterialBytes + 68, 1);
    ExpectRejected(bytes, kMaterialsAt + kMaterialBytes + 68, "texture 1 does not exist");
    Put16(bytes, kMaterialsAt + kMaterialBytes + 68, uint16_t(-2));
    ExpectRejected(bytes, kMaterialsAt + kMaterialBytes + 68, "texture -2 does not exist");
}

TEST(MeshFile, StripRecordsMustBeDrawable)
{
    std::string bytes = Encoded();
    bytes[kSubMeshAt + 3] = 2;
    ExpectRejected(bytes, kSubMeshAt + 3, "winding flag 2");

    // Two indices make no triangle (and would underflow a "count - 2" loop).
    MeshContent c = SmallContent();
    c.subMeshes[0].indices = {0, 1};
    c.subMeshes[0].indexCount = 2;
    ExpectRejected(EncodeMeshFile(c), kSubMeshAt, "2 indices");
}

TEST(MeshFile, FloatsMustBeFinite)
{
    std::string bytes = Encoded();
    Put32(bytes, kVerticesAt + 32 + 12, 0x7FC00000u);  // vertex 1, nx = NaN
    ExpectRejected(bytes, kVerticesAt + 32 + 12, "not a finite number");
    bytes = Encoded();
    Put32(bytes, kMaterialsAt + 64, 0x7F800000u);  // material 0, power = +inf
    ExpectRejected(bytes, kMaterialsAt + 64, "not a finite number");
}

TEST(MeshFile, TextureNamesMustBePlainFileNames)
{
    for (const std::string& name : {std::string("../evil.png"), std::string("a\\b.png"), std::string(".."),
                                    std::string("bad\xFF.png"), std::string(61, 'x')}) {
        MeshContent c = SmallContent();
        c.textureNames = {name};
        ExpectRejected(EncodeMeshFile(c), kTexturesAt, "texture name");
    }
    // 30 two-byte characters are exactly 60 Shift-JIS bytes (90 in UTF-8): accepted.
    MeshContent c = SmallContent();
    std::string name;
    for (int i = 0; i < 30; ++i) name += "肌";
    c.textureNames = {name};
    MeshContent out;
    EXPECT_TRUE(Succeeded(DecodeMeshFile(EncodeMeshFile(c), "model.mesh", out)));
}

TEST(MeshFile, EmptyMeshIsValid)
{
    MeshContent out;
    ASSERT_TRUE(Succeeded(DecodeMeshFile(EncodeMeshFile(MeshContent{}), "empty.mesh", out)));
    EXPECT_TRUE(out.vertices.empty());
    EXPECT_TRUE(out.subMeshes.empty());
}

}  // namespace
