#include "view/ConstrainedPose.h"
#include "view/Gizmo.h"

#include "support/MatrixMatchers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace m3d;

namespace {

// A 400 x 300 render window in single-view mode: the view fills it.
ViewState OneView(ViewType type)
{
    ViewState views;
    views.fourViewMode = 0;
    views.maximisedView = 0;
    views.views[0].savedPersEye = {0, 0, -500};
    views.views[0].savedPersTarget = {0, 0, 0};
    views.SetRenderSize(404, 300);
    views.SetViewType(0, type);
    return views;
}

GizmoHandle HandleAt(const ViewState& views, const Matrix4& world, AxisSpace space, float x, float y)
{
    const std::optional<GizmoFrame> frame = GizmoFrameOf(views, 0, world, space);
    EXPECT_TRUE(frame.has_value());
    return frame ? GizmoHandleAt(views, 0, *frame, int(std::lround(x)), int(std::lround(y))) : GizmoHandle::None;
}

TEST(GizmoHandles, TheFrontViewShowsTheFacingRingsAndTheCrossingArrows)
{
    const ViewState views = OneView(ViewType::Front);
    const Matrix4 world = Matrix4::Identity();
    const PixelPoint c = *views.PixelOf(0, {0, 0, 0});
    EXPECT_NEAR(c.x, 202.0f, 1e-3f);
    EXPECT_NEAR(c.y, 150.0f, 1e-3f);
    const float d = 0.70710678f;
    struct Case {
        float x, y;
        GizmoHandle handle;
    } cases[] = {
        {c.x + 80, c.y, GizmoHandle::MoveX},  // right is +X
        {c.x, c.y - 80, GizmoHandle::MoveY},  // up is +Y
        {c.x - 90, c.y, GizmoHandle::None},   // no arrow on the negative side
        {c.x + 60 * d, c.y + 60 * d, GizmoHandle::RotateZ},
        {c.x - 74 * d, c.y - 74 * d, GizmoHandle::RotateView},
        {c.x + 60, c.y, GizmoHandle::MoveX},    // where the X arrow crosses the Z ring the arrow wins
        {c.x + 3, c.y + 2, GizmoHandle::None},  // the middle is free for the free drags
        {c.x + 100 + kGizmoReach + 1, c.y, GizmoHandle::None},
        {c.x + 64 * d, c.y + 64 * d, GizmoHandle::RotateZ},  // between the rings, nearer the inner one
    };
    for (const Case& k : cases)
        EXPECT_EQ(HandleAt(views, world, AxisSpace::World, k.x, k.y), k.handle) << k.x << ", " << k.y;
    // The X and Y rings are seen edge-on and the Z arrow end-on: left out.
    const GizmoFrame frame = *GizmoFrameOf(views, 0, world, AxisSpace::World);
    EXPECT_FALSE(HandleShown(frame, GizmoHandle::RotateX));
    EXPECT_FALSE(HandleShown(frame, GizmoHandle::RotateY));
    EXPECT_FALSE(HandleShown(frame, GizmoHandle::MoveZ));
    const GizmoDrawing drawing = DrawingOfGizmo(frame, GizmoHandle::MoveX);
    ASSERT_EQ(drawing.tips.size(), 2u);
    EXPECT_EQ(drawing.tips[0].color, kGizmoHighlightColour);
    EXPECT_EQ(drawing.tips[1].color, kGizmoAxisColours[1]);
    EXPECT_NEAR(drawing.tips[1].y, 100 * views.scale, 1e-3f);
}

TEST(GizmoHandles, TheGizmoKeepsItsSizeInPixelsAtAnyZoom)
{
    for (const ViewType type : {ViewType::Front, ViewType::Pers}) {
        for (const float zoom : {0.1f, 1.0f, 8.0f}) {
            ViewState views = OneView(type);
            views.scale *= zoom;
            views.views[0].eye = views.views[0].eye * zoom;
            const Matrix4 world = MatrixTranslation(3, -2, 1);
            const PixelPoint c = *views.PixelOf(0, {3, -2, 1});
            EXPECT_EQ(HandleAt(views, world, AxisSpace::World, c.x + 97, c.y), GizmoHandle::MoveX) << zoom;
            EXPECT_EQ(HandleAt(views, world, AxisSpace::World, c.x + 112, c.y), GizmoHandle::None) << zoom;
            EXPECT_EQ(HandleAt(views, world, AxisSpace::World, c.x, c.y + 74), GizmoHandle::RotateView) << zoom;
        }
    }
}

TEST(GizmoHandles, LocalAxesFollowThePartWorldAxesDoNot)
{
    const ViewState views = OneView(ViewType::Pers);
    // Turned a quarter about Z: the Part's X axis points up, its Y axis left.
    Matrix4 world = MatrixRotationZ(1.5707963f);
    world.SetTranslation({10, 0, 20});
    const PixelPoint c = *views.PixelOf(0, {10, 0, 20});
    struct Case {
        float x, y;
        GizmoHandle local, inWorld;
    } cases[] = {{c.x, c.y - 90, GizmoHandle::MoveX, GizmoHandle::MoveY},
                 {c.x - 90, c.y, GizmoHandle::MoveY, GizmoHandle::None},
                 {c.x + 90, c.y, GizmoHandle::None, GizmoHandle::MoveX}};
    for (const Case& k : cases) {
        EXPECT_EQ(HandleAt(views, world, AxisSpace::Local, k.x, k.y), k.local) << k.x << ", " << k.y;
        EXPECT_EQ(HandleAt(views, world, AxisSpace::World, k.x, k.y), k.inWorld) << k.x << ", " << k.y;
    }
    // A pivot behind the eye shows no gizmo.
    world.SetTranslation({0, 0, -600});
    EXPECT_FALSE(GizmoFrameOf(views, 0, world, AxisSpace::Local).has_value());
}

TEST(ConstrainedPose, SweepsGoTheShortWayRoundAndRaysAlongAnAxisHaveNoNearestPoint)
{
    const PixelPoint c{100, 100};
    // From right of the centre to below it is a quarter clockwise on screen.
    EXPECT_NEAR(SweptAngle(c, {150, 100}, {100, 150}), 1.5707963f, 1e-6f);
    EXPECT_NEAR(SweptAngle(c, {50, 99}, {50, 101}), -0.04f, 1e-3f);  // across the left, not a whole turn less
    EXPECT_EQ(SweptAngle(c, c, {150, 100}), 0.0f);
    EXPECT_EQ(SnapToStep(22.5f, 15.0f), 30.0f);
    EXPECT_EQ(SnapToStep(-7.6f, 15.0f), -15.0f);
    const Ray ray{{5, 7, -100}, {0, 0, 1}};
    // Along a slanted axis the nearest point is level with the ray: y = 7.
    EXPECT_NEAR(*NearestAlongLine(ray, {2, 0, 3}, Normalize({0, 1, 1})), 7.0f * 1.41421356f, 1e-4f);
    EXPECT_FALSE(NearestAlongLine(ray, {0, 0, 0}, {0, 0, -1}).has_value());
    EXPECT_FALSE(MeetPlane(ray, {0, 0, 40}, {1, 0, 0}).has_value());
}

}  // namespace
