#pragma once

#include "records/TextureImage.h"

#include <array>
#include <cstdint>
#include <vector>

namespace m3d {

// An image of palette indices.
struct IndexedImage {
    std::vector<uint8_t> indices;                 // one a pixel, rows top first
    std::vector<std::array<uint8_t, 3>> palette;  // R, G, B; at most 256 entries
    int transparentIndex = -1;                    // the entry transparent pixels take, or -1
};

// The image in at most maxColours colours (1 ... 256) chosen by median cut
// over its pixels' colours (weighted by how many pixels have them), each
// pixel taking the nearest. With transparency, pixels whose alpha is below
// half take an entry of their own (within maxColours) and count for no colour.
IndexedImage QuantizeImage(const TextureImage& image, int maxColours, bool transparency);

}  // namespace m3d
