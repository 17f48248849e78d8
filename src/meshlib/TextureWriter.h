#pragma once

#include "io/Outcome.h"
#include "records/MeshRecords.h"

#include <optional>
#include <string>
#include <string_view>

namespace m3d {

class TaskProgress;

enum class ImageFormat { Bmp, Dds, Jpeg, Png, Ppm, Tga };

// The format to write a texture named `name` in: the first of ".bmp", ".dds",
// ".jpg", ".png", ".ppm", ".tga" that the name contains (ASCII letters
// compared without case) decides; nullopt when it contains none (the texture
// is then not written).
std::optional<ImageFormat> ImageFormatFromName(std::string_view name);

// The file image of a non-empty image. PPM (binary P6) holds no alpha and JPEG
// is lossy (quality 95); PNG, TGA, BMP (32-bit) and DDS (uncompressed
// A8R8G8B8) keep every byte. Reports rows done of the image's height to
// progress (every few rows for PNG, once at the end for the others). Fails
// for an empty or inconsistent image, or when progress asked to stop (the
// message is then "cancelled").
Expected<std::string> EncodeTextureImage(const TextureImage& image, ImageFormat format,
                                         TaskProgress* progress = nullptr);

}  // namespace m3d
