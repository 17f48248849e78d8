#pragma once

namespace m3d {

class EditorSession;

// A point on the desktop, in screen pixels.
struct ScreenPoint {
    int x = 0, y = 0;
};

// What a navigation drag does to its view's camera.
enum class NavigationMode : int { None = 0, Zoom = 1, Pan = 2 };

// Zooming and panning the views' cameras (ZoomStep, PanStep): the drags on
// the display toolbars' zoom and pan pictures (one drag at a time for all
// four toolbars), and the render window's wheel and middle-button drag. Every
// step that changes a camera or the scale reports ViewsChanged.
class ViewNavigation {
public:
    explicit ViewNavigation(EditorSession& owner) : session(owner) {}
    ViewNavigation(const ViewNavigation&) = delete;
    ViewNavigation& operator=(const ViewNavigation&) = delete;

    // --- Toolbar drags, in screen pixels ---

    // Starts a zoom or pan drag of view (0 ... 3; another index or mode None
    // starts nothing). cursor is where the cursor was; parked is where the
    // caller then moved it (the middle of the desktop, so that the hidden
    // cursor has room in every direction) and from where the first step counts.
    void BeginDrag(NavigationMode mode, int view, ScreenPoint cursor, ScreenPoint parked);
    // The cursor moved to p: one step by p minus the previous position. The
    // cursor is not moved back during the drag.
    void DragTo(ScreenPoint p);
    // Ends the drag; true with restoreTo := where the cursor was when it
    // began, false when no drag was going on.
    bool EndDrag(ScreenPoint& restoreTo);
    NavigationMode Mode() const { return mode; }

    // --- Render window, in render-window pixels ---

    // The wheel over (x, y) zooms the view there as a zoom drag does: every
    // whole notch (120 units of angleDelta; forward positive) is one step of
    // kWheelNotchPixels upward (forward zooms in, backward out); the part of
    // a notch left over counts towards the next turn over the same view. One
    // turn counts at most kMostNotchesAtOnce notches.
    void Wheel(int x, int y, int angleDelta);
    // A middle-button drag pans the view it started in as a pan drag does, so
    // the scene follows the cursor. A press between the views starts nothing.
    void MiddleButtonDown(int x, int y);
    void MiddleButtonMove(int x, int y);
    void MiddleButtonUp();

    static constexpr int kWheelNotch = 120;
    static constexpr int kWheelNotchPixels = 4;
    static constexpr int kMostNotchesAtOnce = 20;

private:
    void Step(NavigationMode stepMode, int view, int dx, int dy);

    EditorSession& session;
    NavigationMode mode = NavigationMode::None;
    int dragView = 0;
    ScreenPoint dragStart;
    ScreenPoint previous;

    int wheelView = -1;
    int wheelRemainder = 0;  // angleDelta short of a whole notch

    int panView = -1;  // view of the middle-button drag, -1 for none
    int panX = 0, panY = 0;
};

}  // namespace m3d
