#include "view/DeviceState.h"
#include "view/ViewRenderer.h"

#include "render/RecordingDevice.h"
#include "scene/Scene.h"
#include "settings/SettingsValues.h"
#include "support/MatrixMatchers.h"
#include "support/SceneParts.h"
#include "editor/EditorSession.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace m3d;

namespace {

constexpr uint32_t kGridColour = 0xFF808080;

Vec3 At(const LineVertex& v) { return {v.x, v.y, v.z}; }

template <size_t N>
void ExpectLine(const std::array<LineVertex, N>& list, size_t line, Vec3 from, Vec3 to)
{
    EXPECT_TRUE(VectorsNear(At(list[2 * line]), from, 0.0f)) << "line " << line << " start";
    EXPECT_TRUE(VectorsNear(At(list[2 * line + 1]), to, 0.0f)) << "line " << line << " end";
}

TEST(GridGeometry, EachPlaneHas22LinesInOrderOfDWithTheCentreLinesStoppingAtTheOrigin)
{
    const float w = 50;
    const GridGeometry g = BuildGrid(50, kGridColour);
    // ZX: x = d w along Z, then z = d w along X.
    ExpectLine(g.zx, 0, {-5 * w, 0, -5 * w}, {-5 * w, 0, 5 * w});
    ExpectLine(g.zx, 1, {-5 * w, 0, -5 * w}, {5 * w, 0, -5 * w});
    ExpectLine(g.zx, 2, {-4 * w, 0, -5 * w}, {-4 * w, 0, 5 * w});
    ExpectLine(g.zx, 10, {0, 0, -5 * w}, {0, 0, 0});
    ExpectLine(g.zx, 11, {-5 * w, 0, 0}, {0, 0, 0});
    ExpectLine(g.zx, 21, {-5 * w, 0, 5 * w}, {5 * w, 0, 5 * w});
    // XY: x = d w along Y, then y = d w along X.
    ExpectLine(g.xy, 0, {-5 * w, -5 * w, 0}, {-5 * w, 5 * w, 0});
    ExpectLine(g.xy, 11, {-5 * w, 0, 0}, {0, 0, 0});
    ExpectLine(g.xy, 19, {-5 * w, 4 * w, 0}, {5 * w, 4 * w, 0});
    // YZ: z = d w along Y, then y = d w along Z.
    ExpectLine(g.yz, 0, {0, -5 * w, -5 * w}, {0, 5 * w, -5 * w});
    ExpectLine(g.yz, 1, {0, -5 * w, -5 * w}, {0, -5 * w, 5 * w});
    ExpectLine(g.yz, 10, {0, -5 * w, 0}, {0, 0, 0});
    for (const auto* plane : {&g.zx, &g.xy, &g.yz})
        for (const LineVertex& v : *plane) EXPECT_EQ(v.color, kGridColour);
    // Axes reach twice as far as the grid, in red, green, blue.
    ExpectLine(g.axes, 0, {0, 0, 0}, {10 * w, 0, 0});
    ExpectLine(g.axes, 1, {0, 0, 0}, {0, 10 * w, 0});
    ExpectLine(g.axes, 2, {0, 0, 0}, {0, 0, 10 * w});
    EXPECT_EQ(g.axes[1].color, 0xFFFF0000u);
    EXPECT_EQ(g.axes[3].color, 0xFF00FF00u);
    EXPECT_EQ(g.axes[5].color, 0xFF0000FFu);
}

// The line lists DrawGrid sent, identified by their first line.
std::vector<std::string> GridListsDrawn(const RecordingDevice& device, const GridGeometry& g)
{
    std::vector<std::string> names;
    for (const RecordedCall* c : device.CallsOf(RenderCall::DrawLineList)) {
        EXPECT_FALSE(c->lighting);
        EXPECT_EQ(c->texture, nullptr);
        EXPECT_TRUE(MatricesNear(c->world, Matrix4::Identity(), 0.0f));
        auto same = [&](const auto& list) {
            return c->lines.size() == list.size() && VectorsNear(At(c->lines[1]), At(list[1]), 0.0f);
        };
        names.push_back(same(g.zx) ? "ZX" : same(g.xy) ? "XY" : same(g.yz) ? "YZ" : same(g.axes) ? "axes" : "?");
    }
    return names;
}

TEST(DrawGrid, EachViewTypeShowsItsPlaneAndPersShowsTheFlaggedOnes)
{
    const GridGeometry g = BuildGrid(10, kGridColour);
    using Names = std::vector<std::string>;
    const struct {
        ViewType type;
        int xy, yz, zx;
        Names expected;
    } cases[] = {
        {ViewType::Top, 1, 1, 0, {"ZX", "axes"}},
        {ViewType::BottomRev, 0, 0, 0, {"ZX", "axes"}},
        {ViewType::Front, 0, 1, 1, {"XY", "axes"}},
        {ViewType::Back, 0, 0, 0, {"XY", "axes"}},
        {ViewType::Left, 1, 0, 1, {"YZ", "axes"}},
        {ViewType::Right, 0, 0, 0, {"YZ", "axes"}},
        {ViewType::Pers, 0, 0, 0, {"axes"}},
        {ViewType::Pers, 0, 0, 1, {"ZX", "axes"}},
        {ViewType::Pers, 1, 1, 1, {"ZX", "XY", "YZ", "axes"}},
        {ViewType::Pers, 0, 1, 0, {"YZ", "axes"}},
    };
    for (const auto& c : cases) {
        ViewState views;
        views.views[2].type = c.type;
        views.gridXY = c.xy;
        views.gridYZ = c.yz;
        views.gridZX = c.zx;
        RecordingDevice device;
        DrawGrid(device, views, 2, g);
        EXPECT_EQ(GridListsDrawn(device, g), c.expected) << "type " << int(c.type);
        EXPECT_TRUE(device.calls.back().lighting) << "lighting is switched back on";
    }
}

struct RenderFixture {
    TempFolder folder;
    RecordingDevice device;  // outlives the scene, whose meshes talk to it when they go
    EditorSession session;
    Scene& scene = session.GetScene();
    ViewState views;
    ViewDisplays displays;
    ColourTable colours = DefaultSettingsValues("").colours;
    GridGeometry grid = BuildGrid(50, kGridColour);

    RenderFixture()
    {
        views.SetRenderSize(910, 600);
        views.SetGridWidth(50);
        views.views[0].type = ViewType::Top;
        views.views[1].type = ViewType::Pers;
        views.views[2].type = ViewType::Front;
        views.views[3].type = ViewType::Left;
        scene.MutableMeshBase().Init(&device);
    }
    void Render(const std::vector<PoseGhost>* ghosts = nullptr, const PathDrawing* path = nullptr)
    {
        device.calls.clear();
        RenderViews(device, {views, displays, colours, grid, scene, scene.SelectedPartIndex(), ghosts, path});
    }
    std::vector<const RecordedCall*> Clears() const { return device.CallsOf(RenderCall::Clear); }
};

TEST(RenderViews, FourViewsClearTheWholeWindowInBackThenTheGapsInLineBeforeTheScene)
{
    RenderFixture f;
    f.Render();
    const auto clears = f.Clears();
    EXPECT_EQ(clears[0]->color, 0xFF181818u);
    EXPECT_EQ(clears[0]->depth, 1.0f);
    EXPECT_EQ(clears[0]->viewport.width, 910);
    EXPECT_EQ(clears[0]->viewport.height, 600);
    EXPECT_EQ(f.device.calls[0].call, RenderCall::SetViewport);
    // Then the gaps between the views, in LINE.
    const std::vector<PixelRect> gaps = f.views.GapRects();
    ASSERT_EQ(clears.size(), gaps.size() + 1);
    for (size_t i = 0; i < gaps.size(); ++i) {
        const Viewport& v = clears[i + 1]->viewport;
        EXPECT_EQ(clears[i + 1]->color, 0xFFFF0000u) << i;
        EXPECT_EQ(std::make_tuple(v.x, v.y, v.width, v.height),
                  std::make_tuple(gaps[i].left, gaps[i].top, gaps[i].Width(), gaps[i].Height()))
            << i;
    }
    // Every clear comes before the scene begins; the viewport is the whole window at the end.
    const auto begin = f.device.CallsOf(RenderCall::BeginScene);
    ASSERT_EQ(begin.size(), 1u);
    EXPECT_LT(clears.back(), begin[0]);
    EXPECT_EQ(f.device.calls.back().call, RenderCall::EndScene);
    EXPECT_EQ(f.device.calls.back().viewport.width, 910);
    EXPECT_EQ(f.device.calls.back().viewport.x, 0);
}

TEST(RenderViews, EachViewGetsItsOwnProjectionAndCamera)
{
    RenderFixture f;
    f.Render();
    const auto grids = f.device.CallsOf(RenderCall::DrawLineList);
    // Grid and axes of four views (all but Pers have one plane; Pers shows ZX by default).
    ASSERT_EQ(grids.size(), 8u);
    for (int i = 0; i < 4; ++i) {
        const RecordedCall& axes = *grids[size_t(2 * i + 1)];
        EXPECT_TRUE(MatricesNear(axes.projection, f.views.ProjectionMatrix(i), 0.0f)) << i;
        EXPECT_TRUE(MatricesNear(axes.view, f.views.ViewMatrix(i), 0.0f)) << i;
    }
}

TEST(RenderViews, SingleViewDrawsOnlyTheMaximisedViewOverTheWholeWindowWithoutTheLineClear)
{
    RenderFixture f;
    f.views.fourViewMode = 0;
    f.views.maximisedView = 2;
    for (int i = 0; i < 4; ++i) f.views.views[i].enabled = i == 2;
    f.Render();
    const auto clears = f.Clears();
    ASSERT_EQ(clears.size(), 1u);
    EXPECT_EQ(clears[0]->color, 0xFF181818u);
    EXPECT_EQ(clears[0]->viewport.width, 910);
    EXPECT_EQ(clears[0]->viewport.height, 600);
    EXPECT_TRUE(MatricesNear(f.device.CallsOf(RenderCall::DrawLineList).back()->view, f.views.ViewMatrix(2), 0.0f));
}

TEST(RenderViews, AFailedBeginSceneDrawsNothingAfterTheGapClear)
{
    RenderFixture f;
    f.device.beginSceneSucceeds = false;
    f.Render();
    EXPECT_EQ(f.Clears().size(), 6u);  // the window, and the split lines and the right strip in five pieces
    EXPECT_TRUE(f.device.CallsOf(RenderCall::DrawLineList).empty());
    EXPECT_TRUE(f.device.CallsOf(RenderCall::EndScene).empty());
}

TEST(RenderViews, TheRootCheckBoxSwitchesTheGridInEveryView)
{
    RenderFixture f;
    f.scene.SetTreeItemChecked(f.scene.rootPart.treeItem, false);
    f.Render();
    EXPECT_TRUE(f.device.CallsOf(RenderCall::DrawLineList).empty());
    EXPECT_EQ(f.Clears().size(), 6u);
}

TEST(RenderViews, CheckedPartsDrawInTheViewsModeAndHiddenOnesOnlyShowTheirSelectionBox)
{
    RenderFixture f;
    f.scene.SetTreeItemChecked(f.scene.rootPart.treeItem, false);  // leave only the Parts' lines
    const int a = sceneparts::AddBoxPart(f.scene, f.folder, "a", {0, 0, 0}, 10);
    const int b = sceneparts::AddBoxPart(f.scene, f.folder, "b", {100, 0, 0}, 10);
    ASSERT_EQ(b, 1);
    f.displays[0].drawMode = 1;  // faces
    f.displays[1].drawMode = 0;  // edges
    for (ViewDisplay& d : f.displays) d.showSelection = 0;
    f.displays[3].showSelection = 1;
    f.views.views[2].enabled = 0;

    // b is selected (added last) and hidden.
    f.scene.SetTreeItemChecked(f.scene.Parts()[b]->treeItem, false);
    f.Render();
    const auto strips = f.device.CallsOf(RenderCall::DrawIndexedTriangleStrip);
    const auto edges = f.device.CallsOf(RenderCall::DrawIndexedLineStrip);
    const int subMeshes = f.scene.Parts()[a]->mesh->GetMeshNum();
    // View 0 faces and view 3 edges draw a; view 1 edges draws a; b never.
    EXPECT_EQ(int(strips.size()), subMeshes);
    EXPECT_EQ(int(edges.size()), 2 * subMeshes);
    for (const RecordedCall* c : strips) EXPECT_EQ(c->vertices, f.scene.Parts()[a]->mesh->GetVertex(0));
    // The hidden selected Part still shows its box, in SELECT colour, only where selection is shown.
    const auto boxes = f.device.CallsOf(RenderCall::DrawLineList);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->lines.size(), 24u);
    EXPECT_EQ(boxes[0]->lines[0].color, 0xFFC0C0C0u);
    EXPECT_EQ(boxes[0]->viewport.x, f.views.views[3].rect.left);
    EXPECT_GE(boxes[0]->lines[0].x, 89.0f);  // b's box, not a's

    // Checking it again draws it.
    f.scene.SetTreeItemChecked(f.scene.Parts()[b]->treeItem, true);
    f.Render();
    EXPECT_EQ(int(f.device.CallsOf(RenderCall::DrawIndexedTriangleStrip).size()), 2 * subMeshes);
}

TEST(RenderViews, OverlaysFollowTheViewSwitchesAndScaleWithTheGridWidth)
{
    RenderFixture f;
    f.scene.SetTreeItemChecked(f.scene.rootPart.treeItem, false);
    sceneparts::AddBoxPart(f.scene, f.folder, "a", {0, 0, 0}, 10);
    for (int i = 1; i < 4; ++i) f.views.views[i].enabled = 0;
    f.displays[0] = {};
    f.displays[0].normals = 1;
    f.Render();
    auto lists = f.device.CallsOf(RenderCall::DrawLineList);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0]->lines[0].color, 0xFF00FF80u);
    const Vec3 normal = At(lists[0]->lines[1]) - At(lists[0]->lines[0]);
    EXPECT_NEAR(Length(normal), 10.0f, 1e-4f);  // 0.2 x grid width 50

    f.displays[0] = {};
    f.displays[0].pivot = 1;
    f.Render();
    lists = f.device.CallsOf(RenderCall::DrawLineList);
    ASSERT_EQ(lists.size(), 1u);
    EXPECT_EQ(lists[0]->lines[0].color, 0xFFFF00FFu);
    EXPECT_NEAR(Length(At(lists[0]->lines[1]) - At(lists[0]->lines[0])), 10.0f, 1e-4f);

    f.displays[0] = {};
    f.displays[0].collision = 1;
    f.Render();
    const auto circles = f.device.CallsOf(RenderCall::DrawLineStrip);
    ASSERT_FALSE(circles.empty());
    EXPECT_EQ(circles[0]->lines[0].color, 0xFFFFFF00u);
    EXPECT_TRUE(f.device.CallsOf(RenderCall::DrawLineList).empty());
}

TEST(DeviceState, RestoreSetsTheRedMaterialAmbientAndTheNormalisedLight)
{
    RecordingDevice device;
    RestoreDeviceState(device, {-1, -1, 2});
    const RecordedCall& last = device.calls.back();
    EXPECT_EQ(last.material.diffuse.r, 1.0f);
    EXPECT_EQ(last.material.diffuse.g, 0.0f);
    EXPECT_EQ(last.material.ambient.r, 1.0f);
    EXPECT_EQ(last.material.ambient.a, 1.0f);
    EXPECT_EQ(last.ambientLight, 0x002F2F2Fu);
    EXPECT_TRUE(last.lighting);
    const float n = std::sqrt(6.0f);
    EXPECT_TRUE(VectorsNear(last.light.direction, {-1 / n, -1 / n, 2 / n}, 1e-6f));
    EXPECT_EQ(last.light.diffuse.g, 1.0f);
    EXPECT_TRUE(MatricesNear(last.world, Matrix4::Identity(), 0.0f));

    // A zero direction keeps the previous light rather than sending NaNs.
    SetDeviceLight(device, {0, 0, 0});
    EXPECT_TRUE(VectorsNear(device.calls.back().light.direction, {-1 / n, -1 / n, 2 / n}, 1e-6f));
}

}  // namespace

TEST(RenderViews, GhostsComeLastTranslucentInTheirTintsAtTheFarDepthAndOnlyWhereTheOnionSkinIsOn)
{
    RenderFixture f;
    f.scene.SetTreeItemChecked(f.scene.rootPart.treeItem, false);
    const int a = sceneparts::AddBoxPart(f.scene, f.folder, "a", {0, 0, 0}, 10);
    const int hidden = sceneparts::AddBoxPart(f.scene, f.folder, "b", {100, 0, 0}, 10);
    f.scene.SetTreeItemChecked(f.scene.Parts()[hidden]->treeItem, false);
    for (int i = 2; i < 4; ++i) f.views.views[i].enabled = 0;
    for (ViewDisplay& d : f.displays) d = {};
    f.displays[1].onionSkin = 1;
    const std::vector<PoseGhost> ghosts = {{{MatrixTranslation(-30, 0, 0), MatrixTranslation(0, 1, 0)}, 0x553C8CFFu},
                                           {{MatrixTranslation(30, 0, 0), MatrixTranslation(0, 2, 0)}, 0x55FF8C3Cu}};
    f.Render(&ghosts);
    ASSERT_EQ(f.scene.Parts()[a]->mesh->GetMeshNum(), 1);

    // View 0 draws a once, view 1 a and then both ghosts of a (b is hidden).
    std::vector<const RecordedCall*> draws = f.device.CallsOf(RenderCall::DrawIndexedLineStrip);
    ASSERT_EQ(draws.size(), 4u);
    for (int k : {0, 1}) {
        EXPECT_FALSE(draws[size_t(k)]->translucent);
        EXPECT_TRUE(draws[size_t(k)]->lighting);
        EXPECT_EQ(draws[size_t(k)]->world, f.scene.Parts()[a]->mesh->GetMatrix());
        EXPECT_EQ(draws[size_t(k)]->viewport.maxDepth, 1.0f);
        EXPECT_EQ(draws[size_t(k)]->viewport.minDepth, 0.0f);
    }
    for (int g = 0; g < 2; ++g) {
        const RecordedCall& ghost = *draws[size_t(2 + g)];
        EXPECT_EQ(ghost.viewport.x, f.views.views[1].rect.left);
        EXPECT_EQ(ghost.viewport.minDepth, 1.0f);
        EXPECT_TRUE(ghost.translucent);
        EXPECT_FALSE(ghost.lighting);
        EXPECT_EQ(ghost.texture, nullptr);
        EXPECT_EQ(ghost.world, ghosts[size_t(g)].worlds[a]);
        const ColorValue tint = ColorValueOfArgb(ghosts[size_t(g)].tint);
        EXPECT_EQ(ghost.material.diffuse.r, tint.r);
        EXPECT_EQ(ghost.material.diffuse.b, tint.b);
        EXPECT_NEAR(ghost.material.diffuse.a, 0x55 / 255.0f, 1e-6f);
    }
    // The view's own depth range and opaque drawing come back for what follows.
    EXPECT_FALSE(f.device.calls.back().translucent);
    EXPECT_EQ(f.device.calls.back().viewport.minDepth, 0.0f);

    // No ghosts, or the switch off everywhere: the frame is the one without an onion skin.
    f.Render();
    const size_t plainCalls = f.device.calls.size();
    f.displays[1].onionSkin = 0;
    f.Render(&ghosts);
    EXPECT_EQ(f.device.calls.size(), plainCalls);
    EXPECT_TRUE(f.device.CallsOf(RenderCall::SetTranslucent).empty());
}

TEST(RenderViews, TheMotionPathComesLastOverEverythingAsALineAndDotsOnlyWhereItsSwitchIsOn)
{
    RenderFixture f;
    sceneparts::AddBoxPart(f.scene, f.folder, "a", {0, 0, 0}, 10);
    for (ViewDisplay& d : f.displays) d = {};
    f.displays[2].motionPath = 1;
    f.displays[2].onionSkin = 1;
    const std::vector<PoseGhost> ghosts = {{{MatrixTranslation(-30, 0, 0)}, 0x553C8CFFu}};
    const PathDrawing path{{{0, 0, 0, 1}, {5, 0, 0, 1}, {9, 1, 0, 1}},
                           {{3.0f, {{0, 0, 0, 2}, {5, 0, 0, 2}, {9, 1, 0, 2}}}, {9.0f, {{5, 0, 0, 3}}}}};
    f.Render(&ghosts, &path);

    const auto strips = f.device.CallsOf(RenderCall::DrawLineStrip);
    const auto dots = f.device.CallsOf(RenderCall::DrawPoints);
    ASSERT_EQ(dots.size(), 2u);
    ASSERT_FALSE(strips.empty());
    const RecordedCall& line = *strips.back();
    EXPECT_EQ(line.lines.size(), 3u);
    EXPECT_EQ(line.lines[2].x, 9.0f);
    EXPECT_EQ(line.viewport.x, f.views.views[2].rect.left);
    EXPECT_EQ(line.viewport.maxDepth, 0.0f);
    EXPECT_EQ(line.world, Matrix4::Identity());
    EXPECT_EQ(dots[0]->pointSize, 3.0f);
    EXPECT_EQ(dots[0]->lines.size(), 3u);
    EXPECT_EQ(dots[1]->pointSize, 9.0f);
    EXPECT_EQ(dots[1]->lines[0].color, 3u);
    EXPECT_EQ(dots[1]->viewport.maxDepth, 0.0f);
    // After the ghosts, before the view's end; the depth range comes back.
    const auto index = [&](const RecordedCall* call) { return call - f.device.calls.data(); };
    EXPECT_GT(index(&line), index(f.device.CallsOf(RenderCall::SetTranslucent).back()));
    EXPECT_GT(index(dots[1]), index(&line));
    EXPECT_EQ(f.device.calls.back().viewport.maxDepth, 1.0f);

    f.displays[2].motionPath = 0;
    f.Render(&ghosts, &path);
    EXPECT_TRUE(f.device.CallsOf(RenderCall::DrawPoints).empty());
}
