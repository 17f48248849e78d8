#include "math/LengthUnit.h"

#include <cmath>
#include <cstdio>
#include <iterator>

namespace m3d {

bool IsKnownLengthUnit(double metresPerUnit)
{
    return metresPerUnit >= kMinLengthUnit && metresPerUnit <= kMaxLengthUnit;
}

std::string MetricLengthText(double metres)
{
    if (!std::isfinite(metres) || metres < 0.0) return "?";
    if (metres == 0.0) return "0 m";
    struct Unit {
        double metres;
        const char* name;
    };
    static constexpr Unit kUnits[] = {{1e3, "km"}, {1.0, "m"}, {1e-2, "cm"}, {1e-3, "mm"}, {1e-6, "µm"}};
    const Unit* unit = &kUnits[std::size(kUnits) - 1];
    for (const Unit& candidate : kUnits)
        if (metres >= candidate.metres) {
            unit = &candidate;
            break;
        }
    return LengthFigure(metres / unit->metres) + " " + unit->name;
}

std::string LengthFigure(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", value);
    return text;
}

}  // namespace m3d
