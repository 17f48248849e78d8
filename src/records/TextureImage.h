#pragma once

#include <cstdint>
#include <vector>

namespace m3d {

// A decoded image: width x height pixels, 4 bytes each (R, G, B, A), rows top first.
struct TextureImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgba;
};

}  // namespace m3d
