#include "meshlib/TextureReader.h"

#include "io/AtomicFile.h"
#include "io/PathLookup.h"
#include "meshlib/DdsImage.h"

#include <stb_image.h>

#include <climits>
#include <cstring>

namespace {

// Texture files beyond this size are not images we can use anyway.
constexpr size_t kMaxTextureFileBytes = size_t(512) << 20;

bool DecodeWithStb(std::string_view bytes, const std::string& fileName, TextureImage& out, std::string& error)
{
    if (bytes.size() > size_t(INT_MAX)) {
        error = fileName + ": image file too large";
        return false;
    }
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, int(bytes.size()), &width, &height, &channels)) {
        error = fileName + ": not a readable image (" + stbi_failure_reason() + ")";
        return false;
    }
    if (width <= 0 || height <= 0 || size_t(width) * size_t(height) > kMaxTexturePixels) {
        error = fileName + ": image size " + std::to_string(width) + " x " + std::to_string(height) + " not supported";
        return false;
    }
    stbi_uc* pixels = stbi_load_from_memory(data, int(bytes.size()), &width, &height, &channels, 4);
    if (pixels == nullptr) {
        error = fileName + ": cannot decode the image (" + stbi_failure_reason() + ")";
        return false;
    }
    out.width = width;
    out.height = height;
    out.rgba.assign(pixels, pixels + size_t(width) * size_t(height) * 4);
    stbi_image_free(pixels);
    return true;
}

}  // namespace

bool DecodeTextureImage(std::string_view bytes, const std::string& fileName, TextureImage& out, std::string& error)
{
    if (HasDdsMagic(bytes)) return DecodeDds(bytes, fileName, out, error);
    return DecodeWithStb(bytes, fileName, out, error);
}

bool LoadTextureImage(const std::string& modelFolder, const std::string& pathInModel, TextureImage& out,
                      std::string& error)
{
    const std::optional<std::string> found = FindFileIgnoringCase(modelFolder, pathInModel);
    if (!found) {
        error = pathInModel + ": texture not found beside " + (modelFolder.empty() ? std::string(".") : modelFolder);
        return false;
    }
    std::string bytes;
    if (!ReadWholeFile(*found, bytes, error, kMaxTextureFileBytes)) return false;
    return DecodeTextureImage(bytes, *found, out, error);
}
