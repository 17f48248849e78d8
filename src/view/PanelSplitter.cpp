#include "view/PanelSplitter.h"

namespace m3d {

PixelRect PanelSplitterRect(PanelSplitterHandle handle, int clientWidth, int clientHeight, BottomPanelsSize panels)
{
    const PixelRect render = RenderWindowRect(clientWidth, clientHeight, panels);
    const PixelRect motion = PanelRect(PanelKind::Motion, clientHeight, panels);
    PixelRect band{0, 0, 0, 0};
    if (handle == PanelSplitterHandle::Height)
        band = {render.left, render.bottom + panels.curvesHeight, clientWidth, motion.top};
    else if (handle == PanelSplitterHandle::Width)
        band = {motion.right, motion.top, motion.right + kPanelWidthStripPixels, clientHeight};
    if (band.right <= band.left || band.bottom <= band.top) return {0, 0, 0, 0};
    return band;
}

PanelSplitterHandle PanelSplitterAt(int x, int y, int clientWidth, int clientHeight, BottomPanelsSize panels)
{
    for (PanelSplitterHandle handle : {PanelSplitterHandle::Height, PanelSplitterHandle::Width}) {
        const PixelRect band = PanelSplitterRect(handle, clientWidth, clientHeight, panels);
        if (x >= band.left && x < band.right && y >= band.top && y < band.bottom) return handle;
    }
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
    BottomPanelsSize fitted = FittedBottomPanels(wanted, clientWidth, clientHeight);
    if (fitted.motionWidth >= RoomyMotionWidth(clientWidth)) fitted.motionWidth = kMotionWidthFollowsWindow;
    return fitted;
}

}  // namespace m3d
