#include "foreign/readers/GlbContainer.h"

#include <cstdint>
#include <string>

namespace m3d {

namespace {

constexpr uint32_t kJsonChunk = 0x4E4F534A;  // "JSON"
constexpr uint32_t kBinChunk = 0x004E4942;   // "BIN\0"
constexpr size_t kHeaderBytes = 12;
constexpr size_t kChunkHeaderBytes = 8;

uint32_t Uint32At(std::string_view bytes, size_t offset)
{
    uint32_t value = 0;
    for (int k = 3; k >= 0; --k) value = value << 8 | static_cast<unsigned char>(bytes[offset + size_t(k)]);
    return value;
}

}  // namespace

bool IsGlb(std::string_view bytes) { return bytes.substr(0, 4) == "glTF"; }

Outcome SplitGlb(std::string_view bytes, GlbChunks& out)
{
    out = {};
    if (bytes.size() < kHeaderBytes)
        return Outcome::Failure("the file is cut short: " + std::to_string(bytes.size()) +
                                " bytes, less than a binary glTF header");
    if (const uint32_t version = Uint32At(bytes, 4); version != 2)
        return Outcome::Failure("binary glTF version " + std::to_string(version) + " (only version 2 is read)");
    const uint32_t length = Uint32At(bytes, 8);
    if (length > bytes.size())
        return Outcome::Failure("the file is cut short: its header says " + std::to_string(length) +
                                " bytes, there are " + std::to_string(bytes.size()));
    const std::string_view file = bytes.substr(0, length);
    size_t offset = kHeaderBytes;
    for (int chunk = 0; offset < file.size(); ++chunk) {
        if (file.size() - offset < kChunkHeaderBytes)
            return Outcome::Failure("the file is cut short in the header of chunk " + std::to_string(chunk));
        const uint32_t chunkLength = Uint32At(file, offset);
        const uint32_t type = Uint32At(file, offset + 4);
        offset += kChunkHeaderBytes;
        if (chunkLength > file.size() - offset)
            return Outcome::Failure("the file is cut short: chunk " + std::to_string(chunk) + " says " +
                                    std::to_string(chunkLength) + " bytes, " + std::to_string(file.size() - offset) +
                                    " are left");
        const std::string_view data = file.substr(offset, chunkLength);
        if (chunk == 0) {
            if (type != kJsonChunk) return Outcome::Failure("the first chunk is not the JSON chunk");
            out.json = data;
        } else if (chunk == 1 && type == kBinChunk) {
            out.bin = data;
            out.hasBin = true;
        }
        // Chunks of other types are for extensions: passed over.
        offset += chunkLength;
    }
    if (out.json.empty()) return Outcome::Failure("the file has no JSON chunk");
    return Outcome();
}

}  // namespace m3d
