#include "view/RotationAngles.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

float ClampedAcos(float cosine) { return std::acos(std::clamp(cosine, -1.0f, 1.0f)); }

// degrees in (-180, 180]: a half turn reads +180 whichever side the float
// noise puts it on, as it is typed.
float HalfTurnUp(double degrees) { return static_cast<float>(degrees <= -179.99995 ? degrees + 360.0 : degrees); }

// angle plus the whole turns that bring it nearest to reference; half a turn
// away, the one above reference (a half turn from 0 reads +180).
float NearestTurn(float angle, float reference)
{
    return static_cast<float>(angle + 360.0 * std::floor((double(reference) - angle) / 360.0 + 0.5));
}

HeadingPitchBank NearestTurns(HeadingPitchBank angles, HeadingPitchBank reference)
{
    return {NearestTurn(angles.h, reference.h), NearestTurn(angles.p, reference.p), NearestTurn(angles.b, reference.b)};
}

double DistanceBetween(HeadingPitchBank a, HeadingPitchBank b)
{
    return std::fabs(double(a.h) - b.h) + std::fabs(double(a.p) - b.p) + std::fabs(double(a.b) - b.b);
}

// Within this many degrees of straight up or down, heading and bank are one turn.
constexpr float kLockedPitch = 1e-3f;

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

HeadingPitchBank NearestAngles(const Matrix4& m, HeadingPitchBank reference)
{
    return NearestOfAngles(AnglesFromMatrix(m), reference);
}

HeadingPitchBank NearestOfAngles(HeadingPitchBank angles, HeadingPitchBank reference)
{
    if (90.0f - std::fabs(angles.p) < kLockedPitch) {
        // Pitched straight up (P = 90) the rotation depends on H - B only,
        // straight down on H + B: the bank wanted, the heading makes up the rest.
        const float up = angles.p > 0.0f ? 1.0f : -1.0f;
        const HeadingPitchBank locked{angles.h + up * (reference.b - angles.b), angles.p, reference.b};
        return NearestTurns(locked, reference);
    }
    const HeadingPitchBank first = NearestTurns(angles, reference);
    const HeadingPitchBank second = NearestTurns({angles.h + 180.0f, 180.0f - angles.p, angles.b + 180.0f}, reference);
    return DistanceBetween(second, reference) < DistanceBetween(first, reference) ? second : first;
}

}  // namespace m3d
