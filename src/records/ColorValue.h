#pragma once

#include <cstdint>

namespace m3d {

// Colour with components 0 ... 1.
struct ColorValue {
    float r = 0, g = 0, b = 0, a = 0;
};

// The components of an ARGB colour (alpha in the top byte).
inline ColorValue ColorValueOfArgb(uint32_t argb)
{
    const auto channel = [argb](int shift) { return float((argb >> shift) & 0xFF) / 255.0f; };
    return {channel(16), channel(8), channel(0), channel(24)};
}

}  // namespace m3d
