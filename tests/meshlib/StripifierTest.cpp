#include "meshlib/Stripifier.h"
#include "meshlib/StripTriangles.h"
#include "meshlib/MeshTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <numeric>
#include <tuple>

using namespace m3d;

using namespace meshtest;

namespace {

StripifiedGeometry StripifyModel(const LoadedModel& model)
{
    return Stripify(model.vertices, model.indices, model.triangleMaterials);
}

size_t TotalIndices(const StripifiedGeometry& g)
{
    size_t n = 0;
    for (const _MESH_MESHDATA& m : g.subMeshes) n += m.indexCount;
    return n;
}

// Every sub-mesh record is self-consistent and within the 16-bit limits.
void ExpectWellFormed(const StripifiedGeometry& g)
{
    for (const _MESH_MESHDATA& m : g.subMeshes) {
        ASSERT_EQ(m.indexCount, m.indices.size());
        ASSERT_GE(m.indexCount, 3);
        ASSERT_LE(m.windingFlag, 1);
        for (uint16_t i : m.indices) ASSERT_LT(size_t(m.baseVertex) + i, g.vertices.size());
    }
}

// Triangles by the positions of their corners, so models whose vertices were
// copied into windows still compare with the input.
std::vector<std::array<float, 10>> TrianglesByPosition(const std::vector<DrawnTriangle>& triangles,
                                                       const std::vector<_MESH_VERTEX>& vertices)
{
    std::vector<std::array<float, 10>> out;
    for (const DrawnTriangle& t : triangles) {
        std::array<float, 10> key{};
        // Rotate so the corner with the smallest position comes first (positions are unique).
        std::array<Vec3, 3> p = {Position(vertices[t.v[0]]), Position(vertices[t.v[1]]), Position(vertices[t.v[2]])};
        auto less = [](Vec3 a, Vec3 b) { return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z); };
        int first = 0;
        for (int k = 1; k < 3; ++k)
            if (less(p[k], p[first])) first = k;
        for (int k = 0; k < 3; ++k) {
            const Vec3 q = p[(first + k) % 3];
            key[3 * k] = q.x;
            key[3 * k + 1] = q.y;
            key[3 * k + 2] = q.z;
        }
        key[9] = float(t.material);
        out.push_back(key);
    }
    std::sort(out.begin(), out.end());
    return out;
}

TEST(Stripifier, GridKeepsEveryTriangleOnceWithItsOrientationAndStripsWell)
{
    const LoadedModel grid = MakeGrid(64, 48);
    const StripifiedGeometry g = StripifyModel(grid);
    ExpectWellFormed(g);
    EXPECT_EQ(g.vertices.size(), grid.vertices.size());
    EXPECT_EQ(DecodeStrips(g.subMeshes), ModelTriangles(grid));
    ASSERT_EQ(g.subMeshes.size(), 1u);
    const double perTriangle = double(TotalIndices(g)) / double(grid.triangleMaterials.size());
    EXPECT_LE(perTriangle, 1.6);
    std::printf("[ measured ] 64 x 48 grid: %.4f strip indices per triangle\n", perTriangle);
}

TEST(Stripifier, ClosedSurfaceStripsDoNotLoopAndKeepEveryFace)
{
    const LoadedModel sphere = MakeSphere(24, 16);
    const StripifiedGeometry g = StripifyModel(sphere);
    ExpectWellFormed(g);
    EXPECT_EQ(DecodeStrips(g.subMeshes), ModelTriangles(sphere));
    EXPECT_LE(double(TotalIndices(g)) / double(sphere.triangleMaterials.size()), 1.6);
}

TEST(Stripifier, MaterialsStayWithTheirTrianglesAndComeInOrder)
{
    const LoadedModel grid = MakeGrid(20, 10, 3);
    const StripifiedGeometry g = StripifyModel(grid);
    ExpectWellFormed(g);
    EXPECT_EQ(DecodeStrips(g.subMeshes), ModelTriangles(grid));
    ASSERT_EQ(g.subMeshes.size(), 3u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(g.subMeshes[k].materialNumber, k);
}

TEST(Stripifier, RandomSoupWithDegenerateAndDuplicateTriangles)
{
    std::mt19937 random(7);
    LoadedModel soup;
    soup.vertices.resize(40);
    for (int k = 0; k < 5; ++k) soup.materials.push_back(PlainMaterial());
    for (int t = 0; t < 600; ++t) {
        uint32_t a = random() % 40, b = random() % 40, c = random() % 40;
        if (t % 50 == 0) b = a;  // no area: dropped
        soup.indices.insert(soup.indices.end(), {a, b, c});
        soup.triangleMaterials.push_back(random() % 5);
    }
    // The same triangle twice and its reverse: three distinct faces to keep.
    soup.indices.insert(soup.indices.end(), {1, 2, 3, 1, 2, 3, 3, 2, 1});
    soup.triangleMaterials.insert(soup.triangleMaterials.end(), {0, 0, 0});
    const StripifiedGeometry g = StripifyModel(soup);
    ExpectWellFormed(g);
    size_t degenerate = 0;
    const std::vector<DrawnTriangle> drawn = DecodeStrips(g.subMeshes, &degenerate);
    EXPECT_EQ(drawn, ModelTriangles(soup));
    size_t real = 0;
    for (const _MESH_MESHDATA& m : g.subMeshes) real += CountStripFaces(m);
    EXPECT_EQ(real, drawn.size());
    EXPECT_EQ(real + degenerate, TotalIndices(g) - 2 * g.subMeshes.size());
}

TEST(Stripifier, JoinsStripsThroughDegenerateTrianglesWithTheRightParity)
{
    // Two separate triangles: the second starts at an odd strip position, so
    // one extra repeat keeps it the right way round.
    LoadedModel two;
    two.vertices.resize(6);
    two.indices = {0, 1, 2, 3, 4, 5};
    two.triangleMaterials = {0, 0};
    two.materials = {PlainMaterial()};
    const StripifiedGeometry g = StripifyModel(two);
    ASSERT_EQ(g.subMeshes.size(), 1u);
    const _MESH_MESHDATA& m = g.subMeshes[0];
    EXPECT_EQ(m.indexCount, 9);
    EXPECT_EQ(m.windingFlag, 0);
    size_t degenerate = 0;
    EXPECT_EQ(DecodeStrips(g.subMeshes, &degenerate), ModelTriangles(two));
    EXPECT_EQ(degenerate, 5u);
    EXPECT_EQ(CountStripFaces(m), 2);
}

TEST(StripTriangles, ReadsAlternatingWindingAndSkipsJoints)
{
    _MESH_MESHDATA m;
    m.indices = {10, 11, 12, 13, 13, 20, 20, 21, 22};
    m.indexCount = 9;
    m.windingFlag = 1;
    m.baseVertex = 100;
    std::vector<std::array<uint32_t, 3>> seen;
    ForEachStripTriangle(m, [&](uint32_t a, uint32_t b, uint32_t c) { seen.push_back({a, b, c}); });
    const std::vector<std::array<uint32_t, 3>> expected = {
        {112, 111, 110}, {111, 112, 113}, {122, 121, 120}};  // triangle 6 is even: reversed like triangle 0
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(CountStripFaces(m), 3);
    // A count larger than the stored indices reads only what is there.
    m.indexCount = 40;
    EXPECT_EQ(CountStripFaces(m), 3);
}

TEST(Stripifier, LongStripIsCutIntoSubMeshesWithinTheIndexLimit)
{
    // One row of 40,000 quads: a single strip of 80,002 indices, cut by the
    // vertex windows and by the index limit (a piece of exactly the limit).
    const LoadedModel row = MakeGrid(40000, 1);
    const StripifiedGeometry g = StripifyModel(row);
    ExpectWellFormed(g);
    EXPECT_GE(g.subMeshes.size(), 3u);
    bool fullPiece = false;
    for (const _MESH_MESHDATA& m : g.subMeshes) fullPiece |= m.indexCount == kMaxStripIndices;
    EXPECT_TRUE(fullPiece);
    EXPECT_EQ(TrianglesByPosition(DecodeStrips(g.subMeshes), g.vertices),
              TrianglesByPosition(ModelTriangles(row), row.vertices));
}

TEST(Stripifier, ModelBeyondSixteenBitVerticesUsesWindowsInPlace)
{
    // 300 x 300 quads: 90,601 vertices, stored row by row.
    const LoadedModel grid = MakeGrid(300, 300);
    const StripifiedGeometry g = StripifyModel(grid);
    ExpectWellFormed(g);
    EXPECT_EQ(g.vertices.size(), grid.vertices.size());  // neighbouring rows fit a window: no copies
    EXPECT_EQ(DecodeStrips(g.subMeshes), ModelTriangles(grid));
    bool nonZeroBase = false;
    for (const _MESH_MESHDATA& m : g.subMeshes) nonZeroBase |= m.baseVertex != 0;
    EXPECT_TRUE(nonZeroBase);
}

TEST(Stripifier, ScatteredLargeModelCopiesVerticesIntoWindows)
{
    // The same grid with its vertices shuffled: triangles reach across the
    // whole vertex list, so windows need copies.
    LoadedModel grid = MakeGrid(300, 300);
    std::vector<uint32_t> order(grid.vertices.size());
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(3));
    std::vector<_MESH_VERTEX> shuffled(grid.vertices.size());
    for (size_t i = 0; i < order.size(); ++i) shuffled[order[i]] = grid.vertices[i];
    grid.vertices = shuffled;
    for (uint32_t& i : grid.indices) i = order[i];

    const StripifiedGeometry g = StripifyModel(grid);
    ExpectWellFormed(g);
    EXPECT_GT(g.vertices.size(), grid.vertices.size());
    // The original vertices stay where they were.
    for (size_t i = 0; i < grid.vertices.size(); ++i) ASSERT_EQ(Position(g.vertices[i]), Position(grid.vertices[i]));
    std::vector<DrawnTriangle> expected = ModelTriangles(grid);
    EXPECT_EQ(TrianglesByPosition(DecodeStrips(g.subMeshes), g.vertices), TrianglesByPosition(expected, grid.vertices));
}

TEST(Stripifier, EmptyInputGivesNoSubMeshes)
{
    LoadedModel empty;
    empty.vertices.resize(3);
    EXPECT_TRUE(StripifyModel(empty).subMeshes.empty());
    empty.indices = {0, 0, 1};  // only a degenerate triangle
    empty.triangleMaterials = {0};
    EXPECT_TRUE(StripifyModel(empty).subMeshes.empty());
}

}  // namespace
