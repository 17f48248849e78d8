#include "anim/BezierSlopes.h"

#include "view/RotationAngles.h"

#include <algorithm>
#include <cmath>

namespace m3d {

void BezierKeysOf(const MotionTrack& track, const WindowKey* window, size_t count, TangentMode fallback, BezierKey* out)
{
    HeadingPitchBank angles;
    for (size_t k = 0; k < count; ++k) {
        const KeyFrame& key = track.keys[window[k].index];
        angles = k == 0 ? AnglesFromMatrix(key.matrix) : NearestAngles(key.matrix, angles);
        const Vec3 p = key.matrix.Translation();
        BezierKey& to = out[k];
        to.frame = double(key.frame) + window[k].shift;
        const double values[kBezierChannels] = {angles.h, angles.p, angles.b, p.x, p.y, p.z};
        std::copy(values, values + kBezierChannels, to.values);
        to.mode = key.interpolation.Kind() == InterpolationKind::Bezier ? key.interpolation.Tangents() : fallback;
    }
}

namespace {

// The secant of channel c from key a to key b.
double Secant(const BezierKey& a, const BezierKey& b, int c)
{
    return (b.values[c] - a.values[c]) / (b.frame - a.frame);
}

}  // namespace

void BezierSlopes(const BezierKey* keys, size_t count, size_t k, int side, double out[kBezierChannels])
{
    const bool hasBefore = k > 0, hasAfter = k + 1 < count;
    const BezierKey& key = keys[k];
    for (int c = 0; c < kBezierChannels; ++c) {
        const double before = hasBefore ? Secant(keys[k - 1], key, c) : 0.0;
        const double after = hasAfter ? Secant(key, keys[k + 1], c) : 0.0;
        double slope = 0.0;
        switch (key.mode) {
        case TangentMode::Vector: slope = side < 0 ? before : after; break;
        case TangentMode::Auto:
            slope = hasBefore && hasAfter ? Secant(keys[k - 1], keys[k + 1], c) : hasBefore ? before : after;
            break;
        case TangentMode::AutoClamped:
            // Flat at the ends, at extremes and beside an equal neighbour; elsewhere the
            // auto slope, no steeper than three times either secant, which keeps both
            // segments monotone (so within their keys' range).
            if (hasBefore && hasAfter && before * after > 0.0) {
                const double limit = 3.0 * std::min(std::fabs(before), std::fabs(after));
                slope = std::copysign(std::min(std::fabs(Secant(keys[k - 1], keys[k + 1], c)), limit), before);
            }
            break;
        }
        out[c] = slope;
    }
}

}  // namespace m3d
