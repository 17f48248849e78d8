#include "view/RotationAngles.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

float ClampedAcos(float cosine) { return std::acos(std::clamp(cosine, -1.0f, 1.0f)); }

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
        const Vec3 level = Normalize({forward.x, 0.0f, forward.z});
        float h = ClampedAcos(level.z);
        if (level.x < 0.0f) h = -h;
        const Matrix4 turn = MatrixRotationY(h);
        float p = ClampedAcos(Dot(TransformNormal({0, 0, 1}, turn), forward));
        if (forward.y > 0.0f) p = -p;
        const Vec3 levelRight = Normalize(TransformNormal({1, 0, 0}, turn));
        const Vec3 right = Normalize(TransformNormal({1, 0, 0}, rotation));
        float b = ClampedAcos(Dot(levelRight, right));
        if (right.y < 0.0f) b = -b;
        out.h = h * kRadiansToDegrees;
        out.p = p * kRadiansToDegrees;
        out.b = b * kRadiansToDegrees;
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
