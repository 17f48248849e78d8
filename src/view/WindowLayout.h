#pragma once

#include "view/ViewState.h"

namespace m3d {

// Where the render window, the panels and the display toolbars sit in the main
// window's client area. All rectangles are client pixels (origin at the top
// left of the area below the menu), right and bottom exclusive.

// The main window keeps at least this much client area.
inline constexpr int kMinimumClientWidth = 800;
inline constexpr int kMinimumClientHeight = 600;
// The render window starts this far right of the client's left edge and leaves
// this much room below it for the tree and the motion panel.
inline constexpr int kRenderWindowLeft = 90;
inline constexpr int kRenderWindowBottomMargin = 200;
// However tall the user makes the bottom panels, the render window keeps this much height.
inline constexpr int kMinimumRenderHeight = 200;
// The motion panel grows taller by whole rows of its timeline.
inline constexpr int kMotionPanelRowPixels = 15;
// The display toolbars are 16 pixels high and sit 2 pixels inside their view.
inline constexpr int kToolbarHeight = 16;
// A display toolbar narrower than this (all its controls in one row) puts its
// last switches into a second row below the first.
inline constexpr int kToolbarOneRowWidth = 658;
// While shown, the curve panel is a strip this high (120 vertical dialog
// units) across the client right of the left panels, just above the bottom
// panels; the render window is that much lower.
inline constexpr int kCurvePanelHeight = 180;

// The panels were laid out in dialog units of a 9-point font: one horizontal
// unit is 1.75 px, one vertical unit 1.5 px. Fractions are dropped, so panels
// that touch in dialog units never overlap in pixels.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);

enum class PanelKind { Parts, Transform, PartsTree, Motion };

// The motion panel's size in pixels, as the user made it by dragging the
// splitter between the views and the bottom panels; the parts tree beside it
// is as much taller as it is. Above them the curve panel's strip, when shown.
struct BottomPanelsSize {
    int motionWidth = 460;   // its designed width, 263 dialog units
    int motionHeight = 198;  // its designed height, 132 dialog units
    int curvesHeight = 0;    // kCurvePanelHeight while the curve panel is shown, else 0
};
// A motion panel width that means "as wide as the window allows" (the
// settings' default): it follows the window as it is resized.
inline constexpr int kMotionWidthFollowsWindow = 0;
// The strip right of the motion panel that drags its width, in pixels.
inline constexpr int kPanelWidthStripPixels = 5;
// The widest the motion panel gets in a client clientWidth wide: up to the
// strip at the client's right edge, never below the designed width.
int RoomyMotionWidth(int clientWidth);
// wanted fitted to a client area: never below the designed size, taller only
// by whole timeline rows, no wider than RoomyMotionWidth (which
// kMotionWidthFollowsWindow, or any width at or below 0, asks for),
// and never so tall that the render window (below the curve strip's height)
// gets lower than kMinimumRenderHeight. The strip's height stays as wanted.
BottomPanelsSize FittedBottomPanels(BottomPanelsSize wanted, int clientWidth, int clientHeight);

// The render window for a client area of clientWidth x clientHeight above the
// bottom panels (as fitted); its size never goes below 0 x 0.
PixelRect RenderWindowRect(int clientWidth, int clientHeight, BottomPanelsSize panels = {});
// A panel's place and size (its dialog-unit size in pixels, the bottom panels
// as large as panels says); the tree and the motion panel follow the bottom
// of the client area.
PixelRect PanelRect(PanelKind panel, int clientHeight, BottomPanelsSize panels = {});
// The designed size of a panel in pixels; its left and top are 0.
PixelRect PanelSize(PanelKind panel);
// The curve panel's strip: right under the render window, from its left edge
// to the client's right one, panels.curvesHeight high (empty while hidden).
PixelRect CurvePanelRect(int clientWidth, int clientHeight, BottomPanelsSize panels);

// Whether view's display toolbar is shown: all four in four-view mode, only
// the maximised view's in single-view mode.
bool ToolbarShown(const ViewState& views, int view);
// Rows a display toolbar width pixels wide takes (1 or 2).
int ToolbarRows(int width);
// The place of view's display toolbar. views must already have the render size
// of the current layout. In single-view mode the shown toolbar spans the render
// window less 4 pixels. It is ToolbarRows rows high.
PixelRect ToolbarRect(const ViewState& views, int view);

}  // namespace m3d
