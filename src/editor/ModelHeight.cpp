#include "editor/ModelHeight.h"

#include "math/LengthUnit.h"
#include "scene/Scene.h"
#include "text/UiText.h"
#include "view/ViewState.h"

#include <cfloat>

namespace m3d {

std::optional<double> ModelHeight(const Scene& scene)
{
    Vec3 lo{FLT_MAX, FLT_MAX, FLT_MAX}, hi{-FLT_MAX, -FLT_MAX, -FLT_MAX};
    if (WidenByVertices(scene.Meshes(), lo, hi) == 0) return std::nullopt;
    return double(hi.y) - double(lo.y);
}

std::string ModelHeightText(const Scene& scene)
{
    const std::optional<double> measured = ModelHeight(scene);
    if (!measured) return {};
    const double height = *measured;
    if (!IsKnownLengthUnit(scene.metresPerUnit))
        return WithArguments(UiText("core", "高さ %1"), {LengthFigure(height)});
    return WithArguments(UiText("core", "高さ %1（%2）"),
                         {LengthFigure(height), MetricLengthText(height * scene.metresPerUnit)});
}

}  // namespace m3d
