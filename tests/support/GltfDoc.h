#pragma once

#include "support/TempFolder.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

namespace m3d {

// glTF documents built by tests byte by byte: a .gltf with its buffer in a
// data URI, or a .glb assembled by hand.

// glTF's component types.
constexpr int kGltfByte = 5120;
constexpr int kGltfUnsignedByte = 5121;
constexpr int kGltfShort = 5122;
constexpr int kGltfUnsignedShort = 5123;
constexpr int kGltfFloat = 5126;

// values as their bytes in memory (little-endian here, as glTF wants).
template <class T>
std::string Bytes(std::initializer_list<T> values)
{
    std::string out(values.size() * sizeof(T), '\0');
    std::memcpy(out.data(), values.begin(), out.size());
    return out;
}

// bytes in base64, as a data URI holds them.
inline std::string Base64(const std::string& bytes)
{
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t group = uint32_t(uint8_t(bytes[i])) << 16;
        if (i + 1 < bytes.size()) group |= uint32_t(uint8_t(bytes[i + 1])) << 8;
        if (i + 2 < bytes.size()) group |= uint32_t(uint8_t(bytes[i + 2]));
        out += kDigits[group >> 18 & 63];
        out += kDigits[group >> 12 & 63];
        out += i + 1 < bytes.size() ? kDigits[group >> 6 & 63] : '=';
        out += i + 2 < bytes.size() ? kDigits[group & 63] : '=';
    }
    return out;
}

inline std::string Uint32Bytes(uint32_t v) { return Bytes<uint32_t>({v}); }

// A glTF document under construction: its JSON and its one buffer.
struct GltfDoc {
    nlohmann::json root = {{"asset", {{"version", "2.0"}}}};
    std::string bin;

    // bytes as a new buffer view (4-aligned); its index.
    int View(const std::string& bytes, int stride = 0)
    {
        while (bin.size() % 4) bin += '\0';
        nlohmann::json view = {{"buffer", 0}, {"byteOffset", bin.size()}, {"byteLength", bytes.size()}};
        if (stride) view["byteStride"] = stride;
        bin += bytes;
        root["bufferViews"].push_back(view);
        return int(root["bufferViews"].size()) - 1;
    }
    int Accessor(int view, int componentType, int count, const char* type, size_t offset = 0, bool normalized = false)
    {
        nlohmann::json accessor = {{"componentType", componentType}, {"count", count}, {"type", type}};
        if (view >= 0) accessor["bufferView"] = view;
        if (offset) accessor["byteOffset"] = offset;
        if (normalized) accessor["normalized"] = true;
        root["accessors"].push_back(accessor);
        return int(root["accessors"].size()) - 1;
    }
    int Floats(std::initializer_list<float> values, const char* type, int components)
    {
        return Accessor(View(Bytes(values)), kGltfFloat, int(values.size()) / components, type);
    }
    // The document's only mesh.
    void Mesh(const std::vector<nlohmann::json>& primitives)
    {
        root["meshes"] = nlohmann::json::array({nlohmann::json{{"primitives", primitives}}});
    }

    // As NAME.gltf with the buffer in a data URI.
    std::string WriteGltf(const TempFolder& folder, const std::string& name = "model.gltf")
    {
        nlohmann::json document = root;
        if (!bin.empty())
            document["buffers"] = {
                {{"byteLength", bin.size()}, {"uri", "data:application/octet-stream;base64," + Base64(bin)}}};
        folder.Write(name, document.dump());
        return folder.File(name);
    }
    std::string Glb() const
    {
        nlohmann::json document = root;
        std::string data = bin;
        while (data.size() % 4) data += '\0';
        if (!data.empty()) document["buffers"] = {{{"byteLength", bin.size()}}};
        std::string text = document.dump();
        while (text.size() % 4) text += ' ';
        std::string chunks = Uint32Bytes(uint32_t(text.size())) + "JSON" + text;
        if (!data.empty()) chunks += Uint32Bytes(uint32_t(data.size())) + std::string("BIN\0", 4) + data;
        return "glTF" + Uint32Bytes(2) + Uint32Bytes(uint32_t(12 + chunks.size())) + chunks;
    }
};

}  // namespace m3d
