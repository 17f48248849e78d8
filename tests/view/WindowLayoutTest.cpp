#include "view/WindowLayout.h"

#include <gtest/gtest.h>

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
    ExpectRect(ToolbarRect(views, 0), 92, 2, 92 + 451, 18);
    ExpectRect(ToolbarRect(views, 3), 454 + 92, 301 + 2, 454 + 92 + 452, 301 + 18);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(ToolbarShown(views, i));

    views.fourViewMode = 0;
    views.maximisedView = 2;
    EXPECT_FALSE(ToolbarShown(views, 0));
    EXPECT_TRUE(ToolbarShown(views, 2));
    ExpectRect(ToolbarRect(views, 2), 92, 2, 92 + 906, 18);
}

}  // namespace
