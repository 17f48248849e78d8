#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace m3d {

// Little-endian writing into a string our binary formats are built in.
class ByteWriter {
public:
    explicit ByteWriter(std::string& out) : out(out) {}
    void U8(uint8_t v) { out.push_back(char(v)); }
    void U16(uint16_t v)
    {
        U8(uint8_t(v));
        U8(uint8_t(v >> 8));
    }
    void U32(uint32_t v)
    {
        U16(uint16_t(v));
        U16(uint16_t(v >> 16));
    }
    void U64(uint64_t v)
    {
        U32(uint32_t(v));
        U32(uint32_t(v >> 32));
    }
    void F32(float v) { U32(std::bit_cast<uint32_t>(v)); }
    void Bytes(std::string_view bytes) { out.append(bytes); }

private:
    std::string& out;
};

// Little-endian reading of bytes nothing in is trusted: the caller asks Need
// before taking values, and the first failure is kept with its offset.
class ByteReader {
public:
    // bytes and fileName must outlive the reader.
    ByteReader(std::string_view bytes, const std::string& fileName) : bytes(bytes), fileName(fileName) {}

    size_t Offset() const { return at; }
    size_t Left() const { return bytes.size() - at; }
    // The first failure: "<fileName>: byte <offset>: <reason>".
    const std::string& Error() const { return error; }

    // Records the failure at the given byte offset (the first one stays).
    bool Fail(size_t offset, const std::string& reason)
    {
        if (error.empty()) error = fileName + ": byte " + std::to_string(offset) + ": " + reason;
        return false;
    }

    bool Need(size_t n, const char* what)
    {
        if (Left() >= n) return true;
        return Fail(at, std::string("file ends inside ") + what);
    }

    // The callers check the size first with Need.
    uint8_t U8() { return uint8_t(bytes[at++]); }
    uint16_t U16()
    {
        const uint16_t low = U8();
        return uint16_t(low | (uint16_t(U8()) << 8));
    }
    uint32_t U32()
    {
        const uint32_t low = U16();
        return low | (uint32_t(U16()) << 16);
    }
    uint64_t U64()
    {
        const uint64_t low = U32();
        return low | (uint64_t(U32()) << 32);
    }
    bool F32(float& v, const char* what)
    {
        const size_t offset = at;
        v = std::bit_cast<float>(U32());
        if (std::isfinite(v)) return true;
        return Fail(offset, std::string(what) + " is not a finite number");
    }
    std::string_view Bytes(size_t n)
    {
        const std::string_view s = bytes.substr(at, n);
        at += n;
        return s;
    }

private:
    std::string_view bytes;
    size_t at = 0;
    const std::string& fileName;
    std::string error;
};

}  // namespace m3d
