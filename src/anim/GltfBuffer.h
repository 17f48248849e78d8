#pragma once

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace m3d {

// The one binary buffer of a glTF file with its buffer views and accessors.
// Every view starts at a multiple of 4 bytes, so any component type may be
// read from it in place.
class GltfBuffer {
public:
    // Buffer view targets.
    static constexpr int kNoTarget = 0;
    static constexpr int kVertices = 34962;  // ARRAY_BUFFER
    static constexpr int kIndices = 34963;   // ELEMENT_ARRAY_BUFFER

    // Appends bytes as a new buffer view; returns the view's index.
    int AddView(const void* data, size_t size, int target);
    // An accessor of count elements of components floats each (type "SCALAR",
    // "VEC2", "VEC3" or "VEC4") over a new view of values (count x components
    // floats). With bounds, it carries the exact per-component min and max.
    int AddFloats(const std::vector<float>& values, int components, int target, bool bounds);
    // A SCALAR accessor of triangle corner indices below vertexCount, stored
    // as 16-bit values when every vertex can be named so, as 32-bit otherwise.
    int AddIndices(const std::vector<uint32_t>& indices, size_t vertexCount);

    const std::string& Bytes() const { return bytes; }
    nlohmann::json& Views() { return views; }
    nlohmann::json& Accessors() { return accessors; }

private:
    std::string bytes;
    nlohmann::json views = nlohmann::json::array();
    nlohmann::json accessors = nlohmann::json::array();
};

}  // namespace m3d
