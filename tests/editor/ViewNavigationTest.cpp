#include "editor/DisplayCommands.h"
#include "editor/EditorSession.h"
#include "editor/ViewNavigation.h"
#include "support/MatrixMatchers.h"

#include <gtest/gtest.h>

#include <limits>

using namespace m3d;

namespace {

// A session with views Top, Pers, Front, Left in a 910 x 600 render window,
// counting the ViewsChanged reports.
struct NavigationFixture : ::testing::Test {
    EditorSession session;
    ViewNavigation navigation{session};
    int reports = 0;
    EditorSubscription subscription = session.Events().Subscribe(
        [this](const EditorEvent& e) { reports += std::holds_alternative<ViewsChanged>(e); });

    NavigationFixture()
    {
        ViewState& views = session.Views();
        views.SetRenderSize(910, 600);
        const int types[4] = {ViewType::Top, ViewType::Pers, ViewType::Front, ViewType::Left};
        for (int i = 0; i < 4; ++i) views.SetViewType(i, types[i]);
    }
    ViewState& Views() { return session.Views(); }
};

}  // namespace

TEST_F(NavigationFixture, ToolbarZoomDragStepsFromTheCentreAndGivesBackTheStartingPoint)
{
    navigation.BeginDrag(NavigationMode::Zoom, 0, {100, 200}, {800, 600});
    EXPECT_EQ(navigation.Mode(), NavigationMode::Zoom);
    navigation.DragTo({800, 580});  // 20 up: refused, not reported
    EXPECT_FLOAT_EQ(Views().scale, 5.0f);
    EXPECT_EQ(reports, 0);
    navigation.DragTo({800, 570});  // from the last position, not the centre
    EXPECT_FLOAT_EQ(Views().scale, 2.5f);
    EXPECT_EQ(reports, 1);
    ScreenPoint back;
    ASSERT_TRUE(navigation.EndDrag(back));
    EXPECT_EQ(back.x, 100);
    EXPECT_EQ(back.y, 200);
    EXPECT_EQ(navigation.Mode(), NavigationMode::None);
    EXPECT_FALSE(navigation.EndDrag(back));
    navigation.DragTo({800, 500});
    EXPECT_FLOAT_EQ(Views().scale, 2.5f);
    // Bad view indices start nothing.
    navigation.BeginDrag(NavigationMode::Pan, 4, {0, 0}, {800, 600});
    EXPECT_EQ(navigation.Mode(), NavigationMode::None);
}

TEST_F(NavigationFixture, WheelNotchesZoomTheViewUnderTheCursor)
{
    navigation.Wheel(100, 100, 120);  // Top: one notch forward is 4 pixels up
    EXPECT_FLOAT_EQ(Views().scale, 4.0f);
    navigation.Wheel(100, 100, 60);
    EXPECT_FLOAT_EQ(Views().scale, 4.0f);
    navigation.Wheel(100, 100, 60);  // two halves make a notch
    EXPECT_FLOAT_EQ(Views().scale, 3.2f);
    navigation.Wheel(100, 100, -240);  // two notches back, one step each
    EXPECT_FLOAT_EQ(Views().scale, 3.2f * 1.2f * 1.2f);
    const Vec3 persEye = Views().views[1].eye;
    navigation.Wheel(600, 100, -120);  // Pers: 4 % farther
    EXPECT_TRUE(VectorsNear(Views().views[1].eye, persEye * 1.04f, 1e-2f));
    const int before = reports;
    navigation.Wheel(452, 100, 120);  // over the gap between the views
    EXPECT_EQ(reports, before);
    // A wild turn counts 20 notches and returns.
    navigation.Wheel(100, 100, std::numeric_limits<int>::max());
    EXPECT_EQ(reports, before + 20);
    EXPECT_GT(Views().scale, 0.0f);
}

TEST_F(NavigationFixture, MiddleDragPansTheViewItStartedIn)
{
    const Vec3 topTarget = Views().views[0].target;
    navigation.MiddleButtonDown(100, 400);  // Front
    EXPECT_EQ(Views().activeView, 2);
    navigation.MiddleButtonMove(110, 400);
    navigation.MiddleButtonMove(110, 404);
    EXPECT_TRUE(VectorsNear(Views().views[0].target, topTarget + Vec3{-50, 20, 0}, 1e-4f));
    navigation.MiddleButtonUp();
    navigation.MiddleButtonMove(300, 500);
    EXPECT_TRUE(VectorsNear(Views().views[0].target, topTarget + Vec3{-50, 20, 0}, 1e-4f));
}

TEST_F(NavigationFixture, ToolbarCommandsOutsideTheFourViewsDoNothing)
{
    ViewDisplay faces;
    faces.drawMode = 1;
    for (int bad : {-1, 4}) {
        SetViewTypeCommand(session, bad, ViewType::Top);
        SetViewDisplayCommand(session, bad, faces);
        ToggleLayoutCommand(session, bad);
    }
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(Views().fourViewMode, 1);
}
