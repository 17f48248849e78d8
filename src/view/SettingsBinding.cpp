#include "view/SettingsBinding.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

constexpr float kSplitMin = 0.05f;
constexpr float kSplitMax = 0.95f;
constexpr int kDefaultViewTypes[4] = {ViewType::Top, ViewType::Pers, ViewType::Front, ViewType::Left};

float SplitFraction(float value)
{
    if (!std::isfinite(value)) return 0.5f;
    return std::clamp(value, kSplitMin, kSplitMax);
}

bool IsFinite(Vec3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

}  // namespace

void ApplySettings(const SettingsValues& values, ViewState& views, ViewDisplays& displays, ColourTable& colours)
{
    colours = values.colours;
    views.SetGridWidth(values.gridWidth);
    views.gridXY = values.gridXY ? 1 : 0;
    views.gridYZ = values.gridYZ ? 1 : 0;
    views.gridZX = values.gridZX ? 1 : 0;
    const Vec3 light = values.lightDirection;
    if (IsFinite(light) && Length(light) > 0.0f) views.lightDirection = light;
    views.splitX = SplitFraction(values.splitX);
    views.splitY = SplitFraction(values.splitY);
    if (std::isfinite(values.orthographicScale) && values.orthographicScale > 0.0f)
        views.scale = values.orthographicScale;
    for (int i = 0; i < ViewState::kViewCount; ++i) {
        const ViewSettingsValues& v = values.views[i];
        View& view = views.views[i];
        view.type = v.type >= 0 && v.type < kViewTypeCount ? v.type : kDefaultViewTypes[i];
        if (IsFinite(v.target)) view.target = v.target;
        if (IsFinite(v.persEye)) view.savedPersEye = v.persEye;
        if (IsFinite(v.persTarget)) view.savedPersTarget = v.persTarget;
        displays[i].drawMode = v.drawMode == 1 ? 1 : 0;
        displays[i].showSelection = v.drawSelect ? 1 : 0;
    }
    views.UpdateViewRects();
}

void GatherSettings(SettingsValues& values, const ViewState& views, const ViewDisplays& displays,
                    const ColourTable& colours)
{
    values.colours = colours;
    values.gridWidth = views.gridWidth;
    values.gridXY = views.gridXY != 0;
    values.gridYZ = views.gridYZ != 0;
    values.gridZX = views.gridZX != 0;
    values.lightDirection = views.lightDirection;
    values.splitX = views.splitX;
    values.splitY = views.splitY;
    values.orthographicScale = views.scale;
    for (int i = 0; i < ViewState::kViewCount; ++i) {
        ViewSettingsValues& v = values.views[i];
        const View& view = views.views[i];
        v.type = view.type;
        v.target = view.target;
        v.persEye = view.savedPersEye;
        v.persTarget = view.savedPersTarget;
        v.drawMode = displays[i].drawMode;
        v.drawSelect = displays[i].showSelection != 0;
    }
}

}  // namespace m3d
