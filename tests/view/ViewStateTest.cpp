#include "view/ViewState.h"
#include "meshlib/CMesh.h"
#include "support/MatrixMatchers.h"
#include "support/SceneParts.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// Screen position (pixels from the viewport's top left) of a world point in view i.
Vec3 ToScreen(const ViewState& s, int i, Vec3 p)
{
    const Vec3 ndc = TransformCoord(p, s.ViewMatrix(i) * s.ProjectionMatrix(i));
    const PixelRect vp = s.Viewport(i);
    return {(ndc.x + 1) * 0.5f * vp.Width(), (1 - ndc.y) * 0.5f * vp.Height(), ndc.z};
}

ViewState MakeState()
{
    ViewState s;
    s.SetRenderSize(804, 600);
    return s;
}

TEST(ViewLayout, RectanglesFollowTheSplitWithAOnePixelGap)
{
    ViewState s = MakeState();
    EXPECT_EQ(s.views[0].rect.left, 0);
    EXPECT_EQ(s.views[0].rect.right, 398);
    EXPECT_EQ(s.views[1].rect.left, 401);
    EXPECT_EQ(s.views[1].rect.right, 800);
    EXPECT_EQ(s.views[2].rect.top, 301);
    EXPECT_EQ(s.views[2].rect.bottom, 600);
    EXPECT_EQ(s.views[0].rect.bottom, 298);
    EXPECT_EQ(s.SplitterBand().left, 398);
    EXPECT_EQ(s.SplitterBand().right, 401);
    // A frame client of 1000 x 800 gives a 910 x 600 render window.
    s.SetRenderSize(910, 600);
    EXPECT_EQ(s.views[0].rect.right, 451);
    EXPECT_EQ(s.views[1].rect.left, 454);
    EXPECT_EQ(s.views[3].rect.right, 906);
    s.splitX = 0.25f;
    s.UpdateViewRects();
    EXPECT_EQ(s.views[1].rect.left, 226 + 1);
}

TEST(ViewLayout, SingleViewModeUsesTheWholeRenderWindow)
{
    ViewState s = MakeState();
    s.fourViewMode = 0;
    s.maximisedView = 2;
    s.activeView = 1;
    EXPECT_EQ(s.CurrentView(), 2);
    EXPECT_EQ(s.Viewport(2).Width(), 804);
    EXPECT_EQ(s.Viewport(2).Height(), 600);
}

TEST(ViewCamera, TypeChangePlacesTheEye)
{
    ViewState s = MakeState();
    s.views[0].target = {1, 2, 3};
    s.SetViewType(0, ViewType::Top);
    EXPECT_TRUE(VectorsNear(s.views[0].eye, {1, 2002, 2}, 0));
    s.SetViewType(0, ViewType::BottomRev);
    EXPECT_TRUE(VectorsNear(s.views[0].eye, {1, -1998, 4}, 0));
    s.SetViewType(0, ViewType::Right);
    EXPECT_TRUE(VectorsNear(s.views[0].eye, {-1999, 2, 3}, 0));
    // Pers takes the saved pair, so an orbited camera comes back.
    s.views[0].savedPersEye = {10, 20, 30};
    s.views[0].savedPersTarget = {1, 1, 1};
    s.SetViewType(0, ViewType::Pers);
    EXPECT_TRUE(VectorsNear(s.views[0].eye, {10, 20, 30}, 0));
    EXPECT_TRUE(VectorsNear(s.views[0].target, {1, 1, 1}, 0));
}

TEST(ViewCamera, OrthographicViewsShowTheTabledScreenDirections)
{
    ViewState s = MakeState();
    struct Case {
        ViewType type;
        Vec3 right, down;
    } cases[] = {
        {ViewType::Top, {1, 0, 0}, {0, 0, -1}},   {ViewType::TopRev, {-1, 0, 0}, {0, 0, 1}},
        {ViewType::Bottom, {1, 0, 0}, {0, 0, 1}}, {ViewType::BottomRev, {-1, 0, 0}, {0, 0, -1}},
        {ViewType::Front, {1, 0, 0}, {0, -1, 0}}, {ViewType::Back, {-1, 0, 0}, {0, -1, 0}},
        {ViewType::Left, {0, 0, 1}, {0, -1, 0}},  {ViewType::Right, {0, 0, -1}, {0, -1, 0}},
    };
    for (const Case& c : cases) {
        s.SetViewType(0, c.type);
        s.FitViews({});
        const Vec3 centre = ToScreen(s, 0, s.views[0].target);
        const Vec3 right = ToScreen(s, 0, s.views[0].target + c.right * 50.0f);
        const Vec3 down = ToScreen(s, 0, s.views[0].target + c.down * 50.0f);
        // One pixel is `scale` world units: 50 units are 10 pixels.
        EXPECT_NEAR(right.x - centre.x, 10.0f, 1e-2f) << ViewTypeName(c.type);
        EXPECT_NEAR(right.y - centre.y, 0.0f, 1e-2f) << ViewTypeName(c.type);
        EXPECT_NEAR(down.y - centre.y, 10.0f, 1e-2f) << ViewTypeName(c.type);
        EXPECT_NEAR(down.x - centre.x, 0.0f, 1e-2f) << ViewTypeName(c.type);
    }
}

TEST(ViewCamera, FitViewsCentresOrthoViewsAndKeepsThePersOffset)
{
    ViewState s = MakeState();
    s.SetViewType(1, ViewType::Pers);
    s.FitViews({});
    EXPECT_TRUE(VectorsNear(s.views[0].target, {0.0625f, 0.0625f, 0.0625f}, 0));
    EXPECT_TRUE(VectorsNear(s.views[0].eye, {0.0625f, 100000.0625f, -0.9375f}, 1e-2f));
    // The Pers view moves with the centre but keeps direction and distance; its saved pair stays.
    EXPECT_TRUE(VectorsNear(s.views[1].eye, Vec3{600, 600, -600} + Vec3{0.0625f, 0.0625f, 0.0625f}, 1e-3f));
    EXPECT_TRUE(VectorsNear(s.views[1].savedPersEye, {600, 600, -600}, 0));
}

TEST(ViewPicking, OrthographicRayStartsUnderThePixel)
{
    ViewState s = MakeState();
    s.SetViewType(2, ViewType::Front);
    s.FitViews({});
    const PixelRect r = s.views[2].rect;
    // 10 pixels right of and 4 below the viewport centre.
    const int x = r.left + r.Width() / 2 + 10, y = r.top + r.Height() / 2 + 4;
    const Ray ray = s.PixelToRay(2, x, y);
    const float halfW = r.Width() * 0.5f - static_cast<float>(r.Width() / 2);
    const float halfH = r.Height() * 0.5f - static_cast<float>(r.Height() / 2);
    EXPECT_NEAR(ray.origin.x - s.views[2].eye.x, (10 - halfW) * 5.0f, 1e-3f);
    EXPECT_NEAR(ray.origin.y - s.views[2].eye.y, -(4 - halfH) * 5.0f, 1e-3f);
    EXPECT_TRUE(VectorsNear(ray.direction, {0, 0, 1}, 0));
}

TEST(ViewPicking, PerspectiveRayThroughThePixelOfAPoint)
{
    ViewState s = MakeState();
    s.SetViewType(1, ViewType::Pers);
    const Vec3 point{30, -20, 40};
    const Vec3 screen = ToScreen(s, 1, point);
    const PixelRect r = s.views[1].rect;
    const Ray ray = s.PixelToRay(1, r.left + static_cast<int>(std::lround(screen.x)),
                                 r.top + static_cast<int>(std::lround(screen.y)));
    const Vec3 toPoint = Normalize(point - s.views[1].eye);
    EXPECT_GT(Dot(ray.direction, toPoint), 0.99999f);
}

TEST(ViewState, LightFromFrontAndGridClamp)
{
    ViewState s = MakeState();
    s.SetViewType(0, ViewType::Front);
    s.activeView = 0;
    s.LightFromFront();
    EXPECT_TRUE(VectorsNear(s.lightDirection, {0, 0, 1}, 1e-6f));
    s.SetGridWidth(0);
    EXPECT_EQ(s.gridWidth, 1);
    s.SetGridWidth(20000);
    EXPECT_EQ(s.gridWidth, 10000);
}

}  // namespace

namespace {

// The eight corners of the box lo ... hi.
std::vector<Vec3> Corners(Vec3 lo, Vec3 hi)
{
    std::vector<Vec3> corners;
    for (int k = 0; k < 8; ++k) corners.push_back({k & 1 ? hi.x : lo.x, k & 2 ? hi.y : lo.y, k & 4 ? hi.z : lo.z});
    return corners;
}

}  // namespace

TEST(ViewCamera, FitWholeModelFillsEveryViewWithTheMargin)
{
    const Vec3 lo{-10, 0, -5}, hi{10, 100, 5};
    CMesh mesh;
    ASSERT_TRUE(mesh.LoadModel(sceneparts::MakeBox(lo, hi), "box.mesh", 1.0f));
    mesh.SetPosition({300, 40, -70});
    ViewState s = MakeState();
    const ViewType types[4] = {ViewType::Top, ViewType::Pers, ViewType::Front, ViewType::Left};
    for (int i = 0; i < 4; ++i) s.SetViewType(i, types[i]);
    const Vec3 persDirection = Normalize(s.views[1].target - s.views[1].eye);
    s.FitWholeModel({&mesh});

    const float margin = ViewState::kWholeModelMargin;
    float fullest = 0.0f;  // the largest share of a viewport the box takes in an orthographic view
    for (int i = 0; i < 4; ++i) {
        const PixelRect vp = s.Viewport(i);
        float left = 1e9f, right = -1e9f, top = 1e9f, bottom = -1e9f;
        for (const Vec3& corner : Corners(lo + Vec3{300, 40, -70}, hi + Vec3{300, 40, -70})) {
            const Vec3 p = ToScreen(s, i, corner);
            left = std::min(left, p.x), right = std::max(right, p.x);
            top = std::min(top, p.y), bottom = std::max(bottom, p.y);
        }
        // Inside, with the margin free on every side.
        EXPECT_GE(left, vp.Width() * margin - 0.5f) << i;
        EXPECT_LE(right, vp.Width() * (1 - margin) + 0.5f) << i;
        EXPECT_GE(top, vp.Height() * margin - 0.5f) << i;
        EXPECT_LE(bottom, vp.Height() * (1 - margin) + 0.5f) << i;
        const float share = std::max((right - left) / vp.Width(), (bottom - top) / vp.Height());
        if (i == 1)
            EXPECT_GT(share, 0.5f);  // the Pers view fits the bounding sphere, a little looser
        else
            fullest = std::max(fullest, share);
    }
    // The shared scale is set by the view the box fills most: there it reaches the margin.
    EXPECT_NEAR(fullest, 1 - 2 * margin, 1e-3f);
    // The Pers camera keeps its direction, looks at the centre and remembers where it went.
    EXPECT_TRUE(VectorsNear(s.views[1].target, {300, 90, -70}, 1e-3f));
    EXPECT_GT(Dot(Normalize(s.views[1].target - s.views[1].eye), persDirection), 0.99999f);
    EXPECT_TRUE(VectorsNear(s.views[1].savedPersEye, s.views[1].eye, 0));

    // Nothing to frame: the views are centred as FitViews does and the zoom stays.
    s.scale = 7.0f;
    const Vec3 persEye = s.views[1].eye;
    s.FitWholeModel({});
    EXPECT_EQ(s.scale, 7.0f);
    EXPECT_TRUE(VectorsNear(s.views[0].target, {0.0625f, 0.0625f, 0.0625f}, 0));
    EXPECT_TRUE(VectorsNear(s.views[1].eye - s.views[1].target, persEye - Vec3{300, 90, -70}, 1e-2f));
}

// The gaps and the enabled views' viewports cover each pixel of the render
// window once, whatever the split (a view may shrink to nothing), and in
// single-view mode nothing is left over.
TEST(ViewLayout, TheGapsAndTheViewsCoverTheWindowOnce)
{
    ViewState s;
    for (const float split : {0.5f, 0.0f, 0.03f, 1.0f}) {
        s.splitX = split;
        s.splitY = 1.0f - split;
        s.SetRenderSize(120, 90);
        std::vector<int> cover(120 * 90, 0);
        auto paint = [&](const PixelRect& r) {
            for (int y = std::max(r.top, 0); y < std::min(r.bottom, 90); ++y)
                for (int x = std::max(r.left, 0); x < std::min(r.right, 120); ++x) ++cover[size_t(y * 120 + x)];
        };
        for (const PixelRect& gap : s.GapRects()) paint(gap);
        for (int i = 0; i < ViewState::kViewCount; ++i) paint(s.Viewport(i));
        EXPECT_EQ(std::count(cover.begin(), cover.end(), 1), 120 * 90) << split;
    }
    s.ToggleLayout(3);
    EXPECT_TRUE(s.GapRects().empty());
}
