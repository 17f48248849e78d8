#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace m3d {

// How the segment from a key to the next key of its track is timed.
enum class InterpolationKind : int32_t {
    Linear = 0,  // constant speed along the shorter arc
    Step = 1,    // the key's pose held until the next key
    Smooth = 2,  // cubic Hermite through the neighbouring keys
    Ease = 3,    // as Linear, timed by a cubic Bezier curve
    // Each channel as animators see it (H, P, B in degrees, unwrapped so each
    // key's triple is the one nearest the key's before; x, y, z) a cubic
    // Bezier curve whose handles lie a third of the way to the neighbouring
    // keys in time, their slopes set by the keys' tangent modes.
    Bezier = 4,
};

// How a Bezier key's handles are worked out from its neighbours, on each side.
enum class TangentMode : int32_t {
    // Zero slope at a key that is a local extreme or equal to a neighbour, at
    // the first and last key, and slopes otherwise limited so that a segment
    // never leaves the range of its two keys: flat keys stay flat.
    AutoClamped = 0,
    // The slope from the key before to the key after (the secant to the one
    // neighbour at the ends): smooth, may overshoot.
    Auto = 1,
    // Each side points straight at its neighbouring key: a corner.
    Vector = 2,
    // The key's own handles (KeyFrame::handles), moved together: dragging
    // one turns the other so that both stay on one line.
    Aligned = 3,
    // The key's own handles, each moved on its own: a break.
    Free = 4,
};

// Whether a key of mode keeps handles of its own (Aligned, Free) rather
// than working them out from its neighbours.
constexpr bool HasOwnHandles(TangentMode mode) { return mode == TangentMode::Aligned || mode == TangentMode::Free; }

// A key's interpolation. For Ease, the inner control points (x1, y1) and
// (x2, y2) of the timing curve from (0, 0) to (1, 1): x1 and x2 within
// [0, 1], y1 and y2 any finite value (beyond [0, 1] the motion overshoots).
// For Bezier, its tangent mode. Other kinds keep (0, 0, 1, 1) and
// AutoClamped, so two equal interpolations are equal bit for bit (keys are
// compared and digested as bytes).
class KeyInterpolation {
public:
    KeyInterpolation() = default;
    static KeyInterpolation Linear() { return {}; }
    static KeyInterpolation Step() { return KeyInterpolation(InterpolationKind::Step); }
    static KeyInterpolation Smooth() { return KeyInterpolation(InterpolationKind::Smooth); }
    // x1 and x2 are clamped into [0, 1]; a value that is not finite counts as
    // that of the straight line (0, 0, 1, 1).
    static KeyInterpolation Ease(float x1, float y1, float x2, float y2);
    static KeyInterpolation EaseIn() { return Ease(0.42f, 0.0f, 1.0f, 1.0f); }
    static KeyInterpolation EaseOut() { return Ease(0.0f, 0.0f, 0.58f, 1.0f); }
    static KeyInterpolation EaseInOut() { return Ease(0.42f, 0.0f, 0.58f, 1.0f); }
    static KeyInterpolation Bezier(TangentMode mode)
    {
        KeyInterpolation bezier(InterpolationKind::Bezier);
        bezier.tangents = mode;
        return bezier;
    }
    // What "スムーズ" gives new keys: Bezier, auto-clamped.
    static KeyInterpolation AutoClamped() { return Bezier(TangentMode::AutoClamped); }

    InterpolationKind Kind() const { return kind; }
    bool IsLinear() const { return kind == InterpolationKind::Linear; }
    float X1() const { return x1; }
    float Y1() const { return y1; }
    float X2() const { return x2; }
    float Y2() const { return y2; }
    TangentMode Tangents() const { return tangents; }

    friend bool operator==(const KeyInterpolation& a, const KeyInterpolation& b)
    {
        return a.kind == b.kind && a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 &&
               a.tangents == b.tangents;
    }

private:
    explicit KeyInterpolation(InterpolationKind kind) : kind(kind) {}

    InterpolationKind kind = InterpolationKind::Linear;
    float x1 = 0.0f, y1 = 0.0f, x2 = 1.0f, y2 = 1.0f;
    TangentMode tangents = TangentMode::AutoClamped;
};

// The names the command line and the project's side file use: "linear",
// "step", "smooth", "ease-in", "ease-out", "ease-in-out" (the three presets),
// "ease:x1,y1,x2,y2" for any other ease, and "bezier:auto-clamped",
// "bezier:auto", "bezier:vector", "bezier:aligned", "bezier:free".
std::string InterpolationName(const KeyInterpolation& interpolation);
// The interpolation a name above gives; nothing for any other text (an ease
// whose x1 or x2 lies outside [0, 1], or a number that is not finite).
std::optional<KeyInterpolation> ParseInterpolation(std::string_view name);

}  // namespace m3d
