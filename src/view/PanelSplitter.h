#pragma once

#include "view/WindowLayout.h"

namespace m3d {

// The splitter between the views and the bottom panels: the band between the
// render window (or the curve strip below it) and the panels drags the motion
// panel (and the tree) taller, the strip just right of the motion panel drags
// it wider.
enum class PanelSplitterHandle { None, Height, Width };

// The handle under client pixel (x, y) with the bottom panels as large as panels.
PanelSplitterHandle PanelSplitterAt(int x, int y, int clientWidth, int clientHeight, BottomPanelsSize panels);
// The band of a handle (Height or Width) in client pixels, for drawing its
// grip; empty (left = right) where the layout leaves it no room.
PixelRect PanelSplitterRect(PanelSplitterHandle handle, int clientWidth, int clientHeight, BottomPanelsSize panels);

// One drag of the splitter, in client pixels.
class PanelSplitterDrag {
public:
    // Starts a drag when (x, y) lies on a handle; false otherwise.
    bool Press(int x, int y, int clientWidth, int clientHeight, BottomPanelsSize panels);
    bool Active() const { return handle != PanelSplitterHandle::None; }
    PanelSplitterHandle Handle() const { return handle; }
    // The bottom panels' size with the mouse at (x, y), fitted to the client
    // (the height moves by whole rows, the nearest to the mouse). A width
    // that reaches the client's right edge comes back as
    // kMotionWidthFollowsWindow: from then on the panel follows the window.
    BottomPanelsSize SizeAt(int x, int y, int clientWidth, int clientHeight) const;
    void Release() { handle = PanelSplitterHandle::None; }

private:
    PanelSplitterHandle handle = PanelSplitterHandle::None;
    int pressX = 0, pressY = 0;
    BottomPanelsSize start;
};

}  // namespace m3d
