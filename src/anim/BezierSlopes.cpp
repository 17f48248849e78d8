#include "anim/BezierSlopes.h"

#include "view/RotationAngles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace m3d {

size_t BezierWindowOf(const MotionTrack& track, size_t first, size_t last, int32_t loopLength, WindowKey* window,
                      size_t* firstAt)
{
    const size_t count = track.keys.size();
    const bool wraps =
        loopLength > 0 && count >= 2 && track.keys.front().frame == 0 && track.keys.back().frame == loopLength;
    size_t n = 0;
    if (first > 0)
        window[n++] = {first - 1, 0};
    else if (wraps)
        window[n++] = {count - 2, -loopLength};
    *firstAt = n;
    for (size_t k = first; k <= last; ++k) window[n++] = {k, 0};
    if (last + 1 < count)
        window[n++] = {last + 1, 0};
    else if (wraps)
        window[n++] = {1, loopLength};
    return n;
}

namespace {

// AnglesFromMatrix of a key's rotation, remembered: each evaluation of a
// frame works out the angles of the four keys around it, again and again
// while a Motion plays. A slot is picked by the key's address and holds the
// rotation it was worked out from, so a key moved or changed (or another in
// its place) is worked out afresh: the angles always belong to the rotation.
// One table a thread, so that threads never share a slot.
HeadingPitchBank KeyAngles(const KeyFrame& key)
{
    struct Slot {
        float rotation[3][3];
        HeadingPitchBank angles;
        bool used;
    };
    constexpr size_t kSlots = 16384;
    static thread_local std::vector<Slot> slots(kSlots);
    Slot& slot = slots[(reinterpret_cast<uintptr_t>(&key) / sizeof(KeyFrame)) % kSlots];
    float rotation[3][3];
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) rotation[r][c] = key.matrix.m[r][c];
    if (slot.used && std::memcmp(slot.rotation, rotation, sizeof rotation) == 0) return slot.angles;
    std::memcpy(slot.rotation, rotation, sizeof rotation);
    slot.angles = AnglesFromMatrix(key.matrix);
    slot.used = true;
    return slot.angles;
}

}  // namespace

void BezierKeysOf(const MotionTrack& track, const WindowKey* window, size_t count, TangentMode fallback, BezierKey* out)
{
    if (HasOwnHandles(fallback)) fallback = TangentMode::AutoClamped;
    HeadingPitchBank angles;
    for (size_t k = 0; k < count; ++k) {
        const KeyFrame& key = track.keys[window[k].index];
        angles = k == 0 ? KeyAngles(key) : NearestOfAngles(KeyAngles(key), angles);
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
        case TangentMode::Aligned:
        case TangentMode::Free:
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

BezierHandles ShownHandles(const MotionTrack& track, size_t k, int32_t loopLength)
{
    const KeyFrame& key = track.keys[k];
    const bool bezier = key.interpolation.Kind() == InterpolationKind::Bezier;
    if (bezier && HasOwnHandles(key.interpolation.Tangents())) return key.handles;
    WindowKey window[3];
    size_t at = 0;
    const size_t n = BezierWindowOf(track, k, k, loopLength, window, &at);
    BezierHandles handles;
    if (n < 2) {
        for (int c = 0; c < kBezierChannels; ++c) {
            handles.inFrames[c] = -1.0f;
            handles.outFrames[c] = 1.0f;
        }
        return handles;
    }
    BezierKey keys[3];
    BezierKeysOf(track, window, n, TangentMode::AutoClamped, keys);
    const bool before = at > 0, after = at + 1 < n;
    const double inFrames = (before ? keys[at].frame - keys[at - 1].frame : keys[at + 1].frame - keys[at].frame) / 3.0;
    const double outFrames = (after ? keys[at + 1].frame - keys[at].frame : keys[at].frame - keys[at - 1].frame) / 3.0;
    double inSlopes[kBezierChannels], outSlopes[kBezierChannels];
    BezierSlopes(keys, n, at, -1, inSlopes);
    BezierSlopes(keys, n, at, 1, outSlopes);
    for (int c = 0; c < kBezierChannels; ++c) {
        handles.inFrames[c] = float(-inFrames);
        handles.inValues[c] = float(-inSlopes[c] * inFrames);
        handles.outFrames[c] = float(outFrames);
        handles.outValues[c] = float(outSlopes[c] * outFrames);
    }
    return handles;
}

}  // namespace m3d
