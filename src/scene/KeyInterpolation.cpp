#include "scene/KeyInterpolation.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace m3d {

KeyInterpolation KeyInterpolation::Ease(float x1, float y1, float x2, float y2)
{
    KeyInterpolation ease(InterpolationKind::Ease);
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return ease;
    ease.x1 = std::fmin(std::fmax(x1, 0.0f), 1.0f);
    ease.y1 = y1;
    ease.x2 = std::fmin(std::fmax(x2, 0.0f), 1.0f);
    ease.y2 = y2;
    return ease;
}

namespace {

struct NamedInterpolation {
    const char* name;
    KeyInterpolation interpolation;
};

const std::vector<NamedInterpolation>& Names()
{
    static const std::vector<NamedInterpolation> names{
        {"linear", KeyInterpolation::Linear()},
        {"step", KeyInterpolation::Step()},
        {"smooth", KeyInterpolation::Smooth()},
        {"ease-in", KeyInterpolation::EaseIn()},
        {"ease-out", KeyInterpolation::EaseOut()},
        {"ease-in-out", KeyInterpolation::EaseInOut()},
        {"bezier:auto-clamped", KeyInterpolation::Bezier(TangentMode::AutoClamped)},
        {"bezier:auto", KeyInterpolation::Bezier(TangentMode::Auto)},
        {"bezier:vector", KeyInterpolation::Bezier(TangentMode::Vector)},
        {"bezier:aligned", KeyInterpolation::Bezier(TangentMode::Aligned)},
        {"bezier:free", KeyInterpolation::Bezier(TangentMode::Free)},
    };
    return names;
}

// The shortest text that reads back as the same float.
std::string FloatText(float value)
{
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

std::string InterpolationName(const KeyInterpolation& interpolation)
{
    for (const NamedInterpolation& named : Names())
        if (named.interpolation == interpolation) return named.name;
    return "ease:" + FloatText(interpolation.X1()) + "," + FloatText(interpolation.Y1()) + "," +
           FloatText(interpolation.X2()) + "," + FloatText(interpolation.Y2());
}

std::optional<KeyInterpolation> ParseInterpolation(std::string_view name)
{
    for (const NamedInterpolation& named : Names())
        if (name == named.name) return named.interpolation;
    constexpr std::string_view kEase = "ease:";
    if (name.substr(0, kEase.size()) != kEase) return std::nullopt;
    std::string_view rest = name.substr(kEase.size());
    float numbers[4];
    for (int i = 0; i < 4; ++i) {
        const size_t end = i < 3 ? rest.find(',') : rest.size();
        if (end == std::string_view::npos || end == 0) return std::nullopt;
        const std::string_view number = rest.substr(0, end);
        const auto result = std::from_chars(number.data(), number.data() + number.size(), numbers[i]);
        if (result.ec != std::errc() || result.ptr != number.data() + number.size() || !std::isfinite(numbers[i]))
            return std::nullopt;
        rest = i < 3 ? rest.substr(end + 1) : std::string_view();
    }
    if (numbers[0] < 0.0f || numbers[0] > 1.0f || numbers[2] < 0.0f || numbers[2] > 1.0f) return std::nullopt;
    return KeyInterpolation::Ease(numbers[0], numbers[1], numbers[2], numbers[3]);
}

}  // namespace m3d
