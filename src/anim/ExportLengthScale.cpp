#include "anim/ExportLengthScale.h"

#include "math/LengthUnit.h"
#include "text/UiText.h"

namespace m3d {

float DefaultExportScale(double projectUnit, double formatUnit)
{
    if (!IsKnownLengthUnit(projectUnit) || !IsKnownLengthUnit(formatUnit)) return 1.0f;
    const double scale = projectUnit / formatUnit;
    if (!(scale >= double(kMinExportScale) && scale <= double(kMaxExportScale))) return 1.0f;
    return static_cast<float>(scale);
}

std::string ExportedHeightText(double height, float scale, double formatUnit)
{
    const double written = height * double(scale);
    return WithArguments(
        UiText("core", "高さ %1"),
        {IsKnownLengthUnit(formatUnit) ? MetricLengthText(written * formatUnit) : LengthFigure(written)});
}

}  // namespace m3d
