#include "meshlib/ImageLimits.h"

namespace m3d {

std::optional<std::string> ImageSizeRefusal(uint64_t width, uint64_t height)
{
    if (width > 0 && height > 0 && width <= kMaxTextureSide && height <= kMaxTextureSide &&
        width * height <= kMaxTexturePixels)
        return std::nullopt;
    return "image size " + std::to_string(width) + " x " + std::to_string(height) + " not supported (at most " +
           std::to_string(kMaxTextureSide) + " pixels a side and " + std::to_string(kMaxTexturePixels) + " pixels)";
}

}  // namespace m3d
