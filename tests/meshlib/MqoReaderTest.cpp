#include "MqoTestSupport.h"
#include "meshlib/MqoReader.h"
#include "support/OutcomeAssertions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace m3d;

using namespace mqotest;

namespace {

const char* const kHeader = "Metasequoia Document\nFormat Text Ver 1.1\n";

// A file with one visible object around the given vertex and face lines.
std::string ObjectFile(const std::string& vertices, const std::string& faces, const std::string& settings = "",
                       const std::string& before = "")
{
    auto count = [](const std::string& lines) {
        size_t n = 0;
        for (char c : lines) n += c == '\n';
        return std::to_string(n);
    };
    return std::string(kHeader) + before + "Object \"obj\" {\n" + settings + "\tvertex " + count(vertices) + " {\n" +
           vertices + "\t}\n\tface " + count(faces) + " {\n" + faces + "\t}\n}\nEof\n";
}

LoadedModel MustRead(const std::string& text)
{
    LoadedModel m;
    EXPECT_TRUE(Succeeded(ReadMqo(text, "test.mqo", m)));
    return m;
}

const std::string kSquare = "0 0 0\n0 1 0\n1 1 0\n1 0 0\n";

}  // namespace

TEST(MqoReader, ClockwiseFromTheModelersFrontFacesMinusZ)
{
    // Seen from +Z (the modeler's front), origin -> up -> right turns clockwise.
    const LoadedModel m = MustRead(ObjectFile("0 0 5\n0 1 5\n1 0 5\n", "3 V(0 1 2)\n"));
    ASSERT_EQ(TriangleCount(m), 1u);
    // Z is negated and the corner order kept.
    EXPECT_EQ(m.vertices[m.indices[0]].z, -5.0f);
    EXPECT_EQ(PositionOf(m, m.indices[1]).y, 1.0f);
    const Vec3 front = Normalize(TriangleCross(m, 0));
    EXPECT_NEAR(front.z, -1.0f, 1e-6);
    EXPECT_NEAR(NormalOf(m, m.indices[0]).z, -1.0f, 1e-6);
}

TEST(MqoReader, QuadSplitsAlongCornersZeroAndTwoUnlessThatTurnsATriangleOver)
{
    const LoadedModel convex = MustRead(ObjectFile(kSquare, "4 V(0 1 2 3) UV(0 0 0 1 1 1 1 0)\n", "\tshading 0\n"));
    ASSERT_EQ(TriangleCount(convex), 2u);
    // Flat square: the four corners stay four vertices in file order.
    const auto corner = [&](size_t i) { return PositionOf(convex, convex.indices[i]); };
    EXPECT_EQ(corner(0), (Vec3{0, 0, 0}));
    EXPECT_EQ(corner(1), (Vec3{0, 1, 0}));
    EXPECT_EQ(corner(2), (Vec3{1, 1, 0}));
    EXPECT_EQ(corner(3), (Vec3{1, 1, 0}));
    EXPECT_EQ(corner(4), (Vec3{1, 0, 0}));
    EXPECT_EQ(corner(5), (Vec3{0, 0, 0}));
    EXPECT_EQ(convex.vertices[convex.indices[1]].tv, 1.0f);
    EXPECT_EQ(convex.vertices[convex.indices[4]].tu, 1.0f);

    // An arrowhead whose reflex corner is corner 2: the 0-2 diagonal runs outside.
    const LoadedModel concave = MustRead(ObjectFile("0 0 0\n1 3 0\n1 1 0\n2 0 0\n", "4 V(0 1 2 3)\n"));
    ASSERT_EQ(TriangleCount(concave), 2u);
    for (size_t t = 0; t < 2; ++t) EXPECT_LT(TriangleCross(concave, t).z, 0.0f) << t;
}

TEST(MqoReader, ConcaveAndSeamPolygonsAreEarClipped)
{
    // A U shape (8 corners, two reflex) and a square with a square hole joined
    // by a seam that visits corners 0 and 4 twice (12 corners).
    const std::string u = "0 0 0\n0 3 0\n1 3 0\n1 1 0\n2 1 0\n2 3 0\n3 3 0\n3 0 0\n";
    const std::string hole = "0 0 0\n0 4 0\n4 4 0\n4 0 0\n1 1 0\n3 1 0\n3 3 0\n1 3 0\n";
    for (const auto& [vertices, face, area] : {std::tuple{u, std::string("8 V(0 1 2 3 4 5 6 7)\n"), 7.0},
                                               std::tuple{hole, std::string("10 V(0 1 2 3 0 4 5 6 7 4)\n"), 12.0}}) {
        const LoadedModel m = MustRead(ObjectFile(vertices, face));
        const size_t corners = size_t(std::stoul(face));
        ASSERT_EQ(TriangleCount(m), corners - 2);
        double sum = 0;
        for (size_t t = 0; t < TriangleCount(m); ++t) {
            const Vec3 c = TriangleCross(m, t);
            EXPECT_LE(c.z, 1e-6f) << "triangle " << t << " is turned over";
            sum += -c.z / 2;
        }
        // No overlap: the triangles add up to the polygon's area.
        EXPECT_NEAR(sum, area, 1e-5);
    }
}

TEST(MqoReader, SmoothingComparesEachFacePairWithTheFacetAngle)
{
    // Two triangles folded 90 degrees along the shared edge 0-1.
    const std::string hinge = "0 0 0\n0 1 0\n1 0 0\n0 0 1\n";
    const std::string faces = "3 V(0 1 2)\n3 V(1 0 3)\n";
    const LoadedModel sharp = MustRead(ObjectFile(hinge, faces, "\tshading 1\n\tfacet 89\n"));
    EXPECT_EQ(sharp.vertices.size(), 6u);
    const LoadedModel smooth = MustRead(ObjectFile(hinge, faces, "\tshading 1\n\tfacet 91\n"));
    EXPECT_EQ(smooth.vertices.size(), 4u);
    // The faces point to -Z and +X; the shared corners get their bisector.
    for (const _MESH_VERTEX& v : smooth.vertices) {
        if (v.x == 0 && v.z == 0) {
            EXPECT_NEAR(v.nx, std::sqrt(0.5f), 1e-5);
            EXPECT_NEAR(v.nz, -std::sqrt(0.5f), 1e-5);
        }
    }
    const LoadedModel flat = MustRead(ObjectFile(hinge, faces, "\tshading 0\n\tfacet 180\n"));
    EXPECT_EQ(flat.vertices.size(), 6u);
}

TEST(MqoReader, CornersDifferingInTextureCoordinatesGetTheirOwnVertex)
{
    // Two coplanar triangles share an edge; one corner of that edge has a UV seam.
    const std::string faces = "3 V(0 1 2) UV(0 0 0 1 1 1)\n3 V(0 2 3) UV(0.5 0 1 1 1 0)\n";
    const LoadedModel m = MustRead(ObjectFile(kSquare, faces));
    EXPECT_EQ(m.vertices.size(), 5u);
    // Faces without UV get (0, 0) at every corner.
    const LoadedModel none = MustRead(ObjectFile(kSquare, "4 V(0 1 2 3)\n"));
    for (const _MESH_VERTEX& v : none.vertices) EXPECT_TRUE(v.tu == 0 && v.tv == 0);
}

TEST(MqoReader, MaterialsFollowTheFileAndMissingKeysTakeTheModelerDefaults)
{
    const std::string materials =
        "Material 3 {\n"
        "\t\"full\" col(0.5 0.25 1 0.5) dif(0.5) amb(0.25) emi(1) spc(0.75) power(20) tex(\"sub\\a b.png\")\n"
        "\t\"bare\" col(1 0.5 0.25 1) unknown(1 2 \"x)\") \n"
        "\t\"\x83\x7B\x83\x5C\"\n"  // ボソ in Shift-JIS
        "}\n";
    const std::string faces = "3 V(0 1 2) M(1)\n3 V(0 2 3)\n3 V(0 1 3) M(7)\n";
    const LoadedModel m = MustRead(ObjectFile(kSquare, faces, "", materials));
    ASSERT_EQ(m.materials.size(), 4u);  // three from the file and the default
    const ModelMaterial& full = m.materials[0];
    EXPECT_FLOAT_EQ(full.diffuse.r, 0.25f);
    EXPECT_FLOAT_EQ(full.diffuse.g, 0.125f);
    EXPECT_FLOAT_EQ(full.diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(full.ambient.b, 0.25f);
    EXPECT_FLOAT_EQ(full.emissive.g, 0.25f);
    EXPECT_FLOAT_EQ(full.specular.g, 0.75f);
    EXPECT_FLOAT_EQ(full.power, 20.0f);
    EXPECT_EQ(full.texturePath, "sub\\a b.png");
    const ModelMaterial& bare = m.materials[1];
    EXPECT_FLOAT_EQ(bare.diffuse.g, 0.5f * 0.8f);
    EXPECT_FLOAT_EQ(bare.ambient.b, 0.25f * 0.6f);
    EXPECT_FLOAT_EQ(bare.emissive.r, 0.0f);
    EXPECT_FLOAT_EQ(bare.specular.r, 0.0f);
    EXPECT_FLOAT_EQ(bare.power, 5.0f);
    EXPECT_EQ(bare.texturePath, "");
    EXPECT_EQ(m.materials[2].name, "ボソ");
    // M(1) keeps its number; no M and an M beyond the list go to the default.
    EXPECT_EQ(m.triangleMaterials, (std::vector<uint32_t>{1, 3, 3}));
}

TEST(MqoReader, Utf8CodePageAndVersionOnePointTwoKeepTextAsIs)
{
    const std::string material = "Material 1 {\n\t\"ボソ\" tex(\"テクスチャ.png\")\n}\n";
    const std::string faces = "3 V(0 1 2) M(0)\n";
    const LoadedModel byCodePage = MustRead(ObjectFile(kSquare, faces, "", "CodePage utf8\n" + material));
    EXPECT_EQ(byCodePage.materials[0].name, "ボソ");
    EXPECT_EQ(byCodePage.materials[0].texturePath, "テクスチャ.png");
    std::string v12 = ObjectFile(kSquare, faces, "", material);
    v12.replace(v12.find("1.1"), 3, "1.2");
    EXPECT_EQ(MustRead(v12).materials[0].name, "ボソ");
}

TEST(MqoReader, HiddenObjectsLinesAndUnknownChunksAreSkipped)
{
    const std::string text = std::string(kHeader) +
                             "thumbnail 2 2 24 rgb raw {\n\tinner {\n\t}\n00FF00\n}\n"  // names ignore case; nesting
                             "Blob 1 {\n\tData [4]\n}}{\n}\n"                           // a binary run full of braces
                             "IncludeXml \"x.mqx\"\n"
                             "OBJECT \"helper\" {\n\tvisible 0\n\tvertex 3 {\n0 0 0\n1 0 0\n0 1 0\n\t}\n"
                             "\tface 1 {\n3 V(0 1 2)\n\t}\n}\n"
                             "Object \"shown\" {\n\tvisible 15\n\tvertexattr {\n\t\tuid {\n1\n\t\t}\n\t}\n"
                             "\tvertex 3 {\r\n\t\t0 0 0\r\n\t\t+2 -0 0\r\n\t\t6.12323426e-17 2 0\r\n\t}\n"
                             "\tface 2 {\n\t\t2 V(0 1)\n\t\t3 V(0 2 1) UID(4) COL(1 2 3) CRS(0 0 0)\n\t}\n}\n";
    const LoadedModel m = MustRead(text);  // no Eof either
    ASSERT_EQ(TriangleCount(m), 1u);
    EXPECT_EQ(PositionOf(m, m.indices[2]).x, 2.0f);
}

TEST(MqoReader, MirrorOnAPlaneSharesVerticesAndReversesTheCopy)
{
    // A quad touching x = 0, mirrored across X: 6 positions, two quads facing -Z.
    const std::string settings = "\tmirror 1\n\tmirror_axis 1\n\tshading 0\n";
    const LoadedModel m = MustRead(ObjectFile(kSquare, "4 V(0 1 2 3) UV(0 0 0 1 1 1 1 0)\n", settings));
    ASSERT_EQ(TriangleCount(m), 4u);
    EXPECT_EQ(m.vertices.size(), 6u);
    for (size_t t = 0; t < 4; ++t) EXPECT_LT(TriangleCross(m, t).z, 0.0f) << t;
    // The UVs travel with their corners: (-1, 1) had (1, 1).
    for (const _MESH_VERTEX& v : m.vertices) {
        if (v.x == -1 && v.y == 1) {
            EXPECT_TRUE(v.tu == 1 && v.tv == 1);
        }
    }
}

TEST(MqoReader, MaterialCountIsLimitedByTheSignedByteNumber)
{
    auto withMaterials = [&](int count) {
        std::string chunk = "Material " + std::to_string(count) + " {\n";
        for (int i = 0; i < count; ++i) chunk += "\t\"m" + std::to_string(i) + "\"\n";
        return ObjectFile(kSquare, "3 V(0 1 2) M(0)\n", "", chunk + "}\n");
    };
    EXPECT_EQ(MustRead(withMaterials(128)).materials.size(), 128u);
    LoadedModel m;
    Outcome outcome;
    EXPECT_FALSE((outcome = ReadMqo(withMaterials(129), "many.mqo", m)));
    EXPECT_NE(outcome.Message().find("129 materials"), std::string::npos) << outcome.Message();
    EXPECT_TRUE(m.materials.empty());
    // A chunk that announces fewer is refused at its 129th material, before storing more.
    std::string understated = withMaterials(129);
    understated.replace(understated.find("Material 129"), 12, "Material 1");
    const size_t at = understated.find("\"m128\"");
    const std::string line = std::to_string(1 + std::count(understated.begin(), understated.begin() + long(at), '\n'));
    EXPECT_FALSE((outcome = ReadMqo(understated, "many.mqo", m)));
    EXPECT_EQ(outcome.Message(), "many.mqo:" + line + ": more than 128 materials; at most 128 are supported");
}
