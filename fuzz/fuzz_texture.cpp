// The texture decoder (DDS, BMP, JPEG, PNG, TGA, netpbm) on arbitrary bytes:
// it must fail with a message naming the file and leave the output alone, or
// give an image whose pixel array matches its size. Seeds:
//   build-fuzz/bin/fuzz_texture -max_total_time=300 corpus/ fuzz/corpus/fuzz_texture/
#include "meshlib/DdsImage.h"
#include "meshlib/TextureReader.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace m3d;

namespace {

uint32_t Read32(std::string_view bytes, size_t at)
{
    uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
    return v;
}

// Bytes of pixel data a decoded DDS needed after its 128-byte header: DXT
// blocks or packed pixels, by the same header fields the decoder reads.
size_t DdsPixelBytes(std::string_view bytes, const TextureImage& image)
{
    const size_t w = size_t(image.width), h = size_t(image.height);
    if (Read32(bytes, 80) & 0x4) {
        const size_t blockBytes = bytes.substr(84, 4) == "DXT1" ? 8 : 16;
        return ((w + 3) / 4) * ((h + 3) / 4) * blockBytes;
    }
    return w * h * (Read32(bytes, 88) / 8);
}

void CheckDds(std::string_view bytes, const TextureImage& image)
{
    if (image.width > 16384 || image.height > 16384) std::abort();
    // The pixels end exactly where the header says: one byte less is refused.
    const size_t needed = 128 + DdsPixelBytes(bytes, image);
    if (bytes.size() < needed) std::abort();
    TextureImage shorter;
    if (DecodeDds(bytes.substr(0, needed - 1), "short.dds", shorter)) std::abort();
    // What was read writes out and reads back unchanged.
    TextureImage again;
    if (!DecodeDds(EncodeDds(image), "again.dds", again)) std::abort();
    if (again.width != image.width || again.height != image.height || again.rgba != image.rgba) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TextureImage image;
    image.width = -7;  // a failure must leave this untouched
    if (const Outcome decoded = DecodeTextureImage(bytes, "fuzz.img", image); !decoded) {
        if (decoded.Message().rfind("fuzz.img: ", 0) != 0 || image.width != -7 || !image.rgba.empty()) std::abort();
        return 0;
    }
    if (image.width <= 0 || image.height <= 0) std::abort();
    if (image.rgba.size() != size_t(image.width) * size_t(image.height) * 4) std::abort();
    if (HasDdsMagic(bytes))
        CheckDds(bytes, image);
    else if (image.rgba.size() / 4 > kMaxTexturePixels)
        std::abort();
    return 0;
}
