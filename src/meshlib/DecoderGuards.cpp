#include "meshlib/DecoderGuards.h"

#include <algorithm>
#include <cstdint>

namespace {

// The decoder reads zeros past the end of the file; so do we.
unsigned ByteAt(std::string_view bytes, size_t at) { return at < bytes.size() ? uint8_t(bytes[at]) : 0u; }

}  // namespace

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

std::optional<size_t> FindTruncatedPngChunk(std::string_view bytes)
{
    constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
    if (bytes.substr(0, kSignature.size()) != kSignature) return std::nullopt;
    size_t at = kSignature.size();
    while (at + 8 <= bytes.size()) {
        const size_t length = size_t(ByteAt(bytes, at)) << 24 | ByteAt(bytes, at + 1) << 16 |
                              ByteAt(bytes, at + 2) << 8 | ByteAt(bytes, at + 3);
        if (bytes.substr(at + 4, 4) == "IEND") return std::nullopt;
        if (length > bytes.size() - at - 8) return at;  // 4 CRC bytes may be missing: the decoder skips them
        at += 12 + length;
    }
    return std::nullopt;
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
