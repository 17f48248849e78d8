#include "view/CameraSteps.h"
#include "support/MatrixMatchers.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

// Views Top, Pers, Front, Left of a 910 x 600 render window, fitted on the origin.
ViewState DefaultViews()
{
    ViewState s;
    s.SetRenderSize(910, 600);
    const int types[4] = {ViewType::Top, ViewType::Pers, ViewType::Front, ViewType::Left};
    for (int i = 0; i < 4; ++i) s.SetViewType(i, types[i]);
    return s;
}

}  // namespace

TEST(CameraZoom, OrthographicScaleStepsAndAnUpwardStepOf20IsRefused)
{
    ViewState s = DefaultViews();
    EXPECT_TRUE(ZoomStep(s, 0, 2));
    EXPECT_FLOAT_EQ(s.scale, 5.5f);
    // 20 pixels up would make the scale 0: nothing changes.
    EXPECT_FALSE(ZoomStep(s, 2, -20));
    EXPECT_FLOAT_EQ(s.scale, 5.5f);
    EXPECT_TRUE(ZoomStep(s, 2, -19));
    EXPECT_FLOAT_EQ(s.scale, 5.5f * 0.05f);
}

TEST(CameraZoom, PerspectiveEyeMovesAlongItsLineAndNeverOntoTheTarget)
{
    ViewState s = DefaultViews();
    const Vec3 start = s.views[1].eye;  // (600, 600, -600) towards the origin
    EXPECT_TRUE(ZoomStep(s, 1, 10));    // down: 10 % farther
    EXPECT_TRUE(VectorsNear(s.views[1].eye, start * 1.1f, 1e-2f));
    EXPECT_TRUE(VectorsNear(s.views[1].savedPersEye, s.views[1].eye, 0));
    EXPECT_FLOAT_EQ(s.scale, 5.0f);
    // A step of 100 pixels up would put the eye on the target.
    const Vec3 before = s.views[1].eye;
    EXPECT_FALSE(ZoomStep(s, 1, -100));
    EXPECT_TRUE(VectorsNear(s.views[1].eye, before, 0));
    EXPECT_TRUE(ZoomStep(s, 1, -90));
    EXPECT_TRUE(VectorsNear(s.views[1].eye, before * 0.1f, 1e-2f));
}

TEST(CameraPan, PanningFrontFollowsTheCursorAndMovesEveryOrthographicViewTogether)
{
    ViewState s = DefaultViews();
    const PixelRect front = s.views[2].rect;
    const int x = front.left + 100, y = front.top + 80;
    const Vec3 under = s.PixelToRay(2, x, y).origin;
    const Vec3 topTarget = s.views[0].target, persEye = s.views[1].eye;
    EXPECT_TRUE(PanStep(s, 2, 10, 4));
    // The point that was under the cursor is under it again after the move.
    EXPECT_TRUE(VectorsNear(s.PixelToRay(2, x + 10, y + 4).origin, under, 1e-3f));
    // Top's centre moves 50 units along -X; its own depth (Y) changes, its Z does not.
    EXPECT_TRUE(VectorsNear(s.views[0].target, topTarget + Vec3{-50, 20, 0}, 1e-4f));
    EXPECT_TRUE(VectorsNear(s.views[3].target, s.views[2].target, 0));
    EXPECT_TRUE(VectorsNear(s.views[1].eye, persEye, 0));
    EXPECT_FALSE(PanStep(s, 2, 0, 0));
}

TEST(CameraPan, PerspectivePanMovesAcrossTheLineOfSightByItsDistance)
{
    ViewState s = DefaultViews();
    s.views[1].eye = {0, 0, -100};
    s.views[1].target = {0, 0, 0};
    EXPECT_TRUE(PanStep(s, 1, 10, 5));
    // Right is +X, up is +Y: 10 pixels right move the camera 2 units left, 5 down move it 1 up.
    EXPECT_TRUE(VectorsNear(s.views[1].eye, {-2, 1, -100}, 1e-4f));
    EXPECT_TRUE(VectorsNear(s.views[1].target, {-2, 1, 0}, 1e-4f));
    EXPECT_TRUE(VectorsNear(s.views[1].savedPersTarget, {-2, 1, 0}, 1e-4f));
    EXPECT_TRUE(VectorsNear(s.views[0].target, {0, 0, 0}, 0));
}

TEST(ViewLayoutSwitch, OneViewAloneAndBackToFour)
{
    ViewState s = DefaultViews();
    s.ToggleLayout(2);
    EXPECT_EQ(s.fourViewMode, 0);
    EXPECT_EQ(s.maximisedView, 2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.views[i].enabled, i == 2 ? 1 : 0) << i;
    // View 2 fills the render window; every pixel belongs to it.
    EXPECT_EQ(s.ViewAt(10, 10), 2);
    EXPECT_EQ(s.ViewAt(452, 299), 2);
    EXPECT_EQ(s.ViewAt(910, 0), -1);
    s.ToggleLayout(2);
    EXPECT_EQ(s.fourViewMode, 1);
    EXPECT_EQ(s.maximisedView, 2);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.views[i].enabled, 1) << i;
    EXPECT_EQ(s.ViewAt(10, 10), 0);
    EXPECT_EQ(s.ViewAt(452, 100), -1);  // the gap between the views
    EXPECT_EQ(s.ViewAt(500, 400), 3);
}
