#pragma once

#include <optional>
#include <string_view>

namespace m3d {

// The one local axis a limited Part may turn about.
enum class JointAxis { Free, X, Y, Z };

// How a Part may turn relative to its parent when a solver poses it: freely,
// or only about one of its local axes. A hinge angle is the angle of that
// one rotation as the transform panel's relative angles show it: the
// Part's localMatrix is then RotationFromAngles with P (about X), H (about Y)
// or B (about Z) set to the angle and the other two 0. Only the solvers keep
// to it; poses set by hand may leave it.
struct JointLimit {
    JointAxis axis = JointAxis::Free;
    // The hinge angle's range in degrees, -180 <= minDegrees <= maxDegrees
    // <= 180; both 0 for a free Part.
    float minDegrees = 0.0f;
    float maxDegrees = 0.0f;

    bool IsFree() const { return axis == JointAxis::Free; }
    friend bool operator==(const JointLimit&, const JointLimit&) = default;
};

// Whether limit keeps the rules above (finite angles within -180 ... 180,
// min not above max; a free limit with both 0).
bool IsValidJointLimit(const JointLimit& limit);

// "free", "x", "y", "z": the names the side file and the command line use.
const char* JointAxisName(JointAxis axis);
// The axis a name above gives; nothing for any other text.
std::optional<JointAxis> ParseJointAxis(std::string_view name);

}  // namespace m3d
