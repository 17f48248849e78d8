#include "meshlib/DecoderGuards.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace m3d {

namespace {

// The decoder reads zeros past the end of the file; so do we.
unsigned ByteAt(std::string_view bytes, size_t at) { return at < bytes.size() ? uint8_t(bytes[at]) : 0u; }

// A little-endian value of byteCount bytes (at most 4) at `at`.
uint32_t LittleEndianAt(std::string_view bytes, size_t at, int byteCount)
{
    uint32_t value = 0;
    for (int k = byteCount - 1; k >= 0; --k) value = value << 8 | ByteAt(bytes, at + size_t(k));
    return value;
}

bool HasPngSignature(std::string_view bytes) { return bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8); }

// Larger sides the decoder refuses by itself.
constexpr uint64_t kDecoderMaxSide = uint64_t(1) << 24;

// What the decoder's TGA header test and loader read from the 18-byte header.
struct TgaHeader {
    uint64_t width = 0, height = 0;
    bool runLength = false;
    uint64_t pixelBytes = 0;   // bytes of one stored pixel or palette index
    uint64_t pixelsStart = 0;  // offset of the first pixel byte
};

std::optional<TgaHeader> ReadTgaHeader(std::string_view bytes)
{
    const unsigned colourMap = ByteAt(bytes, 1), type = ByteAt(bytes, 2), bits = ByteAt(bytes, 16);
    const unsigned paletteBits = ByteAt(bytes, 7);
    auto storedBits = [](unsigned b) { return b == 8 || b == 15 || b == 16 || b == 24 || b == 32; };
    if (colourMap > 1 || !storedBits(bits)) return std::nullopt;
    if (colourMap == 1 && ((type != 1 && type != 9) || !storedBits(paletteBits) || (bits != 8 && bits != 16)))
        return std::nullopt;
    if (colourMap == 0 && type != 2 && type != 3 && type != 10 && type != 11) return std::nullopt;
    TgaHeader header;
    header.width = LittleEndianAt(bytes, 12, 2);
    header.height = LittleEndianAt(bytes, 14, 2);
    if (header.width == 0 || header.height == 0) return std::nullopt;
    header.runLength = type >= 8;
    header.pixelBytes = (bits + 7) / 8;
    // The decoder skips the palette's first-entry number in bytes, then reads the palette.
    header.pixelsStart = 18 + ByteAt(bytes, 0);
    if (colourMap == 1)
        header.pixelsStart +=
            LittleEndianAt(bytes, 3, 2) + uint64_t(LittleEndianAt(bytes, 5, 2)) * ((paletteBits + 7) / 8);
    return header;
}

}  // namespace

StbImageKind StbImageKindOf(std::string_view bytes)
{
    if (HasJpegMagic(bytes)) return StbImageKind::Jpeg;
    if (HasPngSignature(bytes)) return StbImageKind::Png;
    if (bytes.substr(0, 2) == "BM") return StbImageKind::Bmp;
    if (HasPnmMagic(bytes)) return StbImageKind::Pnm;
    // Every other format the decoder knows has a magic whose second byte is
    // neither 0 nor 1, which the TGA test needs; the decoder tries TGA last.
    if (ReadTgaHeader(bytes)) return StbImageKind::Tga;
    return StbImageKind::Other;
}

bool HasJpegMagic(std::string_view bytes)
{
    if (ByteAt(bytes, 0) != 0xFF) return false;
    size_t at = 1;
    while (at < bytes.size() && ByteAt(bytes, at) == 0xFF) ++at;
    return ByteAt(bytes, at) == 0xD8;
}

std::optional<size_t> FindOversizedJpegHuffmanTable(std::string_view bytes)
{
    for (size_t marker = 0; marker + 1 < bytes.size(); ++marker) {
        if (ByteAt(bytes, marker) != 0xFF || ByteAt(bytes, marker + 1) != 0xC4) continue;
        // Tables follow one another until the segment length is used up.
        long left = long(ByteAt(bytes, marker + 2) << 8 | ByteAt(bytes, marker + 3)) - 2;
        size_t at = marker + 4;
        while (left > 0) {
            const unsigned classAndSlot = ByteAt(bytes, at);
            if ((classAndSlot >> 4) > 1 || (classAndSlot & 15) > 3) break;  // refused by the decoder itself
            size_t codes = 0;
            for (size_t k = 1; k <= 16; ++k) codes += ByteAt(bytes, at + k);
            if (codes > 256) return marker;
            at += 17 + codes;
            left -= long(17 + codes);
        }
    }
    return std::nullopt;
}

bool JpegClaimsMorePixelsThanItsBytes(uint64_t pixels, size_t fileBytes)
{
    constexpr uint64_t kPixelsFloor = uint64_t(1) << 20;
    constexpr uint64_t kPixelsPerByte = 4096;
    return pixels > std::max<uint64_t>(kPixelsFloor, kPixelsPerByte * uint64_t(fileBytes));
}

std::optional<size_t> FindTruncatedPngChunk(std::string_view bytes)
{
    if (!HasPngSignature(bytes)) return std::nullopt;
    size_t at = 8;
    while (at + 8 <= bytes.size()) {
        const size_t length = size_t(ByteAt(bytes, at)) << 24 | ByteAt(bytes, at + 1) << 16 |
                              ByteAt(bytes, at + 2) << 8 | ByteAt(bytes, at + 3);
        if (bytes.substr(at + 4, 4) == "IEND") return std::nullopt;
        if (length > bytes.size() - at - 8) return at;  // 4 CRC bytes may be missing: the decoder skips them
        at += 12 + length;
    }
    return std::nullopt;
}

namespace {

uint32_t BigEndianAt(std::string_view bytes, size_t at)
{
    return uint32_t(ByteAt(bytes, at)) << 24 | ByteAt(bytes, at + 1) << 16 | ByteAt(bytes, at + 2) << 8 |
           ByteAt(bytes, at + 3);
}

// The bytes of the filtered rows of a PNG image, from its IHDR fields; 0 for
// a colour type or depth the format does not have.
uint64_t PngRowBytes(uint64_t width, uint64_t height, unsigned depth, unsigned colourType, bool interlaced)
{
    const unsigned channels = colourType == 0 || colourType == 3 ? 1
                              : colourType == 2                  ? 3
                              : colourType == 4                  ? 2
                              : colourType == 6                  ? 4
                                                                 : 0;
    if (channels == 0 || depth == 0 || depth > 16) return 0;
    const auto rows = [&](uint64_t w, uint64_t h) {
        return w == 0 || h == 0 ? 0 : h * (1 + (w * channels * depth + 7) / 8);
    };
    if (!interlaced) return rows(width, height);
    // Adam7: the passes' first column and row, and their steps.
    static const unsigned kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                           {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    uint64_t total = 0;
    for (const auto& pass : kPasses)
        total += rows(width > pass[0] ? (width - pass[0] + pass[2] - 1) / pass[2] : 0,
                      height > pass[1] ? (height - pass[1] + pass[3] - 1) / pass[3] : 0);
    return total;
}

}  // namespace

std::optional<size_t> FindOverlongPngData(std::string_view bytes)
{
    if (!HasPngSignature(bytes) || bytes.size() < 33 || bytes.substr(12, 4) != "IHDR") return std::nullopt;
    const uint64_t expected = PngRowBytes(BigEndianAt(bytes, 16), BigEndianAt(bytes, 20), ByteAt(bytes, 24),
                                          ByteAt(bytes, 25), ByteAt(bytes, 28) == 1);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return std::nullopt;
    std::vector<unsigned char> sink(size_t(1) << 16);
    uint64_t inflated = 0;
    std::optional<size_t> firstData;
    bool over = false, ended = false;
    for (size_t at = 8; at + 8 <= bytes.size() && !over && !ended;) {
        const size_t length = BigEndianAt(bytes, at);
        const std::string_view type = bytes.substr(at + 4, 4);
        if (type == "IEND" || length > bytes.size() - at - 8) break;
        if (type == "IDAT") {
            if (!firstData) firstData = at;
            stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data() + at + 8));
            stream.avail_in = uInt(length);
            while (stream.avail_in > 0 && !over && !ended) {
                stream.next_out = sink.data();
                stream.avail_out = uInt(sink.size());
                const int status = inflate(&stream, Z_NO_FLUSH);
                inflated += sink.size() - stream.avail_out;
                over = inflated > expected;
                ended = status != Z_OK;  // the end of the stream, or data the decoder will refuse itself
            }
        }
        at += 12 + length;
    }
    inflateEnd(&stream);
    return over ? firstData : std::nullopt;
}

bool HasPnmMagic(std::string_view bytes)
{
    return bytes.size() >= 2 && bytes[0] == 'P' && (bytes[1] == '5' || bytes[1] == '6');
}

bool IsTruncatedPnm(std::string_view bytes)
{
    if (!HasPnmMagic(bytes)) return false;
    // The decoder's header reader: c is the character last read, at the index
    // of the next one; past the end it reads zeros without moving on.
    size_t at = 2;
    auto next = [&] { return at < bytes.size() ? char(bytes[at++]) : '\0'; };
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; };
    char c = next();
    auto skipBlanksAndComments = [&] {
        for (;;) {
            while (at < bytes.size() && blank(c)) c = next();
            if (at >= bytes.size() || c != '#') return;
            while (at < bytes.size() && c != '\n' && c != '\r') c = next();
        }
    };
    auto integer = [&] {
        uint64_t value = 0;
        while (at < bytes.size() && c >= '0' && c <= '9') {
            value = std::min<uint64_t>(value * 10 + uint64_t(c - '0'), uint64_t(1) << 40);
            c = next();
        }
        return value;
    };
    skipBlanksAndComments();
    const uint64_t width = integer();
    skipBlanksAndComments();
    const uint64_t height = integer();
    skipBlanksAndComments();
    const uint64_t maxValue = integer();
    const uint64_t sampleBytes = (bytes[1] == '6' ? 3 : 1) * (maxValue > 255 ? 2 : 1);
    const uint64_t needed = std::min<uint64_t>(width * height, uint64_t(1) << 50) * sampleBytes;
    return needed > bytes.size() - at;
}

bool IsTruncatedBmp(std::string_view bytes)
{
    if (bytes.substr(0, 2) != "BM") return false;
    const uint64_t pixelsStart = LittleEndianAt(bytes, 10, 4), headerBytes = LittleEndianAt(bytes, 14, 4);
    uint64_t width, height, bits, compression = 0;
    if (headerBytes == 12) {
        width = LittleEndianAt(bytes, 18, 2);
        height = LittleEndianAt(bytes, 20, 2);
        bits = LittleEndianAt(bytes, 24, 2);
    } else if (headerBytes == 40 || headerBytes == 56 || headerBytes == 108 || headerBytes == 124) {
        width = LittleEndianAt(bytes, 18, 4);
        const int32_t signedHeight = int32_t(LittleEndianAt(bytes, 22, 4));  // negative: rows top down
        height = signedHeight < 0 ? uint64_t(-int64_t(signedHeight)) : uint64_t(signedHeight);
        bits = LittleEndianAt(bytes, 28, 2);
        compression = LittleEndianAt(bytes, 30, 4);
    } else {
        return false;
    }
    // Only run-length data is refused by the decoder; it reads every other
    // compression code, even unknown ones, as plain rows.
    if (compression == 1 || compression == 2) return false;
    if (width == 0 || height == 0 || width > kDecoderMaxSide || height > kDecoderMaxSide) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits < 16) return false;
    // Rows as the decoder reads them: 1, 4, 8, 16 or 24 bits a pixel padded to
    // 4 bytes, and 4 bytes a pixel for every other kind.
    const uint64_t pixelBits = bits <= 16 || bits == 24 ? bits : 32;
    const uint64_t rowBytes = (width * pixelBits + 7) / 8, stride = (rowBytes + 3) / 4 * 4;
    // An offset inside the header helps no one (the decoder then reads zeros);
    // the bytes after the header still bound the image.
    const uint64_t start = std::max<uint64_t>(pixelsStart, 14 + headerBytes);
    return start + (height - 1) * stride + rowBytes > bytes.size();
}

bool IsTruncatedTga(std::string_view bytes)
{
    const std::optional<TgaHeader> header = ReadTgaHeader(bytes);
    if (!header) return false;
    const uint64_t present = bytes.size() > header->pixelsStart ? bytes.size() - header->pixelsStart : 0;
    const uint64_t pixels = header->width * header->height;
    if (header->runLength) return pixels > 128 * (present / (1 + header->pixelBytes));
    return pixels * header->pixelBytes > present;
}

}  // namespace m3d
