#include "meshlib/DdsImage.h"

#include "meshlib/ImageLimits.h"

#include <squish.h>

#include <bit>
#include <cstring>

namespace m3d {

namespace {

constexpr size_t kHeaderBytes = 128;  // magic + 124-byte header
constexpr uint32_t kPixelFormatFlagsAt = 80;
constexpr uint32_t kAlphaPixels = 0x1, kFourCc = 0x4, kRgb = 0x40;

uint32_t Read32(std::string_view bytes, size_t at)
{
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
    return v;
}

void Write32(std::string& out, uint32_t v)
{
    for (int k = 0; k < 4; ++k) out.push_back(char((v >> (8 * k)) & 0xFF));
}

constexpr uint32_t FourCc(char a, char b, char c, char d)
{
    return uint32_t(uint8_t(a)) | uint32_t(uint8_t(b)) << 8 | uint32_t(uint8_t(c)) << 16 | uint32_t(uint8_t(d)) << 24;
}

// One channel of a packed pixel scaled to 0 ... 255; `absent` when the mask is empty.
uint8_t Channel(uint32_t pixel, uint32_t mask, uint8_t absent)
{
    if (mask == 0) return absent;
    const int shift = std::countr_zero(mask);
    const uint32_t top = mask >> shift;
    return uint8_t(uint64_t((pixel & mask) >> shift) * 255 / top);
}

}  // namespace

bool HasDdsMagic(std::string_view bytes) { return bytes.size() >= 4 && bytes.substr(0, 4) == "DDS "; }

std::optional<std::pair<uint32_t, uint32_t>> DdsImageSize(std::string_view bytes)
{
    if (!HasDdsMagic(bytes) || bytes.size() < kHeaderBytes || Read32(bytes, 4) != 124) return std::nullopt;
    return std::make_pair(Read32(bytes, 16), Read32(bytes, 12));
}

Outcome DecodeDds(std::string_view bytes, const std::string& fileName, TextureImage& out)
{
    auto fail = [&](size_t at, const std::string& reason) {
        return Outcome::Failure(fileName + ": byte " + std::to_string(at) + ": " + reason);
    };
    if (!HasDdsMagic(bytes)) return fail(0, "not a DDS image");
    if (bytes.size() < kHeaderBytes) return fail(bytes.size(), "file ends inside the DDS header");
    if (Read32(bytes, 4) != 124) return fail(4, "bad DDS header size");
    const uint32_t height = Read32(bytes, 12), width = Read32(bytes, 16);
    if (const std::optional<std::string> refusal = ImageSizeRefusal(width, height)) return fail(12, *refusal);
    const uint32_t flags = Read32(bytes, kPixelFormatFlagsAt), fourCc = Read32(bytes, 84);
    const std::string_view data = bytes.substr(kHeaderBytes);

    // The pixels are allocated only once the file is known to hold them: a
    // 128-byte header may claim the largest size we take (256 MB as RGBA).
    TextureImage image;
    image.width = int(width);
    image.height = int(height);
    if (flags & kFourCc) {
        int squishFlags;
        size_t blockBytes;
        if (fourCc == FourCc('D', 'X', 'T', '1')) {
            squishFlags = squish::kDxt1;
            blockBytes = 8;
        } else if (fourCc == FourCc('D', 'X', 'T', '3')) {
            squishFlags = squish::kDxt3;
            blockBytes = 16;
        } else if (fourCc == FourCc('D', 'X', 'T', '5')) {
            squishFlags = squish::kDxt5;
            blockBytes = 16;
        } else {
            return fail(84, "compression '" + std::string(bytes.substr(84, 4)) + "' not supported");
        }
        const size_t needed = size_t((width + 3) / 4) * ((height + 3) / 4) * blockBytes;
        if (data.size() < needed) return fail(bytes.size(), "file ends inside the compressed pixels");
        image.rgba.resize(size_t(width) * height * 4);
        squish::DecompressImage(image.rgba.data(), int(width), int(height), data.data(), squishFlags);
    } else if (flags & kRgb) {
        const uint32_t bits = Read32(bytes, 88);
        if (bits != 24 && bits != 32) return fail(88, std::to_string(bits) + "-bit pixels not supported");
        const uint32_t red = Read32(bytes, 92), green = Read32(bytes, 96), blue = Read32(bytes, 100);
        const uint32_t alpha = (flags & kAlphaPixels) ? Read32(bytes, 104) : 0;
        const size_t pixelBytes = bits / 8;
        if (data.size() < size_t(width) * height * pixelBytes) return fail(bytes.size(), "file ends inside the pixels");
        image.rgba.resize(size_t(width) * height * 4);
        for (size_t i = 0; i < size_t(width) * height; ++i) {
            uint32_t pixel = 0;
            for (size_t k = 0; k < pixelBytes; ++k) pixel |= uint32_t(uint8_t(data[i * pixelBytes + k])) << (8 * k);
            uint8_t* rgba = &image.rgba[4 * i];
            rgba[0] = Channel(pixel, red, 0);
            rgba[1] = Channel(pixel, green, 0);
            rgba[2] = Channel(pixel, blue, 0);
            rgba[3] = Channel(pixel, alpha, 255);
        }
    } else {
        return fail(kPixelFormatFlagsAt, "pixel format not supported (neither RGB nor DXT)");
    }
    out = std::move(image);
    return Outcome();
}

std::string EncodeDds(const TextureImage& image)
{
    std::string out = "DDS ";
    const uint32_t width = uint32_t(image.width), height = uint32_t(image.height);
    Write32(out, 124);
    Write32(out, 0x1 | 0x2 | 0x4 | 0x8 | 0x1000);  // caps, height, width, pitch, pixel format
    Write32(out, height);
    Write32(out, width);
    Write32(out, width * 4);  // pitch
    Write32(out, 0);          // depth
    Write32(out, 0);          // mip levels
    for (int k = 0; k < 11; ++k) Write32(out, 0);
    Write32(out, 32);  // pixel format size
    Write32(out, kRgb | kAlphaPixels);
    Write32(out, 0);  // no compression
    Write32(out, 32);
    Write32(out, 0x00FF0000);
    Write32(out, 0x0000FF00);
    Write32(out, 0x000000FF);
    Write32(out, 0xFF000000);
    Write32(out, 0x1000);  // a texture
    for (int k = 0; k < 4; ++k) Write32(out, 0);
    out.reserve(out.size() + image.rgba.size());
    for (size_t i = 0; i + 3 < image.rgba.size(); i += 4) {
        const uint8_t* p = &image.rgba[i];
        out.push_back(char(p[2]));
        out.push_back(char(p[1]));
        out.push_back(char(p[0]));
        out.push_back(char(p[3]));
    }
    return out;
}

}  // namespace m3d
