#include "view/WindowLayout.h"

#include <algorithm>

namespace m3d {

namespace {

struct PanelPlacement {
    int left;
    int top;  // from the top, or from the bottom when fromBottom
    bool fromBottom;
    int widthUnits;
    int heightUnits;
};

PanelPlacement PlacementOf(PanelKind panel)
{
    switch (panel) {
    case PanelKind::Parts: return {3, 3, false, 50, 74};
    case PanelKind::Transform: return {3, 115, false, 50, 288};
    case PanelKind::PartsTree: return {93, 197, true, 137, 131};
    case PanelKind::Motion: return {333, 197, true, 263, 132};
    }
    return {0, 0, false, 0, 0};
}

}  // namespace

int DialogUnitsToPixelsX(int units) { return units * 7 / 4; }
int DialogUnitsToPixelsY(int units) { return units * 3 / 2; }

int RoomyMotionWidth(int clientWidth)
{
    const int left = PlacementOf(PanelKind::Motion).left;
    return std::max(BottomPanelsSize().motionWidth, clientWidth - left - kPanelWidthStripPixels);
}

BottomPanelsSize FittedBottomPanels(BottomPanelsSize wanted, int clientWidth, int clientHeight)
{
    const BottomPanelsSize designed;
    const int widest = RoomyMotionWidth(clientWidth);
    const int width = wanted.motionWidth <= kMotionWidthFollowsWindow
                          ? widest
                          : std::clamp(wanted.motionWidth, designed.motionWidth, widest);
    const int extraRows = std::max(0, (wanted.motionHeight - designed.motionHeight) / kMotionPanelRowPixels);
    const int roomRows =
        std::max(0, (clientHeight - kRenderWindowBottomMargin - wanted.curvesHeight - kMinimumRenderHeight) /
                        kMotionPanelRowPixels);
    return {width, designed.motionHeight + kMotionPanelRowPixels * std::min(extraRows, roomRows), wanted.curvesHeight};
}

PixelRect RenderWindowRect(int clientWidth, int clientHeight, BottomPanelsSize panels)
{
    const int margin =
        kRenderWindowBottomMargin + panels.motionHeight - BottomPanelsSize().motionHeight + panels.curvesHeight;
    const int width = std::max(clientWidth - kRenderWindowLeft, 0);
    const int height = std::max(clientHeight - margin, 0);
    return {kRenderWindowLeft, 0, kRenderWindowLeft + width, height};
}

PixelRect PanelSize(PanelKind panel)
{
    const PanelPlacement p = PlacementOf(panel);
    return {0, 0, DialogUnitsToPixelsX(p.widthUnits), DialogUnitsToPixelsY(p.heightUnits)};
}

PixelRect CurvePanelRect(int clientWidth, int clientHeight, BottomPanelsSize panels)
{
    const PixelRect render = RenderWindowRect(clientWidth, clientHeight, panels);
    return {render.left, render.bottom, render.right, render.bottom + panels.curvesHeight};
}

PixelRect PanelRect(PanelKind panel, int clientHeight, BottomPanelsSize panels)
{
    const PanelPlacement p = PlacementOf(panel);
    PixelRect size = PanelSize(panel);
    const int taller = p.fromBottom ? panels.motionHeight - BottomPanelsSize().motionHeight : 0;
    size.bottom += taller;
    if (panel == PanelKind::Motion) size.right = panels.motionWidth;
    const int top = p.fromBottom ? clientHeight - p.top - taller : p.top;
    return {p.left, top, p.left + size.right, top + size.bottom};
}

bool ToolbarShown(const ViewState& views, int view) { return views.fourViewMode || view == views.maximisedView; }

int ToolbarRows(int width) { return width < kToolbarOneRowWidth ? 2 : 1; }

PixelRect ToolbarRect(const ViewState& views, int view)
{
    const int left = kRenderWindowLeft + 2;
    PixelRect rect;
    if (!views.fourViewMode) {
        rect = {left, 2, left + views.RenderWidth() - 4, 2};
    } else {
        const PixelRect& r = views.views[view].rect;
        rect = {r.left + left, r.top + 2, r.left + left + r.Width(), r.top + 2};
    }
    rect.bottom += kToolbarHeight * ToolbarRows(rect.Width());
    return rect;
}

}  // namespace m3d
