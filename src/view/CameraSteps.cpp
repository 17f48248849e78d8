#include "view/CameraSteps.h"

#include <cmath>

namespace m3d {

namespace {

constexpr float kPersZoomPerPixel = 0.01f;
constexpr float kOrthoZoomPerPixel = 0.05f;
constexpr float kNearestPersDistance = 0.1f;
constexpr float kPersPanPerPixel = 0.002f;

void MoveCamera(View& view, Vec3 by)
{
    view.eye = view.eye + by;
    view.target = view.target + by;
}

}  // namespace

bool ZoomStep(ViewState& views, int i, int dy)
{
    if (dy == 0) return false;
    View& view = views.views[i];
    if (IsOrthographic(view.type)) {
        const float s = (static_cast<float>(dy) * kOrthoZoomPerPixel + 1.0f) * views.scale;
        if (!(s > 0.0f) || !std::isnormal(s)) return false;
        views.scale = s;
        return true;
    }
    const Vec3 away = view.eye - view.target;
    const float d = Length(away);
    const float j = d * static_cast<float>(dy) * kPersZoomPerPixel;
    // Never onto or through the target: the look-at frame would break down.
    if (j < 0.0f && d + j <= kNearestPersDistance) return false;
    view.eye = view.eye + Normalize(away) * j;
    views.SavePersCamera(i);
    return true;
}

bool PanStep(ViewState& views, int i, int dx, int dy)
{
    if (dx == 0 && dy == 0) return false;
    View& view = views.views[i];
    if (IsOrthographic(view.type)) {
        const OrthoAxes& axes = OrthoAxesOf(view.type);
        const Vec3 across = axes.screenRight * (-views.scale * static_cast<float>(dx));
        const Vec3 down = axes.screenDown * (-views.scale * static_cast<float>(dy));
        for (View& other : views.views) {
            if (!IsOrthographic(other.type)) continue;
            if (dx != 0) MoveCamera(other, across);
            if (dy != 0) MoveCamera(other, down);
        }
        return true;
    }
    const Vec3 forward = Normalize(view.target - view.eye);
    const Vec3 right = Normalize(Cross({0, 1, 0}, forward));
    const Vec3 up = Normalize(Cross(forward, right));
    if (dx != 0)
        MoveCamera(view, right * (Length(view.target - view.eye) * static_cast<float>(dx) * -kPersPanPerPixel));
    if (dy != 0) MoveCamera(view, up * (Length(view.target - view.eye) * static_cast<float>(dy) * kPersPanPerPixel));
    views.SavePersCamera(i);
    return true;
}

}  // namespace m3d
