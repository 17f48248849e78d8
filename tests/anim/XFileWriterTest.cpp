#include "anim/XFileWriter.h"
#include "anim/XFileText.h"
#include "anim/XMeshWriter.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <locale>
#include <string>

using namespace m3d;

namespace {

_MESH_VERTEX Vertex(float x, float y, float z, float nx, float ny, float nz, float u, float v)
{
    _MESH_VERTEX out;
    out.x = x, out.y = y, out.z = z;
    out.nx = nx, out.ny = ny, out.nz = nz;
    out.tu = u, out.tv = v;
    return out;
}

_MESH_MESHDATA Strip(std::vector<uint16_t> indices, int material, int flag, uint32_t baseVertex = 0)
{
    _MESH_MESHDATA out;
    out.indexCount = static_cast<uint16_t>(indices.size());
    out.indices = std::move(indices);
    out.materialNumber = static_cast<int8_t>(material);
    out.windingFlag = static_cast<uint8_t>(flag);
    out.baseVertex = baseVertex;
    return out;
}

_MESH_MATERIAL Material(ColorValue diffuse, float power, ColorValue specular, ColorValue emissive, int texture)
{
    _MESH_MATERIAL out;
    out.diffuse = diffuse;
    out.power = power;
    out.specular = specular;
    out.emissive = emissive;
    out.textureNumber = static_cast<int16_t>(texture);
    return out;
}

XAnimationKey Key(int64_t time, float x, float y, float z)
{
    XAnimationKey key;
    key.time = time;
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1};
    std::copy(identity, identity + 16, key.values);
    return key;
}

// Two Parts (body with a child arm), body with a textured and a plain material
// and a strip with degenerate triangles, arm with a base vertex; two motions.
XFileContent SmallModel()
{
    XFrame body;
    body.name = "body";
    body.transform = MatrixTranslation(0, 10, 0);
    body.mesh.vertices = {
        Vertex(0, 0, 0, 0, 0, -1, 0, 0),
        Vertex(1, 0, 0, 0, 1.5f, 0, 1, 0),
        Vertex(0, 1, 0, std::numeric_limits<float>::quiet_NaN(), -1, 0, 0, 1),
        Vertex(1, 1, 0, 0.5f, 0.25f, -1.25f, 1, 1),
        Vertex(0.5f, 2, -0.1f, 0, 0, 1, 0.5f, 0.75f),
    };
    body.mesh.subMeshes = {Strip({0, 1, 2, 3}, 0, 0), Strip({2, 3, 3, 4, 1}, 1, 1)};
    body.mesh.materials = {Material({1, 0.5f, 0.25f, 1}, 5, {0.1f, 0.1f, 0.1f, 1}, {0, 0, 0, 1}, 0),
                           Material({0.2f, 0.4f, 0.6f, 0.5f}, 12.5f, {0, 0, 0, 1}, {0.25f, 0, 0, 1}, -1)};
    body.mesh.textureNames = {"skin.png", ""};

    XFrame arm;
    arm.name = "arm";
    arm.transform = MatrixTranslation(2, 0, 0);
    arm.mesh.vertices = {Vertex(9, 9, 9, 0, 0, 0, 0, 0), Vertex(0, 0, 0, 1, 0, 0, 0, 0),
                         Vertex(0, -3, 0, 1, 0, 0, 0, 0), Vertex(0, 0, 1, 1, 0, 0, 0, 0)};
    arm.mesh.subMeshes = {Strip({0, 1, 2}, 0, 0, 1)};
    arm.mesh.materials = {Material({1, 1, 1, 1}, 0, {0, 0, 0, 1}, {0, 0, 0, 1}, -1)};
    arm.mesh.textureNames = {""};
    arm.depth = 1;

    XFileContent content;
    content.frames = {body, arm};
    XAnimationSet wave{
        "wave", {{"body", {Key(0, 0, 10, 0), Key(6000, 0, 11, 0)}}, {"arm", {Key(0, 2, 0, 0), Key(6000, 2, 0, 0)}}}};
    XAnimationSet walk{"walk", {{"body", {Key(0, 0, 10, 0)}}, {"arm", {Key(0, 2, 0, 0)}}}};
    content.animationSets = {wave, walk};
    return content;
}

// The expected file, written line by line from the format's rules.
const char* const kExpected = R"(xof 0303txt 0032
//  Marionettica3D generated file
//  Exported by the Marionettica3D editor: part frames, meshes and one matrix-key animation set per motion.
//  Questions and reports: see the documentation that comes with Marionettica3D.

template XSkinMeshHeader {
 <3cf169ce-ff7c-44ab-93c0-f78f62d172e2>
 WORD nMaxSkinWeightsPerVertex;
 WORD nMaxSkinWeightsPerFace;
 WORD nBones;
}

template VertexDuplicationIndices {
 <b8d65549-d7c9-4995-89cf-53a9a8b031e3>
 DWORD nIndices;
 DWORD nOriginalVertices;
 array DWORD indices[nIndices];
}

template SkinWeights {
 <6f0d123b-bad2-4167-a0d0-80224f25fabb>
 STRING transformNodeName;
 DWORD nWeights;
 array DWORD vertexIndices[nWeights];
 array FLOAT weights[nWeights];
 Matrix4x4 matrixOffset;
}

AnimTicksPerSecond {
 4800;
}


Frame root {

 FrameTransformMatrix {
  1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000;;
 }
 Frame Frame_body {

  FrameTransformMatrix {
   1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,10.000000,0.000000,1.000000;;
  }
  Mesh body {
   5;
   0.000000;0.000000;0.000000;,
   1.000000;0.000000;0.000000;,
   0.000000;1.000000;0.000000;,
   1.000000;1.000000;0.000000;,
   0.500000;2.000000;-0.100000;;
   3;
   3;0,1,2;,
   3;3,2,1;,
   3;1,4,3;;

   MeshMaterialList {
    2;
    3;
    0,
    0,
    1;
    Material {
     1.000000;0.500000;0.250000;1.000000;;
     5.000000;
     0.100000;0.100000;0.100000;;
     0.000000;0.000000;0.000000;;
     TextureFilename {
      "skin.png";
     }
    }
    Material {
     0.200000;0.400000;0.600000;0.500000;;
     12.500000;
     0.000000;0.000000;0.000000;;
     0.250000;0.000000;0.000000;;
    }
   }
   MeshNormals {
    5;
    0.000000;0.000000;-1.000000;,
    0.000000;0.000000;0.000000;,
    0.000000;-1.000000;0.000000;,
    0.500000;0.250000;0.000000;,
    0.000000;0.000000;1.000000;;
    3;
    3;0,1,2;,
    3;3,2,1;,
    3;1,4,3;;
   }
   MeshTextureCoords {
    5;
    0.000000;0.000000;,
    1.000000;0.000000;,
    0.000000;1.000000;,
    1.000000;1.000000;,
    0.500000;0.750000;;
   }
  }
  Frame Frame_arm {

   FrameTransformMatrix {
    1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,2.000000,0.000000,0.000000,1.000000;;
   }
   Mesh arm {
    4;
    9.000000;9.000000;9.000000;,
    0.000000;0.000000;0.000000;,
    0.000000;-3.000000;0.000000;,
    0.000000;0.000000;1.000000;;
    1;
    3;1,2,3;;

    MeshMaterialList {
     1;
     1;
     0;
     Material {
      1.000000;1.000000;1.000000;1.000000;;
      0.000000;
      0.000000;0.000000;0.000000;;
      0.000000;0.000000;0.000000;;
     }
    }
    MeshNormals {
     4;
     0.000000;0.000000;0.000000;,
     1.000000;0.000000;0.000000;,
     1.000000;0.000000;0.000000;,
     1.000000;0.000000;0.000000;;
     1;
     3;1,2,3;;
    }
    MeshTextureCoords {
     4;
     0.000000;0.000000;,
     0.000000;0.000000;,
     0.000000;0.000000;,
     0.000000;0.000000;;
    }
   }
  }
 }
}
AnimationSet wave {
 Animation body {
  { Frame_body }
  AnimationKey {
   4;
   2;
   0;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,10.000000,0.000000,1.000000;;,
   6000;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,11.000000,0.000000,1.000000;;;
  }
 }
 Animation arm {
  { Frame_arm }
  AnimationKey {
   4;
   2;
   0;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,2.000000,0.000000,0.000000,1.000000;;,
   6000;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,2.000000,0.000000,0.000000,1.000000;;;
  }
 }
}
AnimationSet walk {
 Animation body {
  { Frame_body }
  AnimationKey {
   4;
   1;
   0;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,10.000000,0.000000,1.000000;;;
  }
 }
 Animation arm {
  { Frame_arm }
  AnimationKey {
   4;
   1;
   0;16;1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,2.000000,0.000000,0.000000,1.000000;;;
  }
 }
}
)";

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// First differing line, for a readable failure.
std::string FirstDifference(const std::string& actual, const std::string& expected)
{
    size_t line = 1, i = 0;
    while (i < actual.size() && i < expected.size() && actual[i] == expected[i]) {
        if (actual[i] == '\n') ++line;
        ++i;
    }
    const size_t a = actual.rfind('\n', i == 0 ? 0 : i - 1), e = expected.rfind('\n', i == 0 ? 0 : i - 1);
    const size_t from = (a == std::string::npos ? 0 : a + 1);
    const size_t efrom = (e == std::string::npos ? 0 : e + 1);
    return "line " + std::to_string(line) + ":\n  got      [" + actual.substr(from, actual.find('\n', i) - from) +
           "]\n  expected [" + expected.substr(efrom, expected.find('\n', i) - efrom) + "]";
}

TEST(XFileWriter, WritesTheSmallModelByteForByte)
{
    const std::string actual = WriteXFileText(SmallModel());
    const std::string expected = WithCrLf(kExpected);
    EXPECT_EQ(actual, expected) << FirstDifference(actual, expected);
}

TEST(XFileWriter, NumbersIgnoreTheUserLocale)
{
    // A decimal comma in the C++ global locale (always possible) and in the C
    // locale (when such a locale is installed) must not leak into the file.
    struct DecimalComma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new DecimalComma));
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    const std::string actual = WriteXFileText(SmallModel());
    std::setlocale(LC_NUMERIC, "C");
    std::locale::global(previous);
    EXPECT_EQ(actual, WithCrLf(kExpected));
}

TEST(XFaceList, StripOfFiveGivesThreeFacesWithAlternatingWinding)
{
    XMeshData mesh;
    mesh.subMeshes = {Strip({10, 11, 12, 13, 14}, 0, 0)};
    const std::vector<XFace> faces = XFaceList(mesh);
    ASSERT_EQ(faces.size(), 3u);
    const uint32_t expected[3][3] = {{10, 11, 12}, {13, 12, 11}, {12, 13, 14}};
    for (int f = 0; f < 3; ++f)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(faces[f].corners[c], expected[f][c]) << "face " << f << " corner " << c;
}

TEST(XFaceList, ReversedStartDegeneratesAndBaseVertex)
{
    XMeshData mesh;
    // Flag 1 reverses the first triangle; the three degenerate triangles are
    // skipped but still flip the winding, so the next real one is reversed.
    mesh.subMeshes = {Strip({0, 1, 2, 2, 2, 5, 6}, 3, 1, 100)};
    const std::vector<XFace> faces = XFaceList(mesh);
    ASSERT_EQ(faces.size(), 2u);
    const uint32_t expected[2][3] = {{102, 101, 100}, {106, 105, 102}};
    for (int f = 0; f < 2; ++f) {
        EXPECT_EQ(faces[f].material, 3);
        for (int c = 0; c < 3; ++c) EXPECT_EQ(faces[f].corners[c], expected[f][c]) << "face " << f << " corner " << c;
    }
}

TEST(XFaceList, IndexCountBeyondTheIndicesIsNotRead)
{
    XMeshData mesh;
    _MESH_MESHDATA strip = Strip({0, 1, 2}, 0, 0);
    strip.indexCount = 40;  // claims more than it holds
    mesh.subMeshes = {strip};
    EXPECT_EQ(XFaceList(mesh).size(), 1u);
}

TEST(XFileWriter, EmptyMeshLeavesTheFrameWithoutAMeshBlock)
{
    XFileContent content;
    XFrame frame;
    frame.name = "empty";
    content.frames.push_back(frame);
    const std::string text = WriteXFileText(content);
    EXPECT_NE(text.find("Frame Frame_empty {"), std::string::npos);
    EXPECT_EQ(text.find("Mesh "), std::string::npos);
}

}  // namespace

TEST(XFileText, FloatsAreWrittenExactlyAsPrintfWritesThem)
{
    std::vector<float> values = {0.0f,
                                 -0.0f,
                                 1.0f,
                                 -1.0f,
                                 0.5f,
                                 0.0078125f,
                                 -0.0078125f,
                                 0.0000005f,
                                 -0.0000004f,
                                 1e-7f,
                                 123456.789f,
                                 3.4028235e38f,
                                 -3.4028235e38f,
                                 9.0e12f,
                                 1.0e13f,
                                 2.5e-6f,
                                 0.9999995f,
                                 -0.9999996f,
                                 std::numeric_limits<float>::denorm_min(),
                                 std::numeric_limits<float>::infinity()};
    // Random bit patterns cover every exponent; random small values the usual range.
    uint32_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1664525u + 1013904223u;
        float v;
        const uint32_t bits = state;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isnan(v)) values.push_back(v);
        values.push_back(static_cast<float>(static_cast<int32_t>(state)) / 2147483648.0f * 1000.0f);
    }
    for (float v : values) {
        XFileText text;
        text.AddFloat(v);
        char expected[512];
        std::snprintf(expected, sizeof expected, "%f", static_cast<double>(v));
        ASSERT_EQ(text.Text(), expected) << "bits of the value: " << std::hexfloat << v;
    }
}
