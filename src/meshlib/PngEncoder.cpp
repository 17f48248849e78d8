#include "meshlib/PngEncoder.h"

#include "io/TaskProgress.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace m3d {

namespace {

// Between reports: a 16384-pixel row takes about a millisecond to filter and deflate.
constexpr int kRowsPerReport = 16;
// Deflate level: zlib's fast levels (1, 2) take half the time of level 3 and
// a fifth of level 6 on a grainy picture, for 8 and 23 per cent more bytes
// (bench/PngEncodeBench.cpp); the files stay smaller than the image
// library's own writer makes them.
constexpr int kDeflateLevel = 2;
constexpr size_t kBytesPerPixel = 4;

void PutBigEndian(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

// Appends a chunk of type (4 letters) and data with its length and CRC.
void PutChunk(std::string& out, const char* type, const std::string& data)
{
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.append(type, 4);
    out += data;
    PutBigEndian(out, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(out.data() + start),
                                                  static_cast<uInt>(out.size() - start))));
}

uint8_t Paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Writes into filtered (1 + row bytes) the row filtered with filter type;
// above is nullptr for the first row. One loop a type, so that each
// vectorises instead of branching on the type at every byte.
void FilterRow(int type, const uint8_t* row, const uint8_t* above, size_t bytes, uint8_t* filtered)
{
    filtered[0] = static_cast<uint8_t>(type);
    uint8_t* out = filtered + 1;
    const size_t first = std::min(bytes, kBytesPerPixel);  // the bytes without a left neighbour
    switch (type) {
    case 1:
        std::memcpy(out, row, first);
        for (size_t i = first; i < bytes; ++i) out[i] = uint8_t(row[i] - row[i - kBytesPerPixel]);
        break;
    case 2:
        if (!above) {
            std::memcpy(out, row, bytes);
            break;
        }
        for (size_t i = 0; i < bytes; ++i) out[i] = uint8_t(row[i] - above[i]);
        break;
    case 3:
        for (size_t i = 0; i < first; ++i) out[i] = uint8_t(row[i] - (above ? above[i] / 2 : 0));
        for (size_t i = first; i < bytes; ++i)
            out[i] = uint8_t(row[i] - ((unsigned(row[i - kBytesPerPixel]) + (above ? above[i] : 0u)) / 2));
        break;
    case 4:
        for (size_t i = 0; i < first; ++i) out[i] = uint8_t(row[i] - (above ? above[i] : 0));
        for (size_t i = first; i < bytes; ++i)
            out[i] = uint8_t(row[i] - (above ? Paeth(row[i - kBytesPerPixel], above[i], above[i - kBytesPerPixel])
                                             : row[i - kBytesPerPixel]));
        break;
    default: std::memcpy(out, row, bytes); break;
    }
}

// The prediction of byte i of row under filter type.
int Predicted(int type, const uint8_t* row, const uint8_t* above, size_t i)
{
    const int a = i >= kBytesPerPixel ? row[i - kBytesPerPixel] : 0;
    const int b = above ? above[i] : 0;
    const int c = above && i >= kBytesPerPixel ? above[i - kBytesPerPixel] : 0;
    switch (type) {
    case 1: return a;
    case 2: return b;
    case 3: return (a + b) / 2;
    case 4: return Paeth(a, b, c);
    default: return 0;
    }
}

// The usual guess for the filter that deflates best, the smallest sum of the
// filtered bytes taken as signed, made from every 8th pixel of the row:
// filtering the whole row five times took twice as long as deflating it.
int ChooseFilter(const uint8_t* row, const uint8_t* above, size_t bytes)
{
    constexpr size_t kSampleStep = 8 * kBytesPerPixel;
    int best = 0;
    uint64_t bestCost = UINT64_MAX;
    for (int type = 0; type < 5; ++type) {
        uint64_t cost = 0;
        for (size_t pixel = 0; pixel < bytes; pixel += kSampleStep)
            for (size_t i = pixel; i < pixel + kBytesPerPixel && i < bytes; ++i)
                cost += uint64_t(std::abs(int8_t(uint8_t(row[i] - Predicted(type, row, above, i)))));
        if (cost < bestCost) {
            bestCost = cost;
            best = type;
        }
    }
    return best;
}

}  // namespace

Expected<std::string> EncodePng(const TextureImage& image, TaskProgress* progress)
{
    const size_t rowBytes = size_t(image.width) * kBytesPerPixel;
    const uint64_t height = uint64_t(image.height);
    std::string ihdr;
    PutBigEndian(ihdr, static_cast<uint32_t>(image.width));
    PutBigEndian(ihdr, static_cast<uint32_t>(image.height));
    ihdr += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, adaptive filters, no interlace

    z_stream stream{};
    if (deflateInit(&stream, kDeflateLevel) != Z_OK) return Outcome::Failure("zlib cannot start (out of memory)");
    std::string compressed;
    std::vector<uint8_t> filtered(rowBytes + 1);
    std::vector<uint8_t> chunk(size_t(1) << 16);
    Outcome ok;
    for (uint64_t y = 0; y <= height && ok; ++y) {
        const bool last = y == height;
        if (!last) {
            const uint8_t* row = image.rgba.data() + y * rowBytes;
            const uint8_t* above = y > 0 ? row - rowBytes : nullptr;
            FilterRow(ChooseFilter(row, above, rowBytes), row, above, rowBytes, filtered.data());
            stream.next_in = filtered.data();
            stream.avail_in = static_cast<uInt>(rowBytes + 1);
        }
        int status;
        do {
            stream.next_out = chunk.data();
            stream.avail_out = static_cast<uInt>(chunk.size());
            status = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            compressed.append(reinterpret_cast<const char*>(chunk.data()), chunk.size() - stream.avail_out);
        } while (stream.avail_out == 0 || (last && status == Z_OK));
        if (status == Z_STREAM_ERROR || (last && status != Z_STREAM_END))
            ok = Outcome::Failure("zlib failed to compress the rows");
        else if (!last && (y + 1) % kRowsPerReport == 0 && !ReportProgress(progress, y + 1, height))
            ok = Outcome::Failure("cancelled");
    }
    deflateEnd(&stream);
    if (!ok) return ok;
    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", ihdr);
    // One IDAT chunk may hold at most 2^31 - 1 bytes.
    constexpr size_t kMaxChunk = size_t(1) << 30;
    for (size_t at = 0; at < compressed.size(); at += kMaxChunk)
        PutChunk(png, "IDAT", compressed.substr(at, kMaxChunk));
    if (compressed.empty()) PutChunk(png, "IDAT", compressed);
    PutChunk(png, "IEND", std::string());
    ReportProgress(progress, height, height);
    return png;
}

}  // namespace m3d
