#include "scene/JointLimit.h"

#include <cmath>

namespace m3d {

bool IsValidJointLimit(const JointLimit& limit)
{
    if (limit.IsFree()) return limit.minDegrees == 0.0f && limit.maxDegrees == 0.0f;
    return std::isfinite(limit.minDegrees) && std::isfinite(limit.maxDegrees) && limit.minDegrees >= -180.0f &&
           limit.maxDegrees <= 180.0f && limit.minDegrees <= limit.maxDegrees;
}

const char* JointAxisName(JointAxis axis)
{
    switch (axis) {
    case JointAxis::X: return "x";
    case JointAxis::Y: return "y";
    case JointAxis::Z: return "z";
    case JointAxis::Free: break;
    }
    return "free";
}

std::optional<JointAxis> ParseJointAxis(std::string_view name)
{
    for (JointAxis axis : {JointAxis::Free, JointAxis::X, JointAxis::Y, JointAxis::Z})
        if (name == JointAxisName(axis)) return axis;
    return std::nullopt;
}

}  // namespace m3d
