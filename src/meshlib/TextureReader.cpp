#include "meshlib/TextureReader.h"

#include "io/FileReading.h"
#include "io/FolderIndex.h"
#include "io/PathLookup.h"
#include "meshlib/DdsImage.h"
#include "meshlib/DecoderGuards.h"

#include <stb_image.h>

#include <bit>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace m3d {

namespace {

// Texture files beyond this size are not images we can use anyway.
constexpr size_t kMaxTextureFileBytes = size_t(512) << 20;

// Grey, grey and alpha, RGB or RGBA samples as RGBA; alpha 255 when absent.
std::vector<uint8_t> ToRgba(const stbi_uc* pixels, size_t count, int channels)
{
    std::vector<uint8_t> rgba(count * 4);
    for (size_t i = 0; i < count; ++i) {
        const stbi_uc* p = pixels + i * size_t(channels);
        uint8_t* q = &rgba[4 * i];
        const bool grey = channels < 3;
        q[0] = p[0];
        q[1] = grey ? p[0] : p[1];
        q[2] = grey ? p[0] : p[2];
        q[3] = channels == 2 ? p[1] : channels == 4 ? p[3] : 255;
    }
    return rgba;
}

// 16-bit PNM samples are big-endian, but the decoder hands them out in the
// byte order of the file read as native words, so on a little-endian machine
// the top byte of each sample is the low byte of its word.
stbi_uc* LoadSixteenBitPnm(const stbi_uc* data, int size, int& width, int& height, int& channels)
{
    static_assert(std::endian::native == std::endian::little);
    stbi_us* samples = stbi_load_16_from_memory(data, size, &width, &height, &channels, 0);
    if (samples == nullptr) return nullptr;
    const size_t count = size_t(width) * size_t(height) * size_t(channels);
    auto* pixels = static_cast<stbi_uc*>(std::malloc(count));
    if (pixels != nullptr)
        for (size_t i = 0; i < count; ++i) pixels[i] = stbi_uc(samples[i] & 0xFF);
    stbi_image_free(samples);
    return pixels;
}

// Whole megabytes, or kilobytes below one megabyte, rounded up.
std::string SizeText(uint64_t bytes)
{
    if (bytes >= (uint64_t(1) << 20)) return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB";
    return std::to_string((bytes + 1023) >> 10) + " KB";
}

// The refusal of an image whose decoding would pass the memory left; nullopt when it fits.
std::optional<std::string> MemoryRefusal(uint64_t width, uint64_t height, bool sixteenBitNetpbm, uint64_t memoryLeft)
{
    const uint64_t needed = TextureDecodingBytes(width, height, sixteenBitNetpbm);
    if (needed <= memoryLeft) return std::nullopt;
    return std::to_string(width) + " x " + std::to_string(height) + " pixels need " + SizeText(needed) +
           " to decode; the texture memory has " + SizeText(memoryLeft) + " left";
}

Outcome DecodeWithStb(std::string_view bytes, const std::string& fileName, TextureImage& out, uint64_t memoryLeft)
{
    if (bytes.size() > size_t(INT_MAX)) {
        return Outcome::Failure(fileName + ": image file too large");
    }
    // The decoder's other formats read zeros past the end of a short file
    // into an image of whatever size the header claims; we have no guard for them.
    const StbImageKind kind = StbImageKindOf(bytes);
    if (kind == StbImageKind::Other) {
        return Outcome::Failure(fileName + ": not an image in a supported format (BMP, DDS, JPEG, PNG, PNM or TGA)");
    }
    if (kind == StbImageKind::Jpeg)
        if (const std::optional<size_t> at = FindOversizedJpegHuffmanTable(bytes)) {
            return Outcome::Failure(fileName + ": byte " + std::to_string(*at) +
                                    ": JPEG Huffman table with more than 256 codes");
        }
    if (const std::optional<size_t> at = FindTruncatedPngChunk(bytes)) {
        return Outcome::Failure(fileName + ": byte " + std::to_string(*at) +
                                ": PNG chunk runs past the end of the file");
    }
    if (IsTruncatedPnm(bytes)) {
        return Outcome::Failure(fileName + ": byte " + std::to_string(bytes.size()) +
                                ": file ends inside the PNM pixels");
    }
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(data, int(bytes.size()), &width, &height, &channels)) {
        return Outcome::Failure(fileName + ": not a readable image (" + stbi_failure_reason() + ")");
    }
    // A BMP stored top down reports a negative height.
    const int64_t rows = kind == StbImageKind::Bmp ? std::abs(int64_t(height)) : int64_t(height);
    if (const std::optional<std::string> refusal =
            ImageSizeRefusal(width > 0 ? uint64_t(width) : 0, rows > 0 ? uint64_t(rows) : 0)) {
        return Outcome::Failure(fileName + ": " + *refusal);
    }
    // Checked only now so that a size beyond the limits is reported as such.
    if ((kind == StbImageKind::Bmp && IsTruncatedBmp(bytes)) || (kind == StbImageKind::Tga && IsTruncatedTga(bytes))) {
        return Outcome::Failure(fileName + ": byte " + std::to_string(bytes.size()) + ": file ends before the " +
                                std::to_string(width) + " x " + std::to_string(rows) + " pixels its " +
                                (kind == StbImageKind::Bmp ? "BMP" : "TGA") + " header claims");
    }
    if (kind == StbImageKind::Jpeg &&
        JpegClaimsMorePixelsThanItsBytes(uint64_t(width) * uint64_t(rows), bytes.size())) {
        return Outcome::Failure(fileName + ": byte " + std::to_string(bytes.size()) + ": file too short for the " +
                                std::to_string(width) + " x " + std::to_string(rows) +
                                " pixels its JPEG header claims");
    }
    const bool sixteenBitPnm = kind == StbImageKind::Pnm && stbi_is_16_bit_from_memory(data, int(bytes.size()));
    if (const std::optional<std::string> refusal =
            MemoryRefusal(uint64_t(width), uint64_t(rows), sixteenBitPnm, memoryLeft)) {
        return Outcome::Failure(fileName + ": " + *refusal);
    }
    if (kind == StbImageKind::Png)
        if (const std::optional<size_t> at = FindOverlongPngData(bytes)) {
            return Outcome::Failure(fileName + ": byte " + std::to_string(*at) +
                                    ": PNG image data holds more than the " + std::to_string(width) + " x " +
                                    std::to_string(rows) + " pixels its header declares");
        }
    // The decoder's own conversion to 4 channels is skipped: for 16-bit PNM it
    // converts the 16-bit samples as 8-bit ones and then reads twice the
    // buffer it made (stb_image 2.27). Its own channel count is always safe.
    stbi_uc* pixels = sixteenBitPnm ? LoadSixteenBitPnm(data, int(bytes.size()), width, height, channels)
                                    : stbi_load_from_memory(data, int(bytes.size()), &width, &height, &channels, 0);
    if (pixels == nullptr) {
        const char* reason = stbi_failure_reason();
        return Outcome::Failure(fileName + ": cannot decode the image (" + (reason ? reason : "out of memory") + ")");
    }
    if (channels < 1 || channels > 4) {
        stbi_image_free(pixels);
        return Outcome::Failure(fileName + ": " + std::to_string(channels) + " channels not supported");
    }
    out.width = width;
    out.height = height;
    out.rgba = ToRgba(pixels, size_t(width) * size_t(height), channels);
    stbi_image_free(pixels);
    return Outcome();
}

}  // namespace

uint64_t TextureDecodingBytes(uint64_t width, uint64_t height, bool sixteenBitNetpbm)
{
    const uint64_t rgba = width * height * 4;
    return sixteenBitNetpbm ? rgba * 5 / 2 : rgba * 2;
}

Outcome DecodeTextureImage(std::string_view bytes, const std::string& fileName, TextureImage& out, uint64_t memoryLeft)
{
    if (HasDdsMagic(bytes)) {
        // The header is read twice: the size first, for the memory (a size
        // beyond the limits is refused by the decoder, which says so).
        if (const std::optional<std::pair<uint32_t, uint32_t>> size = DdsImageSize(bytes);
            size && !ImageSizeRefusal(size->first, size->second))
            if (const std::optional<std::string> refusal =
                    MemoryRefusal(size->first, size->second, false, memoryLeft)) {
                return Outcome::Failure(fileName + ": " + *refusal);
            }
        return DecodeDds(bytes, fileName, out);
    }
    return DecodeWithStb(bytes, fileName, out, memoryLeft);
}

Outcome LoadTextureImage(const std::string& modelFolder, const std::string& pathInModel, TextureImage& out,
                         const FolderIndex* folderIndex, uint64_t memoryLeft, std::string* file, NamedFileScope scope)
{
    const bool plainName = pathInModel.find_first_of("/\\") == std::string::npos;
    const std::optional<std::string> found =
        folderIndex && plainName ? folderIndex->FindFile(pathInModel) : FindFileIgnoringCase(modelFolder, pathInModel);
    if (!found) {
        // Something of that name that is no file (a FIFO, a folder) is named as such.
        std::string notAFile =
            NotRegularFileReason((modelFolder.empty() ? std::string() : modelFolder + "/") + pathInModel);
        if (!notAFile.empty()) return Outcome::Failure(std::move(notAFile));
        return Outcome::Failure(pathInModel + ": texture not found beside " +
                                (modelFolder.empty() ? std::string(".") : modelFolder));
    }
    if (file) *file = *found;
    const Expected<std::string> bytes = ReadNamedFile(modelFolder, *found, kMaxTextureFileBytes, scope);
    if (!bytes) return bytes.Status();
    return DecodeTextureImage(*bytes, *found, out, memoryLeft);
}

}  // namespace m3d
