#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// A 64-bit digest for telling whether data changed (not for security): equal
// data always gives equal digests, and different data a different one but
// for a chance of about 2^-64. Bytes are taken eight at a time.
class Digest {
public:
    void Add(const void* data, size_t size)
    {
        const auto* bytes = static_cast<const unsigned char*>(data);
        size_t k = 0;
        for (; k + 8 <= size; k += 8) {
            uint64_t word;
            std::memcpy(&word, bytes + k, 8);
            Mix(word);
        }
        uint64_t tail = 0;
        std::memcpy(&tail, bytes + k, size - k);
        Mix(tail ^ (static_cast<uint64_t>(size) << 56));
    }
    void Add(std::string_view text) { Add(text.data(), text.size()); }
    void Add(int64_t value) { Mix(static_cast<uint64_t>(value)); }
    uint64_t Value() const { return state; }

private:
    void Mix(uint64_t word)
    {
        state = (state ^ word) * 0x9E3779B97F4A7C15ull;
        state ^= state >> 29;
    }

    uint64_t state = 0xCBF29CE484222325ull;
};
