#include "editor/ViewNavigation.h"

#include "editor/EditorSession.h"
#include "view/CameraSteps.h"

#include <algorithm>

namespace m3d {

void ViewNavigation::Step(NavigationMode stepMode, int view, int dx, int dy)
{
    ViewState& views = session.Views();
    const bool changed = stepMode == NavigationMode::Zoom ? ZoomStep(views, view, dy) : PanStep(views, view, dx, dy);
    if (changed) session.Events().Publish(ViewsChanged{});
}

void ViewNavigation::BeginDrag(NavigationMode dragMode, int view, ScreenPoint cursor, ScreenPoint parked)
{
    if (dragMode == NavigationMode::None || view < 0 || view >= ViewState::kViewCount) return;
    mode = dragMode;
    dragView = view;
    dragStart = cursor;
    previous = parked;
}

void ViewNavigation::DragTo(ScreenPoint p)
{
    if (mode == NavigationMode::None) return;
    const int dx = p.x - previous.x;
    const int dy = p.y - previous.y;
    previous = p;
    Step(mode, dragView, dx, dy);
}

bool ViewNavigation::EndDrag(ScreenPoint& restoreTo)
{
    if (mode == NavigationMode::None) return false;
    mode = NavigationMode::None;
    restoreTo = dragStart;
    return true;
}

void ViewNavigation::Wheel(int x, int y, int angleDelta)
{
    const int view = session.Views().ViewAt(x, y);
    if (view < 0) return;
    if (view != wheelView) wheelRemainder = 0;
    wheelView = view;
    // A device reporting a wild turn zooms a bounded amount instead of looping.
    const int most = kMostNotchesAtOnce * kWheelNotch;
    wheelRemainder += std::clamp(angleDelta, -most, most);
    // One step per notch: a fast turn zooms as far as the same notches one by one.
    while (wheelRemainder >= kWheelNotch || wheelRemainder <= -kWheelNotch) {
        const int direction = wheelRemainder > 0 ? 1 : -1;
        wheelRemainder -= direction * kWheelNotch;
        Step(NavigationMode::Zoom, view, 0, -direction * kWheelNotchPixels);
    }
}

void ViewNavigation::MiddleButtonDown(int x, int y)
{
    panView = session.Views().ViewAt(x, y);
    if (panView >= 0) session.Views().activeView = panView;
    panX = x;
    panY = y;
}

void ViewNavigation::MiddleButtonMove(int x, int y)
{
    if (panView < 0) return;
    const int dx = x - panX;
    const int dy = y - panY;
    panX = x;
    panY = y;
    Step(NavigationMode::Pan, panView, dx, dy);
}

void ViewNavigation::MiddleButtonUp() { panView = -1; }

}  // namespace m3d
