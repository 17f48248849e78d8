#pragma once

// Colour with components 0 ... 1.
struct ColorValue {
    float r = 0, g = 0, b = 0, a = 0;
};
