// The geometry passes on inputs large or crowded enough to take their bounded
// paths: indexed ear clipping with its budget, neighbours on crowded vertices,
// smoothing by direction cells, welding at a crowded position. Their costs are
// counted in steps rather than timed, so a loaded machine cannot fail them.
#include "meshlib/MeshTestSupport.h"
#include "meshlib/MqoNormals.h"
#include "meshlib/PolygonTriangulator.h"
#include "meshlib/Stripifier.h"
#include "meshlib/VertexWelder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

using namespace m3d;

using namespace meshtest;

namespace {

double Cross2(Vec3 a, Vec3 b, Vec3 c) { return double(b.x - a.x) * (c.y - a.y) - double(b.y - a.y) * (c.x - a.x); }

// Triangulates the outline (in the XY plane, counter-clockwise) and checks the
// count, the corner range and, for a simple outline, that every triangle keeps
// the winding and together they cover exactly the outline's area.
void ExpectCovers(const std::vector<Vec3>& outline, bool simple)
{
    const uint32_t n = uint32_t(outline.size());
    std::vector<uint32_t> corners(n);
    for (uint32_t i = 0; i < n; ++i) corners[i] = i;
    std::vector<uint32_t> out;
    PolygonTriangulator().Triangulate(outline, corners.data(), n, out);
    ASSERT_EQ(out.size(), 3 * size_t(n - 2));
    double area = 0, covered = 0;
    for (uint32_t i = 0; i < n; ++i) area += Cross2({}, outline[i], outline[(i + 1) % n]);
    for (size_t k = 0; k < out.size(); k += 3) {
        ASSERT_TRUE(out[k] < n && out[k + 1] < n && out[k + 2] < n);
        const double twice = Cross2(outline[out[k]], outline[out[k + 1]], outline[out[k + 2]]);
        if (simple) {
            ASSERT_GE(twice, -1e-9 * area) << "triangle " << k / 3 << " turned over";
        }
        covered += twice;
    }
    if (simple) {
        EXPECT_NEAR(covered, area, 1e-6 * area);
    }
}

std::vector<Vec3> Star(uint32_t points, float inner)
{
    std::vector<Vec3> outline;
    for (uint32_t i = 0; i < 2 * points; ++i) {
        const double angle = std::numbers::pi * i / points;
        const float r = i % 2 ? inner : 1.0f;
        outline.push_back({float(r * std::cos(angle)), float(r * std::sin(angle)), 0});
    }
    return outline;
}

}  // namespace

TEST(GeometryPasses, LargeOutlinesAreCutIntoNMinusTwoTrianglesCoveringThem)
{
    ExpectCovers(Star(1500, 1.0f), true);  // convex: 3,000 corners on a circle
    ExpectCovers(Star(1500, 0.7f), true);  // concave: every other corner pulled in

    // Outlines that cross themselves everywhere or walk round one triangle run
    // out of budget: still n - 2 triangles of corners in range.
    std::mt19937 random(3);
    std::uniform_real_distribution<float> coordinate(-1, 1);
    std::vector<Vec3> scribble(3000);
    for (Vec3& p : scribble) p = {coordinate(random), coordinate(random), 0};
    ExpectCovers(scribble, false);
    std::vector<Vec3> round;
    for (int i = 0; i < 30000; ++i) round.push_back(Star(3, 1.0f)[2 * (i % 3)]);
    ExpectCovers(round, false);
}

TEST(GeometryPasses, ACombAndACrowdedPointCostStepsInProportionToTheirSize)
{
    // A 5,000-corner comb (long rows of collinear corners): cut within the
    // budget, not in quadratic time.
    std::vector<Vec3> comb;
    for (int i = 0; i < 2500; ++i) comb.push_back({float(i), i % 2 ? 10.0f : 1.0f, 0});
    for (int i = 2499; i >= 0; --i) comb.push_back({float(i), 0, 0});
    std::vector<uint32_t> corners(comb.size()), out;
    for (uint32_t i = 0; i < corners.size(); ++i) corners[i] = i;
    PolygonTriangulator triangulator;
    triangulator.Triangulate(comb, corners.data(), uint32_t(comb.size()), out);
    EXPECT_EQ(out.size(), 3 * (comb.size() - 2));
    const uint64_t n = comb.size();
    EXPECT_LE(triangulator.LastWork(),
              PolygonTriangulator::kEarWorkPerCorner * n + PolygonTriangulator::kEarWorkFloor + 3 * n);

    // 60,000 corners on one point with 30,000 different UVs, each twice: a
    // list search there would look at about 900 million vertices.
    std::vector<_MESH_VERTEX> vertices;
    VertexWelder welder(vertices);
    const uint32_t key = welder.PositionKey(0, 0, 0);
    for (int i = 0; i < 60000; ++i) {
        _MESH_VERTEX v;
        v.tu = float(i % 30000);
        ASSERT_EQ(welder.Add(key, v), uint32_t(i % 30000));
    }
    EXPECT_LE(welder.Probes(), 60000u * 8);
}

TEST(GeometryPasses, TrianglesCrowdedOnOneVertexComeOutOnceEachWithTheirWinding)
{
    // A fan of 3,000 triangles round vertex 0, copies of one triangle and of
    // its reverse: every triangle meets thousands of others at a corner.
    LoadedModel model;
    model.materials.push_back(PlainMaterial());
    model.vertices.resize(3002);
    for (uint32_t k = 1; k <= 3000; ++k) model.indices.insert(model.indices.end(), {0, k, k + 1});
    for (int copy = 0; copy < 2000; ++copy) model.indices.insert(model.indices.end(), {0, 1, 2, 2, 1, 0});
    model.triangleMaterials.assign(model.indices.size() / 3, 0);
    const StripifiedGeometry g = Stripify(model.vertices, model.indices, model.triangleMaterials);
    EXPECT_EQ(DecodeStrips(g.subMeshes), ModelTriangles(model));
}

TEST(GeometryPasses, BusyVertexSmoothsAcrossGentleFacesAndNotAcrossTheRim)
{
    // A double cone of 600 faces at one apex (vertex 0): the upper faces lean
    // 20 degrees from +Y, the lower ones from -Y.
    MqoObject object;
    object.positions.push_back({0, 0, 0});
    constexpr uint32_t kSegments = 300;
    const float drop = float(std::tan(20 * std::numbers::pi / 180));
    for (uint32_t k = 0; k < kSegments; ++k) {
        const double angle = 2 * std::numbers::pi * k / kSegments;
        object.positions.push_back({float(std::cos(angle)), -drop, float(std::sin(angle))});
        object.positions.push_back({float(std::cos(angle)), drop, float(std::sin(angle))});
    }
    for (uint32_t k = 0; k < kSegments; ++k) {
        const uint32_t here = 1 + 2 * k, next = 1 + 2 * ((k + 1) % kSegments);
        object.cornerVertex.insert(object.cornerVertex.end(), {0, here, next, 0, next + 1, here + 1});
        object.faceStart.push_back(object.faceStart.back() + 3);
        object.faceStart.push_back(object.faceStart.back() + 3);
    }
    ASSERT_GT(2 * kSegments, kMaxPairwiseSmoothedFaces);
    std::vector<Vec3> faceNormals, cornerNormals;
    ComputeFaceNormals(object, faceNormals);
    ComputeCornerNormals(object, faceNormals, cornerNormals);
    for (uint32_t f = 0; f < 2 * kSegments; ++f) {
        const Vec3 n = cornerNormals[object.faceStart[f]];
        const float side = faceNormals[f].y > 0 ? 1.0f : -1.0f;
        ASSERT_NEAR(n.y, side, 1e-4) << "face " << f;
    }
}
