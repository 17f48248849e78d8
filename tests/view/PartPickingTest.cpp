#include "view/PartPicking.h"
#include "view/EditTestScene.h"
#include "editor/EditorSession.h"

#include <gtest/gtest.h>

#include <random>

using namespace m3d;

namespace {

// Corners of a triangle in the plane z = 5 that runs clockwise seen from -Z.
const Vec3 kA{0, 0, 5}, kB{0, 4, 5}, kC{4, 0, 5};
const Ray kTowardsPlusZ{{1, 1, -10}, {0, 0, 1}};

TEST(PickTriangle, OnlyAFacingTriangleInFrontOfTheOriginIsHit)
{
    Vec3 hit;
    ASSERT_TRUE(IntersectFacingTriangle(kA, kB, kC, kTowardsPlusZ, hit));
    EXPECT_EQ(hit.x, 1);
    EXPECT_EQ(hit.z, 5);
    // The same corners the other way round face +Z: seen from behind.
    EXPECT_FALSE(IntersectFacingTriangle(kC, kB, kA, kTowardsPlusZ, hit));
    // Facing the origin but behind it.
    EXPECT_FALSE(IntersectFacingTriangle(kA, kB, kC, {{1, 1, -10}, {0, 0, -1}}, hit));
    // Parallel to the plane.
    EXPECT_FALSE(IntersectFacingTriangle(kA, kB, kC, {{1, 1, -10}, {1, 0, 0}}, hit));
    // Beyond the hypotenuse, and exactly on the line of an edge.
    EXPECT_FALSE(IntersectFacingTriangle(kA, kB, kC, {{3, 3, -10}, {0, 0, 1}}, hit));
    EXPECT_FALSE(IntersectFacingTriangle(kA, kB, kC, {{0, 2, -10}, {0, 0, 1}}, hit));
    EXPECT_TRUE(IntersectFacingTriangle(kA, kB, kC, {{0.01f, 2, -10}, {0, 0, 1}}, hit));
}

// Margin of the quick box tests for these small coordinates.
const float kMargin = PickMargin(kTowardsPlusZ, {0, 0, 0}, {50, 50, 50});

// Vertices 0 1 2 form a triangle facing -Z in order, 1 2 3 one facing -Z reversed.
std::vector<Vec3> StripVertices() { return {{0, 0, 5}, {0, 4, 5}, {4, 0, 5}, {4, 4, 5}}; }

_MESH_MESHDATA Strip(std::vector<uint16_t> indices, uint8_t windingFlag, uint32_t baseVertex = 0)
{
    _MESH_MESHDATA strip;
    strip.indexCount = static_cast<uint16_t>(indices.size());
    strip.indices = std::move(indices);
    strip.windingFlag = windingFlag;
    strip.baseVertex = baseVertex;
    return strip;
}

TEST(PickStrip, OddTrianglesRunReversedAndTheFlagSwapsThat)
{
    const Ray throughSecond{{3, 3, -10}, {0, 0, 1}};  // only inside triangle 1 2 3
    float best = kNoHitDistance;
    EXPECT_TRUE(NearestHitInStrip(Strip({0, 1, 2, 3}, 0), StripVertices(), throughSecond, {3, 3, -10}, best, kMargin));
    EXPECT_FLOAT_EQ(best, 15);
    best = kNoHitDistance;
    EXPECT_FALSE(NearestHitInStrip(Strip({0, 1, 2, 3}, 1), StripVertices(), throughSecond, {3, 3, -10}, best, kMargin));
    // With the flag the first triangle is reversed: the ray through it misses.
    best = kNoHitDistance;
    EXPECT_FALSE(NearestHitInStrip(Strip({0, 1, 2, 3}, 1), StripVertices(), kTowardsPlusZ, {}, best, kMargin));
    // A degenerate join still counts for the parity: 0 1 2 is triangle 1 here.
    best = kNoHitDistance;
    EXPECT_FALSE(NearestHitInStrip(Strip({0, 0, 1, 2}, 0), StripVertices(), kTowardsPlusZ, {}, best, kMargin));
    EXPECT_TRUE(NearestHitInStrip(Strip({0, 0, 2, 1}, 0), StripVertices(), kTowardsPlusZ, {}, best, kMargin));
}

TEST(PickStrip, IndicesCountFromTheBaseVertexAndStayInsideTheVertices)
{
    std::vector<Vec3> vertices(3, Vec3{50, 50, 50});
    for (Vec3 v : StripVertices()) vertices.push_back(v);
    float best = kNoHitDistance;
    EXPECT_TRUE(
        NearestHitInStrip(Strip({0, 1, 2}, 0, 3), vertices, kTowardsPlusZ, kTowardsPlusZ.origin, best, kMargin));
    // A farther hit does not replace a nearer one, an equal one neither.
    EXPECT_FALSE(
        NearestHitInStrip(Strip({0, 1, 2}, 0, 3), vertices, kTowardsPlusZ, kTowardsPlusZ.origin, best, kMargin));
    best = kNoHitDistance;
    EXPECT_FALSE(
        NearestHitInStrip(Strip({0, 1, 2}, 0, 5), vertices, kTowardsPlusZ, kTowardsPlusZ.origin, best, kMargin));
    _MESH_MESHDATA shortStrip = Strip({0, 1, 2}, 0, 3);
    shortStrip.indexCount = 40;  // claims more than it holds
    EXPECT_TRUE(NearestHitInStrip(shortStrip, vertices, kTowardsPlusZ, kTowardsPlusZ.origin, best, kMargin));
}

TEST(PickStrip, TheQuickBoxTestsTurnAwayNoHit)
{
    // A long strip of random triangles in a 200-unit box far from the origin,
    // and rays from all sides through points on them, some grazing.
    std::mt19937 random(11);
    std::uniform_real_distribution<float> coordinate(900.0f, 1100.0f), unit(-1.0f, 1.0f), weight(0.0f, 1.0f);
    std::vector<Vec3> vertices;
    for (int i = 0; i < 300; ++i) vertices.push_back({coordinate(random), coordinate(random), coordinate(random)});
    std::vector<uint16_t> indices(300);
    for (int i = 0; i < 300; ++i) indices[i] = static_cast<uint16_t>(i);
    const _MESH_MESHDATA strip = Strip(indices, 0);
    int hits = 0;
    for (int r = 0; r < 3000; ++r) {
        const int t = r % 298;
        const float u = weight(random), v = weight(random) * (1 - u);
        const Vec3 target = vertices[t] + (vertices[t + 1] - vertices[t]) * u + (vertices[t + 2] - vertices[t]) * v;
        const Vec3 direction = Normalize({unit(random), unit(random), unit(random)});
        const Ray ray{target - direction * (r % 2 ? 2000.0f : 3.0f), direction};
        float expected = kNoHitDistance;
        for (int m = 0; m + 2 < 300; ++m) {
            const bool inOrder = m % 2 == 0;
            Vec3 hit;
            if (IntersectFacingTriangle(vertices[inOrder ? m : m + 2], vertices[m + 1], vertices[inOrder ? m + 2 : m],
                                        ray, hit))
                expected = std::min(expected, Length(hit - ray.origin));
        }
        float best = kNoHitDistance;
        NearestHitInStrip(strip, vertices, ray, ray.origin, best, PickMargin(ray, {900, 900, 900}, {1100, 1100, 1100}));
        ASSERT_EQ(best, expected) << r;
        hits += expected < kNoHitDistance;
    }
    EXPECT_GT(hits, 1000);
}

// A perspective view 3 looking from eye along +Z at a 400 x 300 viewport.
struct PickScene {
    PickScene(Vec3 eye = {0, 0, -50})
    {
        session.Views().SetRenderSize(804, 600);
        View& v = session.Views().views[3];
        v.type = ViewType::Pers;
        v.eye = eye;
        v.target = eye + Vec3{0, 0, 100};
    }
    int PickCentre()
    {
        const PixelRect r = session.Views().views[3].rect;
        const Ray ray = session.Views().PixelToRay(3, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return picker.Pick(scene, ray, session.Views().views[3].eye);
    }
    TempFolder folder;
    EditorSession session;
    Scene& scene = session.GetScene();
    PartPicker picker;
};

TEST(PickParts, TheNearestHitWinsAndTiesKeepTheEarlierPart)
{
    PickScene s;
    AddModelPart(s.scene, s.folder, CubeModel(5), -1, {0, 0, 100});
    const int nearer = AddModelPart(s.scene, s.folder, CubeModel(5), -1, {0, 0, 50});
    EXPECT_EQ(s.PickCentre(), nearer);
    AddModelPart(s.scene, s.folder, CubeModel(5), -1, {0, 0, 50});
    EXPECT_EQ(s.PickCentre(), nearer);
}

TEST(PickParts, FromInsideAPartTheOneBehindItsFarWallIsPicked)
{
    PickScene s;
    AddModelPart(s.scene, s.folder, CubeModel(200), -1);
    const int behind = AddModelPart(s.scene, s.folder, CubeModel(10), -1, {0, 0, 300});
    EXPECT_EQ(s.PickCentre(), behind);
}

TEST(PickParts, APartBehindTheEyeIsNotUnderTheCursor)
{
    PickScene s({0, 0, 0});
    AddModelPart(s.scene, s.folder, CubeModel(10), -1, {0, 0, -300});
    EXPECT_EQ(s.PickCentre(), -1);
    // Turned to look at it, the camera finds it.
    s.session.Views().views[3].target = {0, 0, -100};
    EXPECT_EQ(s.PickCentre(), 0);
}

}  // namespace
