#include "meshlib/PngEncoder.h"

#include "io/TaskProgress.h"

#include <zlib.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// Between reports: a 16384-pixel row takes about a millisecond to filter and deflate.
constexpr int kRowsPerReport = 16;
// Deflate level: level 6 costs about three times the time of level 3 on
// textures for a few per cent of size.
constexpr int kDeflateLevel = 3;
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
    PutBigEndian(out, static_cast<uint32_t>(
                          crc32(0, reinterpret_cast<const Bytef*>(out.data() + start), static_cast<uInt>(out.size() - start))));
}

uint8_t Paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
    return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Writes into filtered (1 + row bytes) the row filtered with filter type.
void FilterRow(int type, const uint8_t* row, const uint8_t* above, size_t bytes, uint8_t* filtered)
{
    filtered[0] = static_cast<uint8_t>(type);
    for (size_t i = 0; i < bytes; ++i) {
        const int a = i >= kBytesPerPixel ? row[i - kBytesPerPixel] : 0;
        const int b = above ? above[i] : 0;
        const int c = above && i >= kBytesPerPixel ? above[i - kBytesPerPixel] : 0;
        int predicted = 0;
        switch (type) {
        case 1: predicted = a; break;
        case 2: predicted = b; break;
        case 3: predicted = (a + b) / 2; break;
        case 4: predicted = Paeth(a, b, c); break;
        default: break;
        }
        filtered[1 + i] = static_cast<uint8_t>(row[i] - predicted);
    }
}

// The usual guess for the filter that deflates best: the smallest sum of the bytes taken as signed.
uint64_t Cost(const uint8_t* filtered, size_t bytes)
{
    uint64_t sum = 0;
    for (size_t i = 1; i <= bytes; ++i) sum += static_cast<uint64_t>(std::abs(static_cast<int8_t>(filtered[i])));
    return sum;
}

}  // namespace

bool EncodePng(const TextureImage& image, std::string& out, std::string& error, TaskProgress* progress)
{
    const size_t rowBytes = size_t(image.width) * kBytesPerPixel;
    const uint64_t height = uint64_t(image.height);
    std::string ihdr;
    PutBigEndian(ihdr, static_cast<uint32_t>(image.width));
    PutBigEndian(ihdr, static_cast<uint32_t>(image.height));
    ihdr += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, adaptive filters, no interlace

    z_stream stream{};
    if (deflateInit(&stream, kDeflateLevel) != Z_OK) {
        error = "zlib cannot start (out of memory)";
        return false;
    }
    std::string compressed;
    std::array<std::vector<uint8_t>, 5> candidates;
    for (auto& candidate : candidates) candidate.resize(rowBytes + 1);
    std::vector<uint8_t> chunk(size_t(1) << 16);
    bool ok = true;
    for (uint64_t y = 0; y <= height && ok; ++y) {
        const bool last = y == height;
        size_t best = 0;
        if (!last) {
            const uint8_t* row = image.rgba.data() + y * rowBytes;
            const uint8_t* above = y > 0 ? row - rowBytes : nullptr;
            uint64_t bestCost = UINT64_MAX;
            for (size_t type = 0; type < candidates.size(); ++type) {
                FilterRow(int(type), row, above, rowBytes, candidates[type].data());
                const uint64_t cost = Cost(candidates[type].data(), rowBytes);
                if (cost < bestCost) {
                    bestCost = cost;
                    best = type;
                }
            }
            stream.next_in = candidates[best].data();
            stream.avail_in = static_cast<uInt>(rowBytes + 1);
        }
        int status;
        do {
            stream.next_out = chunk.data();
            stream.avail_out = static_cast<uInt>(chunk.size());
            status = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
            compressed.append(reinterpret_cast<const char*>(chunk.data()), chunk.size() - stream.avail_out);
        } while (stream.avail_out == 0 || (last && status == Z_OK));
        if (status == Z_STREAM_ERROR || (last && status != Z_STREAM_END)) {
            error = "zlib failed to compress the rows";
            ok = false;
        } else if (!last && (y + 1) % kRowsPerReport == 0 && !ReportProgress(progress, y + 1, height)) {
            error = "cancelled";
            ok = false;
        }
    }
    deflateEnd(&stream);
    if (!ok) return false;
    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", ihdr);
    // One IDAT chunk may hold at most 2^31 - 1 bytes.
    constexpr size_t kMaxChunk = size_t(1) << 30;
    for (size_t at = 0; at < compressed.size(); at += kMaxChunk) PutChunk(png, "IDAT", compressed.substr(at, kMaxChunk));
    if (compressed.empty()) PutChunk(png, "IDAT", compressed);
    PutChunk(png, "IEND", std::string());
    ReportProgress(progress, height, height);
    out = std::move(png);
    return true;
}
