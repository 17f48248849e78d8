#include "MqoTestSupport.h"
#include "meshlib/MqoMirror.h"
#include "meshlib/MqoParser.h"
#include "meshlib/MqoReader.h"
#include "support/OutcomeAssertions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <tuple>

using namespace m3d;

using namespace mqotest;

namespace {

LoadedModel Load(const std::string& fileName)
{
    LoadedModel model;
    EXPECT_TRUE(Succeeded(ReadMqoFile(DataPath(fileName), model)));
    return model;
}

MqoDocument Parse(const std::string& fileName)
{
    MqoDocument doc;
    EXPECT_TRUE(Succeeded(ParseMqoDocument(ReadDataFile(fileName), fileName, doc)));
    return doc;
}

using Point = std::tuple<float, float, float>;

Point Key(Vec3 p) { return {p.x + 0.0f, p.y + 0.0f, p.z + 0.0f}; }

}  // namespace

// Triangle counts follow from the files: quads x 2 + triangles + (n - 2) per
// larger polygon of the visible objects, mirror copies included, lines and
// hidden objects left out.
TEST(MqoRealFiles, EveryFileLoadsWithTheExpectedCounts)
{
    struct Case {
        const char* file;
        size_t triangles;
        size_t materials;
    };
    const Case cases[] = {
        {"texture.mqo", 6 * 2, 1},
        {"mirrored_multiple_axes.mqo", 4 * 2, 1},  // the default material only
        {"wild_dsan.mqo", 1668 * 2 + 32, 10},
        {"d-chan2.mqo", 4 * 15 * 2 + 2 * (16 + 48 * 2) + 2 * (16 + 34 * 2) + 2 * (16 + 64 * 2), 3},
        {"d-chan3.mqo", 15 * 2 + 2 * (16 + 48 * 2) + 2 * (16 + 34 * 2) + 2 * (16 + 64 * 2), 3},
        {"autocsg_sample.mqo", 970, 2},
        {"Plant1.mqo", 5080, 7},
        {"cylinder2.mqo", 24 * 2 + 16, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const LoadedModel m = Load(c.file);
        EXPECT_EQ(TriangleCount(m), c.triangles);
        EXPECT_EQ(m.triangleMaterials.size(), c.triangles);
        EXPECT_EQ(m.materials.size(), c.materials);
        for (uint32_t material : m.triangleMaterials) ASSERT_LT(material, m.materials.size());
        for (uint32_t index : m.indices) ASSERT_LT(index, m.vertices.size());
        for (const _MESH_VERTEX& v : m.vertices)
            ASSERT_NEAR(std::sqrt(v.nx * v.nx + v.ny * v.ny + v.nz * v.nz), 1.0, 1e-4);
    }
}

TEST(MqoRealFiles, TextureCubeFacesOutwardWithSharpEdgesAndItsMaterial)
{
    const LoadedModel m = Load("texture.mqo");
    EXPECT_GT(OutwardScore(m), 0.0);
    // 90-degree edges against facet 59.5: each of the 8 corners splits three ways.
    EXPECT_EQ(m.vertices.size(), 24u);
    for (size_t t = 0; t < TriangleCount(m); ++t) {
        const Vec3 faceNormal = Normalize(TriangleCross(m, t));
        for (int k = 0; k < 3; ++k) EXPECT_GT(Dot(NormalOf(m, m.indices[3 * t + k]), faceNormal), 0.9999f);
    }
    const ModelMaterial& mat = m.materials[0];
    EXPECT_EQ(mat.name, "mat1");
    EXPECT_EQ(mat.texturePath, "texture.png");
    EXPECT_NEAR(mat.diffuse.r, 1.000f * 0.863f, 1e-6);
    EXPECT_NEAR(mat.diffuse.g, 0.282f * 0.863f, 1e-6);
    EXPECT_NEAR(mat.diffuse.b, 0.298f * 0.863f, 1e-6);
    EXPECT_NEAR(mat.diffuse.a, 0.762f, 1e-6);
    EXPECT_NEAR(mat.ambient.g, 0.282f * 0.625f, 1e-6);
    EXPECT_NEAR(mat.emissive.b, 0.298f * 0.325f, 1e-6);
    EXPECT_NEAR(mat.specular.r, 0.325f, 1e-6);
    EXPECT_NEAR(mat.power, 3.75f, 1e-6);
}

TEST(MqoRealFiles, CylinderSmoothsItsSidesAndKeepsItsRimsSharp)
{
    const LoadedModel m = Load("cylinder2.mqo");
    EXPECT_GT(OutwardScore(m), 0.0);
    const float top = 97.1473f, bottom = 3.8917f;
    size_t sideRing = 0, capCorners = 0, rimSideCorners = 0;
    for (const _MESH_VERTEX& v : m.vertices) {
        const Vec3 n{v.nx, v.ny, v.nz};
        const float radius = std::hypot(v.x, v.z);
        if (radius < 1.0f) {  // cap centres
            EXPECT_NEAR(n.y, v.y > 50 ? 1.0f : -1.0f, 1e-5);
            continue;
        }
        const Vec3 radial{v.x / radius, 0, v.z / radius};
        if (v.y != top && v.y != bottom) {
            // Between two rings every side face is within 72.5 degrees: the
            // normal is the radial direction, not one face's.
            EXPECT_GT(Dot(n, radial), 0.9999f);
            ++sideRing;
        } else if (std::fabs(n.y) > 0.5f) {
            // A cap corner on the rim: straight up or down, no side face mixed in.
            EXPECT_NEAR(n.y, v.y == top ? 1.0f : -1.0f, 1e-5);
            ++capCorners;
        } else {
            // A side corner on the rim: horizontal, no cap mixed in.
            EXPECT_NEAR(n.y, 0.0f, 1e-5);
            EXPECT_GT(Dot(n, radial), 0.9999f);
            ++rimSideCorners;
        }
    }
    EXPECT_GE(sideRing, 16u);
    EXPECT_GE(capCorners, 16u);
    EXPECT_GE(rimSideCorners, 16u);
}

TEST(MqoRealFiles, MirroredQuadMakesFourOutwardQuads)
{
    const LoadedModel m = Load("mirrored_multiple_axes.mqo");
    ASSERT_EQ(TriangleCount(m), 8u);
    EXPECT_EQ(m.vertices.size(), 16u);
    std::set<std::pair<int, int>> quadrants;
    for (size_t t = 0; t < TriangleCount(m); ++t) {
        const Vec3 centre = (PositionOf(m, m.indices[3 * t]) + PositionOf(m, m.indices[3 * t + 1]) +
                             PositionOf(m, m.indices[3 * t + 2])) *
                            (1.0f / 3.0f);
        const Vec3 front = TriangleCross(m, t);
        // The quads lie in the planes x = +-100 and face away from the mirror plane.
        EXPECT_GT(front.x * centre.x, 0.0f) << "triangle " << t;
        EXPECT_NEAR(std::fabs(centre.x), 100.0f, 1e-3);
        quadrants.insert({centre.x > 0, centre.y > 0});
    }
    EXPECT_EQ(quadrants.size(), 4u);
    // The file has no material: one default material, used by every face.
    EXPECT_NEAR(m.materials[0].diffuse.r, 0.8f, 1e-6);
    EXPECT_NEAR(m.materials[0].ambient.r, 0.6f, 1e-6);
    EXPECT_NEAR(m.materials[0].power, 5.0f, 1e-6);
}

TEST(MqoRealFiles, DChan2BodyIsMirroredAcrossYAndZIntoFourCopies)
{
    MqoDocument doc = Parse("d-chan2.mqo");
    ASSERT_EQ(doc.objects.size(), 7u);  // six hidden helpers skipped
    MqoObject& body = doc.objects[0];
    ASSERT_EQ(body.mirrorAxes, 6u);
    const std::vector<Vec3> original = body.positions;
    const size_t originalFaces = body.FaceCount();
    ASSERT_TRUE(ExpandMirror(body));
    EXPECT_EQ(body.FaceCount(), originalFaces * 4);

    std::set<Point> expected;
    for (Vec3 p : original)
        for (float sy : {1.0f, -1.0f})
            for (float sz : {1.0f, -1.0f}) expected.insert(Key({p.x, p.y * sy, p.z * sz}));
    std::set<Point> actual;
    for (Vec3 p : body.positions) actual.insert(Key(p));
    EXPECT_EQ(actual, expected);
    // On-plane vertices are shared, not duplicated.
    EXPECT_EQ(body.positions.size(), expected.size());
}

TEST(MqoRealFiles, DChan3BinaryVerticesMatchTheRawBytes)
{
    const std::string bytes = ReadDataFile("d-chan3.mqo");
    std::set<Point> decoded;
    size_t blocks = 0;
    for (size_t at = bytes.find("Vector "); at != std::string::npos; at = bytes.find("Vector ", at + 1)) {
        const size_t open = bytes.find('[', at), close = bytes.find(']', at);
        const size_t size = std::stoul(bytes.substr(open + 1, close - open - 1));
        const size_t data = bytes.find('\n', close) + 1;
        ASSERT_LE(data + size, bytes.size());
        for (size_t off = 0; off + 12 <= size; off += 12) {
            float xyz[3];
            std::memcpy(xyz, bytes.data() + data + off, 12);  // the test machine is little-endian
            decoded.insert(Key({xyz[0], xyz[1], -xyz[2]}));
        }
        ++blocks;
        at = data + size;
    }
    EXPECT_EQ(blocks, 7u);
    const LoadedModel m = Load("d-chan3.mqo");
    std::set<Point> loaded;
    for (uint32_t i = 0; i < m.vertices.size(); ++i) loaded.insert(Key(PositionOf(m, i)));
    EXPECT_EQ(loaded, decoded);
}

TEST(MqoRealFiles, WildDsanDecodesItsShiftJisTexturePathAndSkipsHelpers)
{
    const LoadedModel m = Load("wild_dsan.mqo");
    ASSERT_EQ(m.materials.size(), 10u);
    EXPECT_EQ(m.materials[0].texturePath, "C:\\Users\\空条承太郎\\mqo_loader\\image\\tex1.jpg");
    EXPECT_EQ(m.materials[5].name, "ArmA[]");
    EXPECT_NEAR(m.materials[5].diffuse.a, 0.74f, 1e-6);
    // Only the visible body: the hidden rig objects add nothing.
    const MqoDocument doc = Parse("wild_dsan.mqo");
    ASSERT_EQ(doc.objects.size(), 1u);
    ASSERT_EQ(doc.objects[0].positions.size(), 1696u);
    std::set<Point> used, loaded;
    for (uint32_t v : doc.objects[0].cornerVertex) used.insert(Key(doc.objects[0].positions[v]));
    for (uint32_t i = 0; i < m.vertices.size(); ++i) loaded.insert(Key(PositionOf(m, i)));
    EXPECT_EQ(loaded, used);
}

TEST(MqoRealFiles, CharacterFrontFacesMinusZ)
{
    // The eyes sit on the front of the head; the modeler's front is +Z, ours -Z.
    const MqoDocument doc = Parse("d-chan2.mqo");
    const auto meanZ = [](const MqoObject& o) {
        double z = 0;
        for (Vec3 p : o.positions) z += p.z;
        return z / double(o.positions.size());
    };
    const double bodyZ = meanZ(doc.objects[0]);
    EXPECT_LT(meanZ(doc.objects[1]), bodyZ);  // right eye
    EXPECT_LT(meanZ(doc.objects[2]), bodyZ);  // left eye
}

TEST(MqoRealFiles, ConcavePolygonsAreCutWithoutInvertedOrOverlappingTriangles)
{
    const MqoDocument doc = Parse("autocsg_sample.mqo");
    ASSERT_EQ(doc.objects.size(), 1u);
    const MqoObject& o = doc.objects[0];
    const LoadedModel m = Load("autocsg_sample.mqo");
    size_t t = 0, largePolygons = 0;
    for (size_t f = 0; f < o.FaceCount(); ++f) {
        const uint32_t begin = o.faceStart[f], n = o.faceStart[f + 1] - begin;
        double nx = 0, ny = 0, nz = 0;
        for (uint32_t k = 0; k < n; ++k) {
            const Vec3 a = o.positions[o.cornerVertex[begin + k]];
            const Vec3 b = o.positions[o.cornerVertex[begin + (k + 1) % n]];
            nx += (double(a.y) - b.y) * (double(a.z) + b.z);
            ny += (double(a.z) - b.z) * (double(a.x) + b.x);
            nz += (double(a.x) - b.x) * (double(a.y) + b.y);
        }
        const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
        if (n >= 5) ++largePolygons;
        // The triangles of a polygon must all face its way and, since none may
        // overlap, their areas must add up to the polygon's.
        double area = 0;
        for (uint32_t k = 0; k + 2 < n; ++k, ++t) {
            ASSERT_LT(t, TriangleCount(m));
            const Vec3 c = TriangleCross(m, t);
            const double along = (c.x * nx + c.y * ny + c.z * nz) / length;
            EXPECT_GE(along, -1e-3 * length) << "face " << f << " triangle " << k << " of " << n;
            area += std::sqrt(double(Dot(c, c)));
        }
        if (n >= 5) {
            EXPECT_NEAR(area, length, 1e-3 * length + 1e-3) << "face " << f << " with " << n << " corners";
        }
    }
    EXPECT_EQ(t, TriangleCount(m));
    EXPECT_EQ(largePolygons, 81u);
}

TEST(MqoRealFiles, LineEndsDoNotMatter)
{
    for (const char* file : {"texture.mqo", "cylinder2.mqo", "d-chan3.mqo"}) {
        SCOPED_TRACE(file);
        const std::string original = ReadDataFile(file);
        std::string lf, crlf;
        // d-chan3's binary runs must stay byte for byte, so only its text is
        // converted: the reader must find the runs from the sizes either way.
        size_t i = 0;
        while (i < original.size()) {
            const size_t end = original.find('\n', i);
            const size_t stop = end == std::string::npos ? original.size() : end;
            std::string line = original.substr(i, stop - i);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            lf += line;
            crlf += line;
            if (end == std::string::npos) break;
            lf += "\n";
            crlf += "\r\n";
            i = end + 1;
            const size_t open = line.rfind('['), close = line.rfind(']');
            if (line.find("Vector") != std::string::npos && open != std::string::npos && close + 1 == line.size()) {
                const size_t size = std::stoul(line.substr(open + 1, close - open - 1));
                lf += original.substr(i, size);
                crlf += original.substr(i, size);
                i += size;
            }
        }
        LoadedModel a, b;
        ASSERT_TRUE(Succeeded(ReadMqo(lf, "lf.mqo", a)));
        ASSERT_TRUE(Succeeded(ReadMqo(crlf, "crlf.mqo", b)));
        ASSERT_EQ(a.vertices.size(), b.vertices.size());
        EXPECT_EQ(0, std::memcmp(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(_MESH_VERTEX)));
        EXPECT_EQ(a.indices, b.indices);
        EXPECT_EQ(a.triangleMaterials, b.triangleMaterials);
        EXPECT_EQ(TriangleCount(a), TriangleCount(Load(file)));
    }
}
