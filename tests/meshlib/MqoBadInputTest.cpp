#include "MqoTestSupport.h"
#include "meshlib/MqoReader.h"
#include "support/ResourceLimits.h"

#include <gtest/gtest.h>

#include <memory>

using namespace m3d;

using namespace mqotest;

namespace {

struct ReadResult {
    bool ok = false;
    std::string error;
    LoadedModel model;
};

ReadResult Read(const std::string& text)
{
    ReadResult r;
    const Outcome read = ReadMqo(text, "bad.mqo", r.model);
    r.ok = read.Ok();
    r.error = read.Message();
    return r;
}

// Reading must fail, leave the model empty and say where and why.
void ExpectFailure(const std::string& text, const std::string& place, const std::string& reason)
{
    const ReadResult r = Read(text);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.model.vertices.empty() && r.model.indices.empty() && r.model.materials.empty());
    EXPECT_EQ(r.error.rfind("bad.mqo" + place, 0), 0u) << r.error;
    EXPECT_NE(r.error.find(reason), std::string::npos) << r.error;
}

const std::string kHeader = "Metasequoia Document\nFormat Text Ver 1.0\n";

std::string Object(const std::string& vertexChunk, const std::string& faceChunk)
{
    return kHeader + "Object \"o\" {\n" + vertexChunk + faceChunk + "}\nEof\n";
}

const std::string kTriangle = "\tvertex 3 {\n\t\t0 0 0\n\t\t1 0 0\n\t\t0 1 0\n\t}\n";

}  // namespace

TEST(MqoBadInput, EveryTruncatedPrefixIsReadSafely)
{
    // A small file with every kind of chunk the reader handles, binary run included.
    std::string bvertex = "\tBVertex 3 {\n\t\tVector 3 [36]\n";
    const float xyz[9] = {0, 0, 0, 1, 0, 0, 0, 1, 0};
    bvertex.append(reinterpret_cast<const char*>(xyz), sizeof xyz);
    bvertex += "\n\t}\n";
    const std::string full = kHeader +
                             "Scene {\n\tpos 0 0 1500\n\tdirlights 1 {\n\t\tlight {\n\t\t}\n\t}\n}\n"
                             "Material 1 {\n\t\"m\" col(1 0.5 0.5 1) dif(0.8) tex(\"t.png\")\n}\n"
                             "Object \"a\" {\n\tmirror 1\n\tmirror_axis 1\n" +
                             bvertex + "\tface 2 {\n\t\t3 V(0 1 2) M(0) UV(0 0 1 0 0 1)\n\t\t2 V(0 1)\n\t}\n}\n" +
                             "Object \"b\" {\n" + kTriangle + "\tface 1 {\n\t\t3 V(0 2 1)\n\t}\n}\nEof\n";
    ASSERT_TRUE(Read(full).ok) << Read(full).error;
    const size_t fullTriangles = TriangleCount(Read(full).model);
    size_t succeeded = 0;
    for (size_t length = 0; length < full.size(); ++length) {
        // A fresh buffer of exactly this size, so the address sanitizer sees any overread.
        std::unique_ptr<char[]> buffer(new char[length]);
        std::copy(full.data(), full.data() + length, buffer.get());
        LoadedModel model;
        const Outcome read = ReadMqo(std::string_view(buffer.get(), length), "cut.mqo", model);
        if (read) {
            ++succeeded;
            // Cut after the first object (within an unknown word) or in the last lines.
            const size_t triangles = TriangleCount(model);
            EXPECT_TRUE(triangles == 2 || triangles == fullTriangles) << length;
        } else {
            EXPECT_EQ(read.Message().rfind("cut.mqo", 0), 0u) << read.Message();
        }
    }
    EXPECT_LE(succeeded, 20u);
}

TEST(MqoBadInput, IndicesAndCountsThatDisagreeWithTheData)
{
    ExpectFailure(Object(kTriangle, "\tface 1 {\n\t\t3 V(0 1 3)\n\t}\n"), ":10:", "vertex index 3 out of range");
    ExpectFailure(Object(kTriangle, "\tface 1 {\n\t\t3 V(0 1 -1)\n\t}\n"), ":10:", "bad vertex index");
    ExpectFailure(Object(kTriangle, "\tface 1 {\n\t\t4 V(0 1 2)\n\t}\n"), ":10:", "announces 4 corners");
    ExpectFailure(Object(kTriangle, "\tface 1 {\n\t\t3 V(0 1 2) UV(0 0 1 1)\n\t}\n"), ":10:", "two numbers per corner");
    ExpectFailure(Object(kTriangle, "\tface 2 {\n\t\t3 V(0 1 2)\n\t}\n"), ":11:", "announces 2 faces but holds 1");
    ExpectFailure(Object(kTriangle, "\tface 1 {\n\t\t3 M(0)\n\t}\n"), ":10:", "without V");
    ExpectFailure(Object("\tvertex 4 {\n\t\t0 0 0\n\t}\n", ""), ":6:", "announces 4 vertices but holds 1");
    ExpectFailure(Object("\tvertex 1 {\n\t\t0 0\n\t}\n", ""), ":5:", "three finite numbers");
    ExpectFailure(kHeader + "Material 2 {\n\t\"a\"\n}\n", ":5:", "announces 2 materials but holds 1");
    ExpectFailure(kHeader + "Material 1 {\n\tname col(1)\n}\n", ":4:", "name in quotes");
    ExpectFailure(kHeader + "Material 1 {\n\t\"a\" col(1 1)\n}\n", ":4:", "'col'");
    ExpectFailure(Object("\tBVertex 3 {\n\t\tVector 3 [35]\n", ""), ":5:", "12 bytes");
    ExpectFailure(Object("\tBVertex 3 {\n\t\tVector 3 [36]\n\t}\n", ""), ":5:", "runs past the end");
    ExpectFailure(Object(kTriangle + kTriangle, ""), ":9:", "only one vertex chunk");
}

TEST(MqoBadInput, NumbersThatAreNotFiniteOrTooLarge)
{
    for (const char* bad : {"nan", "inf", "-inf", "1e39", "2e9", "1.0x", "0x10"}) {
        SCOPED_TRACE(bad);
        ExpectFailure(Object("\tvertex 1 {\n\t\t0 " + std::string(bad) + " 0\n\t}\n", ""), ":5:", "vertex");
    }
    ExpectFailure(Object(kTriangle, "\tface 1 {\n\t\t3 V(0 1 2) UV(0 0 nan 0 0 0)\n\t}\n"), ":10:", "UV");
    ExpectFailure(Object(kTriangle, "\tface 99999999999 {\n"), ":9:", "face count");
    // Binary coordinates are checked as well.
    std::string bvertex = "\tBVertex 1 {\n\t\tVector 1 [12]\n";
    const uint32_t bits[3] = {0, 0x7FC00000u, 0};  // a NaN
    bvertex.append(reinterpret_cast<const char*>(bits), sizeof bits);
    ExpectFailure(Object(bvertex + "\n\t}\n", ""), ":5:", "out of range");
}

TEST(MqoBadInput, HugeCountsAreNotTrusted)
{
    // Reserving for the announced counts would take gigabytes; the reader must
    // fail on the short data within a small part of that.
    EXPECT_TRUE(RunWithAddressSpaceLimit(size_t(1) << 30, [] {
        ExpectFailure(Object("\tvertex 2000000000 {\n\t\t0 0 0\n\t}\n", ""), ":6:", "2000000000 vertices");
        ExpectFailure(Object(kTriangle, "\tface 4000000000 {\n\t\t3 V(0 1 2)\n\t}\n"), ":11:", "4000000000 faces");
        ExpectFailure(kHeader + "Material 4000000000 {\n}\n", ":3:", "4000000000 materials");
        ExpectFailure(Object("\tBVertex 300000000 {\n\t\tVector 300000000 [3600000000]\n", ""), ":5:", "runs past");
        ExpectFailure(kHeader + "Blob {\n\tData [18446744073709551616]\n}\n", ":4:", "runs past");
        return !::testing::Test::HasFailure();
    }));
}

TEST(MqoBadInput, FilesThisReaderRefuses)
{
    ExpectFailure("", ":1:", "empty");
    ExpectFailure("garbage\n\x01\x02\xFF", ":1:", "not an .mqo model");
    ExpectFailure("Metasequoia Document\n", ":1:", "format line is missing");
    ExpectFailure("Metasequoia Document\nFormat Compress Ver 1.0\n", ":2:", "compressed");
    ExpectFailure("Metasequoia Document\nFormat Zipped Ver 1.0\n", ":2:", "unknown format 'Zipped'");
    ExpectFailure("Metasequoia Document\nFormat Text Ver 3.0\n", ":2:", "unsupported format version");
    ExpectFailure(kHeader + "TrialNoise\n" + "Object \"o\" {\n" + kTriangle + "}\n", ":3:", "TrialNoise");
    ExpectFailure(kHeader + "Scene {\n\tpos 0 0 0\n", ":3:", "never closed");
    ExpectFailure(kHeader + "}\n", ":3:", "without an open chunk");
    ExpectFailure(kHeader + "Object \"o\" {\n" + kTriangle, ":3:", "Object chunk is never closed");
    ExpectFailure(kHeader + "Object o {\n}\n", ":3:", "Object \"name\"");
    ExpectFailure(Object(kTriangle, "\tmirror 3\n"), ":9:", "'mirror'");
    // Nothing visible to show: the user gets a reason instead of an invisible part.
    ExpectFailure(Object(kTriangle, "\tface 1 {\n\t\t2 V(0 1)\n\t}\n"), ":", "no visible faces");
    ExpectFailure(kHeader + "Object \"o\" {\n\tvisible 0\n" + kTriangle + "\tface 1 {\n\t\t3 V(0 1 2)\n\t}\n}\n", ":",
                  "no visible faces");
    // A face that walks round one triangle three times has no outline.
    ExpectFailure(Object(kTriangle, "\tface 2 {\n\t\t4 V(0 0 0 0)\n\t\t9 V(0 1 2 0 1 2 0 1 2)\n\t}\n"),
                  ": visible object 1, face 1:", "same few vertices");
}

TEST(MqoBadInput, DeepNestingAndLongPolygonsAreRead)
{
    std::string nested = kHeader;
    for (int i = 0; i < 100000; ++i) nested += "a {\n";
    ExpectFailure(nested, ":3:", "never closed");

    // A 5,000-corner outline (a comb, many reflex corners) is cut within the
    // ear clipper's budget, not in quadratic time.
    std::string vertices, face = "5000 V(";
    for (int i = 0; i < 2500; ++i) vertices += std::to_string(i) + " " + std::to_string(i % 2 ? 10 : 1) + " 0\n";
    for (int i = 2499; i >= 0; --i) vertices += std::to_string(i) + " 0 0\n";
    for (int i = 0; i < 5000; ++i) face += std::to_string(i) + (i + 1 < 5000 ? " " : ")\n");
    const std::string text =
        kHeader + "Object \"o\" {\n\tvertex 5000 {\n" + vertices + "\t}\n\tface 1 {\n" + face + "\t}\n}\n";
    // (What the cutting costs is bounded in GeometryPassesTest.)
    const ReadResult r = Read(text);
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_EQ(TriangleCount(r.model), 4998u);
}

TEST(MqoBadInput, ThousandsOfCornersOnOnePointAreWelded)
{
    // 60,000 triangles share vertex 0 with 30,000 different UVs there (what
    // that costs is bounded in GeometryPassesTest). Each UV comes twice, so
    // half the corners must find the vertex made before.
    std::string faces;
    const int count = 60000, distinct = count / 2;
    for (int i = 0; i < count; ++i) faces += "\t\t3 V(0 1 2) UV(" + std::to_string(i % distinct) + " 0 0 0 0 0)\n";
    const std::string text = kHeader + "Object \"o\" {\n\tshading 0\n" + kTriangle + "\tface " + std::to_string(count) +
                             " {\n" + faces + "\t}\n}\n";
    const ReadResult r = Read(text);
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.model.vertices.size(), size_t(distinct) + 2);
    for (size_t t = 0; t < TriangleCount(r.model); ++t)
        ASSERT_EQ(r.model.vertices[r.model.indices[3 * t]].tu, float(t % distinct)) << t;
}
