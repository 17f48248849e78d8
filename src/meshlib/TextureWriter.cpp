#include "meshlib/TextureWriter.h"

#include "io/TaskProgress.h"
#include "meshlib/DdsImage.h"
#include "meshlib/PngEncoder.h"
#include "text/ShiftJis.h"

#include <stb_image_write.h>

#include <array>
#include <climits>

namespace m3d {

namespace {

void AppendBytes(void* context, void* data, int size)
{
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), size_t(size));
}

std::string EncodePpm(const TextureImage& image)
{
    std::string out = "P6\n" + std::to_string(image.width) + " " + std::to_string(image.height) + "\n255\n";
    out.reserve(out.size() + size_t(image.width) * size_t(image.height) * 3);
    for (size_t i = 0; i + 3 < image.rgba.size(); i += 4) out.append(reinterpret_cast<const char*>(&image.rgba[i]), 3);
    return out;
}

}  // namespace

std::optional<ImageFormat> ImageFormatFromName(std::string_view name)
{
    static constexpr std::array<std::pair<const char*, ImageFormat>, 6> kOrder = {{{".bmp", ImageFormat::Bmp},
                                                                                   {".dds", ImageFormat::Dds},
                                                                                   {".jpg", ImageFormat::Jpeg},
                                                                                   {".png", ImageFormat::Png},
                                                                                   {".ppm", ImageFormat::Ppm},
                                                                                   {".tga", ImageFormat::Tga}}};
    const std::string lower = AsciiLower(name);
    for (const auto& [suffix, format] : kOrder)
        if (lower.find(suffix) != std::string::npos) return format;
    return std::nullopt;
}

bool EncodeTextureImage(const TextureImage& image, ImageFormat format, std::string& out, std::string& error,
                        TaskProgress* progress)
{
    if (image.width <= 0 || image.height <= 0 || image.rgba.size() != size_t(image.width) * size_t(image.height) * 4 ||
        image.rgba.size() > size_t(INT_MAX)) {
        error = "no image to write";
        return false;
    }
    std::string bytes;
    int ok = 1;
    const int w = image.width, h = image.height;
    const void* pixels = image.rgba.data();
    switch (format) {
    case ImageFormat::Bmp: ok = stbi_write_bmp_to_func(AppendBytes, &bytes, w, h, 4, pixels); break;
    case ImageFormat::Jpeg: ok = stbi_write_jpg_to_func(AppendBytes, &bytes, w, h, 4, pixels, 95); break;
    case ImageFormat::Png:
        if (!EncodePng(image, bytes, error, progress)) return false;
        break;
    case ImageFormat::Tga: ok = stbi_write_tga_to_func(AppendBytes, &bytes, w, h, 4, pixels); break;
    case ImageFormat::Dds: bytes = EncodeDds(image); break;
    case ImageFormat::Ppm: bytes = EncodePpm(image); break;
    }
    if (!ok) {
        error = "the image encoder failed";
        return false;
    }
    if (!ReportProgress(progress, uint64_t(h), uint64_t(h))) {
        error = "cancelled";
        return false;
    }
    out = std::move(bytes);
    return true;
}

}  // namespace m3d
