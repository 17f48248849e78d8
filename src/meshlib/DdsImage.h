#pragma once

#include "io/Outcome.h"
#include "records/MeshRecords.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <string_view>

namespace m3d {

// DirectDraw Surface images: the top level of the first surface only.

// True when bytes begin with the DDS magic.
bool HasDdsMagic(std::string_view bytes);

// Width and height from a whole DDS header; nullopt when bytes hold none.
std::optional<std::pair<uint32_t, uint32_t>> DdsImageSize(std::string_view bytes);

// Reads uncompressed 24- and 32-bit RGB(A) images with any channel masks, and
// DXT1, DXT3 and DXT5. Fails with "<fileName>: byte <offset>: <reason>" for
// anything else, for sizes beyond the limits of ImageLimits.h, and for missing
// pixel bytes; nothing is allocated before both are checked.
Outcome DecodeDds(std::string_view bytes, const std::string& fileName, TextureImage& out);

// An uncompressed 32-bit A8R8G8B8 file image of a non-empty image.
std::string EncodeDds(const TextureImage& image);

}  // namespace m3d
