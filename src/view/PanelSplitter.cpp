#include "view/PanelSplitter.h"

namespace m3d {

namespace {

constexpr int kWidthStripPixels = 5;

}  // namespace

PanelSplitterHandle PanelSplitterAt(int x, int y, int clientWidth, int clientHeight, BottomPanelsSize panels)
{
    const PixelRect render = RenderWindowRect(clientWidth, clientHeight, panels);
    const PixelRect motion = PanelRect(PanelKind::Motion, clientHeight, panels);
    if (x >= render.left && x < clientWidth && y >= render.bottom + panels.curvesHeight && y < motion.top)
        return PanelSplitterHandle::Height;
    if (x >= motion.right && x < motion.right + kWidthStripPixels && y >= motion.top && y < clientHeight)
        return PanelSplitterHandle::Width;
    return PanelSplitterHandle::None;
}

bool PanelSplitterDrag::Press(int x, int y, int clientWidth, int clientHeight, BottomPanelsSize panels)
{
    handle = PanelSplitterAt(x, y, clientWidth, clientHeight, panels);
    pressX = x;
    pressY = y;
    start = panels;
    return Active();
}

BottomPanelsSize PanelSplitterDrag::SizeAt(int x, int y, int clientWidth, int clientHeight) const
{
    BottomPanelsSize wanted = start;
    if (handle == PanelSplitterHandle::Width) wanted.motionWidth += x - pressX;
    // Half a row up already takes the next row.
    if (handle == PanelSplitterHandle::Height) wanted.motionHeight += pressY - y + kMotionPanelRowPixels / 2;
    return FittedBottomPanels(wanted, clientWidth, clientHeight);
}

}  // namespace m3d
