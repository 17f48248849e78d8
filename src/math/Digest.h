#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace m3d {

// A 64-bit digest for telling whether data changed (not for security): the
// same sequence of Add calls always gives the same value, a different one a
// different value but for a chance of about 2^-64. Long runs of bytes are
// taken 64 at a time in eight independent lanes, so the processor overlaps them.
class Digest {
public:
    void Add(const void* data, size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        size_t k = 0;
        for (; k + 64 <= size; k += 64) {
            uint64_t words[kLanes];
            std::memcpy(words, bytes + k, 64);
            for (int lane = 0; lane < kLanes; ++lane) lanes[lane] = Mix(lanes[lane], words[lane]);
        }
        for (; k + 8 <= size; k += 8) {
            uint64_t word;
            std::memcpy(&word, bytes + k, 8);
            lanes[0] = Mix(lanes[0], word);
        }
        uint64_t tail = 0;
        std::memcpy(&tail, bytes + k, size - k);
        lanes[0] = Mix(lanes[0], tail ^ (static_cast<uint64_t>(size) << 56));
    }
    void Add(std::string_view text) { Add(text.data(), text.size()); }
    void Add(int64_t value) { lanes[0] = Mix(lanes[0], static_cast<uint64_t>(value)); }
    uint64_t Value() const
    {
        uint64_t value = lanes[0];
        for (int lane = 1; lane < kLanes; ++lane) value = Mix(value, lanes[lane]);
        return value;
    }

private:
    static uint64_t Mix(uint64_t state, uint64_t word)
    {
        state = (state ^ word) * 0x9E3779B97F4A7C15ull;
        return state ^ (state >> 29);
    }

    static constexpr int kLanes = 8;
    uint64_t lanes[kLanes] = {0xCBF29CE484222325ull, 0x84222325CBF29CE4ull, 0x9E3779B97F4A7C15ull,
                              0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull, 0x27D4EB2F165667C5ull,
                              0xFF51AFD7ED558CCDull, 0xC4CEB9FE1A85EC53ull};
};

}  // namespace m3d
