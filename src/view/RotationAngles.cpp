#include "view/RotationAngles.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

float ClampedAcos(float cosine) { return std::acos(std::clamp(cosine, -1.0f, 1.0f)); }

// degrees in (-180, 180]: a half turn reads +180 whichever side the float
// noise puts it on, as it is typed.
float HalfTurnUp(double degrees) { return static_cast<float>(degrees <= -179.99995 ? degrees + 360.0 : degrees); }

}  // namespace

Matrix4 RotationFromAngles(HeadingPitchBank angles)
{
    return MatrixRotationYawPitchRoll(angles.h * kDegreesToRadians, angles.p * kDegreesToRadians,
                                      angles.b * kDegreesToRadians);
}

HeadingPitchBank AnglesFromMatrix(const Matrix4& m)
{
    Matrix4 rotation = m;
    rotation.SetTranslation({0, 0, 0});
    const Vec3 forward = Normalize(TransformNormal({0, 0, 1}, rotation));
    const float e = forward.y;
    HeadingPitchBank out;
    if (std::fabs(e) != 1.0f) {
        // Rows of the rotation: forward (row 3) = (cos P sin H, -sin P,
        // cos P cos H); right (row 1) and up (row 2) have sin B cos P and
        // cos B cos P as their y. Each angle from two of them by atan2 in
        // double, which stays exact near 0 and 180 degrees, where the cosine
        // alone loses half the digits.
        const double fx = rotation.m[2][0], fy = rotation.m[2][1], fz = rotation.m[2][2];
        const double h = std::atan2(fx, fz);
        const double p = std::atan2(-fy, std::sqrt(fx * fx + fz * fz));
        const double b = std::atan2(double(rotation.m[0][1]), double(rotation.m[1][1]));
        constexpr double kDegrees = 180.0 / 3.14159265358979323846;
        out.h = HalfTurnUp(h * kDegrees);
        out.p = static_cast<float>(p * kDegrees);
        out.b = HalfTurnUp(b * kDegrees);
        return out;
    }
    // Forward straight up or down: heading and bank turn about the same axis,
    // so the turn is read from where the up axis went and bank stays 0.
    out.p = e >= 0.0f ? -90.0f : 90.0f;
    const Vec3 pitchedUp = Normalize(TransformNormal({0, 1, 0}, MatrixRotationX(out.p * kDegreesToRadians)));
    const Vec3 up = Normalize(TransformNormal({0, 1, 0}, rotation));
    float h = ClampedAcos(Dot(pitchedUp, up));
    if ((e >= 0.0f && up.x > 0.0f) || (e < 0.0f && up.x < 0.0f)) h = -h;
    out.h = h * kRadiansToDegrees;
    out.b = 0.0f;
    return out;
}

}  // namespace m3d
