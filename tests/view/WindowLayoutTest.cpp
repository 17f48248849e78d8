#include "view/PanelSplitter.h"
#include "view/WindowLayout.h"

#include "settings/SettingsValues.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

void ExpectRect(const PixelRect& r, int left, int top, int right, int bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

TEST(WindowLayout, ClientOf1000By800PlacesRenderWindowViewsAndBottomPanels)
{
    const PixelRect render = RenderWindowRect(1000, 800);
    ExpectRect(render, 90, 0, 1000, 600);
    ViewState views;
    views.SetRenderSize(render.Width(), render.Height());
    ExpectRect(views.views[0].rect, 0, 0, 451, 298);
    ExpectRect(views.views[3].rect, 454, 301, 906, 600);
    EXPECT_EQ(PanelRect(PanelKind::PartsTree, 800).left, 93);
    EXPECT_EQ(PanelRect(PanelKind::PartsTree, 800).top, 603);
    EXPECT_EQ(PanelRect(PanelKind::Motion, 800).left, 333);
    EXPECT_EQ(PanelRect(PanelKind::Motion, 800).top, 603);
    // The top-left panels do not follow the height.
    ExpectRect(PanelRect(PanelKind::Parts, 1200), 3, 3, 90, 114);
    ExpectRect(PanelRect(PanelKind::Transform, 1200), 3, 115, 90, 547);
}

TEST(WindowLayout, DialogUnitsGiveThePixelSizesThePanelsWereDrawnFor)
{
    // The motion panel's timeline constants assume exactly 460 x 198 pixels.
    ExpectRect(PanelSize(PanelKind::Motion), 0, 0, 460, 198);
    ExpectRect(PanelSize(PanelKind::PartsTree), 0, 0, 239, 196);
    // Neighbours never overlap: the tree ends where the motion panel begins,
    // the left panels end where the render window begins.
    EXPECT_LE(PanelRect(PanelKind::PartsTree, 600).right, PanelRect(PanelKind::Motion, 600).left);
    EXPECT_LE(PanelRect(PanelKind::Parts, 600).right, RenderWindowRect(800, 600).left);
    EXPECT_LE(PanelRect(PanelKind::Parts, 600).bottom, PanelRect(PanelKind::Transform, 600).top);
    // At the minimum client size the tree and motion panel sit below the render window.
    EXPECT_GE(PanelRect(PanelKind::Motion, kMinimumClientHeight).top, RenderWindowRect(800, 600).bottom);
}

TEST(WindowLayout, TinyClientGivesAnEmptyRenderWindowNotANegativeOne)
{
    const PixelRect r = RenderWindowRect(50, 100);
    EXPECT_EQ(r.Width(), 0);
    EXPECT_EQ(r.Height(), 0);
}

TEST(WindowLayout, ToolbarsSitOverTheirViewsOrSpanTheRenderWindowAlone)
{
    ViewState views;
    views.SetRenderSize(910, 600);
    // Too narrow for every switch in one row: two rows.
    ExpectRect(ToolbarRect(views, 0), 92, 2, 92 + 451, 34);
    ExpectRect(ToolbarRect(views, 3), 454 + 92, 301 + 2, 454 + 92 + 452, 301 + 34);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(ToolbarShown(views, i));

    views.fourViewMode = 0;
    views.maximisedView = 2;
    EXPECT_FALSE(ToolbarShown(views, 0));
    EXPECT_TRUE(ToolbarShown(views, 2));
    ExpectRect(ToolbarRect(views, 2), 92, 2, 92 + 906, 18);
}

TEST(WindowLayout, BottomPanelsGrowByWholeRowsWithinTheClient)
{
    // As designed unless made larger.
    const BottomPanelsSize designed = FittedBottomPanels({}, 1000, 800);
    EXPECT_EQ(designed.motionWidth, 460);
    EXPECT_EQ(designed.motionHeight, 198);
    EXPECT_EQ(FittedBottomPanels({100, 50}, 1000, 800).motionHeight, 198);
    // 50 pixels taller makes three rows; wider stops at the width strip by the client's right edge.
    const BottomPanelsSize grown = FittedBottomPanels({900, 248}, 1000, 800);
    EXPECT_EQ(grown.motionHeight, 198 + 45);
    EXPECT_EQ(grown.motionWidth, 1000 - 333 - 5);
    // The render window keeps 200 pixels: 800 - 200 - 200 leaves 26 rows at most.
    EXPECT_EQ(FittedBottomPanels({460, 5000}, 1000, 800).motionHeight, 198 + 15 * 26);

    // Everything below the render window moves up together; the tree grows with the motion panel.
    ExpectRect(RenderWindowRect(1000, 800, grown), 90, 0, 1000, 555);
    ExpectRect(PanelRect(PanelKind::Motion, 800, grown), 333, 558, 1000 - 5, 801);
    ExpectRect(PanelRect(PanelKind::PartsTree, 800, grown), 93, 558, 93 + 239, 558 + 196 + 45);
    ExpectRect(PanelRect(PanelKind::Transform, 800, grown), 3, 115, 90, 547);
}

TEST(WindowLayout, TheCurveStripTakesItsHeightFromTheViewsAndTheSplitterBandStaysBelowIt)
{
    const BottomPanelsSize hidden = FittedBottomPanels({}, 1000, 800);
    EXPECT_TRUE(CurvePanelRect(1000, 800, hidden).Height() == 0);
    const BottomPanelsSize shown = FittedBottomPanels({460, 198, kCurvePanelHeight}, 1000, 800);
    EXPECT_EQ(shown.curvesHeight, kCurvePanelHeight);
    ExpectRect(RenderWindowRect(1000, 800, shown), 90, 0, 1000, 600 - kCurvePanelHeight);
    ExpectRect(CurvePanelRect(1000, 800, shown), 90, 600 - kCurvePanelHeight, 1000, 600);
    EXPECT_EQ(PanelRect(PanelKind::Motion, 800, shown).top, 603);
    // The band between the strip and the panels drags; the strip itself does not.
    EXPECT_EQ(PanelSplitterAt(500, 601, 1000, 800, shown), PanelSplitterHandle::Height);
    EXPECT_EQ(PanelSplitterAt(500, 599, 1000, 800, shown), PanelSplitterHandle::None);
    EXPECT_EQ(PanelSplitterAt(500, 600 - kCurvePanelHeight, 1000, 800, shown), PanelSplitterHandle::None);
    // The views keep 200 pixels: the rows the strip takes come off the panels.
    EXPECT_EQ(FittedBottomPanels({460, 5000, kCurvePanelHeight}, 1000, 800).motionHeight,
              198 + 15 * ((800 - 200 - kCurvePanelHeight - 200) / 15));
    EXPECT_GE(RenderWindowRect(800, 600, FittedBottomPanels({460, 198, kCurvePanelHeight}, 800, 600)).Height(),
              kMinimumRenderHeight);
}

TEST(WindowLayout, SplitterHandlesDragThePanelsTallerAndWider)
{
    const BottomPanelsSize designed;
    // The band between the render window (bottom 600) and the panels (top 603).
    EXPECT_EQ(PanelSplitterAt(500, 600, 1000, 800, designed), PanelSplitterHandle::Height);
    EXPECT_EQ(PanelSplitterAt(500, 602, 1000, 800, designed), PanelSplitterHandle::Height);
    EXPECT_EQ(PanelSplitterAt(500, 603, 1000, 800, designed), PanelSplitterHandle::None);
    EXPECT_EQ(PanelSplitterAt(500, 599, 1000, 800, designed), PanelSplitterHandle::None);
    // The strip right of the motion panel (right edge 793).
    EXPECT_EQ(PanelSplitterAt(793, 700, 1000, 800, designed), PanelSplitterHandle::Width);
    EXPECT_EQ(PanelSplitterAt(792, 700, 1000, 800, designed), PanelSplitterHandle::None);

    PanelSplitterDrag drag;
    ASSERT_TRUE(drag.Press(500, 601, 1000, 800, designed));
    EXPECT_EQ(drag.SizeAt(500, 594, 1000, 800).motionHeight, 198);       // under half a row
    EXPECT_EQ(drag.SizeAt(700, 593, 1000, 800).motionHeight, 198 + 15);  // half a row: the next
    EXPECT_EQ(drag.SizeAt(700, 593, 1000, 800).motionWidth, 460);        // the band leaves the width
    EXPECT_EQ(drag.SizeAt(500, 700, 1000, 800).motionHeight, 198);       // never below the design
    ASSERT_TRUE(drag.Press(795, 700, 1000, 800, designed));
    EXPECT_EQ(drag.SizeAt(895, 100, 1000, 800).motionWidth, 560);
    EXPECT_EQ(drag.SizeAt(895, 100, 1000, 800).motionHeight, 198);
    drag.Release();
    EXPECT_FALSE(drag.Active());
    EXPECT_FALSE(drag.Press(10, 10, 1000, 800, designed));

    // By default the panel is as tall as designed and as wide as the window, following it.
    const SettingsValues defaults = DefaultSettingsValues("/");
    EXPECT_EQ(defaults.motionPanelHeight, designed.motionHeight);
    const BottomPanelsSize following{defaults.motionPanelWidth, defaults.motionPanelHeight};
    EXPECT_EQ(FittedBottomPanels(following, 1600, 800).motionWidth, 1600 - 333 - 5);
    EXPECT_EQ(FittedBottomPanels(following, 700, 800).motionWidth, 460);
    // Its width strip stays in the client; dragging it to the right edge follows the window again.
    const BottomPanelsSize wide = FittedBottomPanels(following, 1000, 800);
    EXPECT_EQ(PanelSplitterAt(1000 - 5, 700, 1000, 800, wide), PanelSplitterHandle::Width);
    ASSERT_TRUE(drag.Press(1000 - 5, 700, 1000, 800, wide));
    EXPECT_EQ(drag.SizeAt(895, 700, 1000, 800).motionWidth, 1000 - 333 - 5 - 100);
    EXPECT_EQ(drag.SizeAt(999, 700, 1000, 800).motionWidth, kMotionWidthFollowsWindow);
    drag.Release();
}

}  // namespace
