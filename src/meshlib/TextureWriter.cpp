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

Expected<std::string> EncodeTextureImage(const TextureImage& image, ImageFormat format, TaskProgress* progress)
{
    if (image.width <= 0 || image.height <= 0 || image.rgba.size() != size_t(image.width) * size_t(image.height) * 4 ||
        image.rgba.size() > size_t(INT_MAX)) {
        return Outcome::Failure("no image to write");
    }
    std::string bytes;
    int ok = 1;
    const int w = image.width, h = image.height;
    const void* pixels = image.rgba.data();
    switch (format) {
    case ImageFormat::Bmp: ok = stbi_write_bmp_to_func(AppendBytes, &bytes, w, h, 4, pixels); break;
    case ImageFormat::Jpeg: ok = stbi_write_jpg_to_func(AppendBytes, &bytes, w, h, 4, pixels, 95); break;
    case ImageFormat::Png: {
        Expected<std::string> png = EncodePng(image, progress);
        if (!png) return png.Status();
        bytes = std::move(*png);
        break;
    }
    case ImageFormat::Tga: ok = stbi_write_tga_to_func(AppendBytes, &bytes, w, h, 4, pixels); break;
    case ImageFormat::Dds: bytes = EncodeDds(image); break;
    case ImageFormat::Ppm: bytes = EncodePpm(image); break;
    }
    if (!ok) return Outcome::Failure("the image encoder failed");
    if (!ReportProgress(progress, uint64_t(h), uint64_t(h))) return Outcome::Failure("cancelled");
    return bytes;
}

}  // namespace m3d
