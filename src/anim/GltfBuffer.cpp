#include "anim/GltfBuffer.h"

#include <algorithm>

namespace m3d {

int GltfBuffer::AddView(const void* data, size_t size, int target)
{
    bytes.append((4 - bytes.size() % 4) % 4, '\0');
    nlohmann::json view = {{"buffer", 0}, {"byteOffset", bytes.size()}, {"byteLength", size}};
    if (target != kNoTarget) view["target"] = target;
    bytes.append(static_cast<const char*>(data), size);
    views.push_back(std::move(view));
    return static_cast<int>(views.size()) - 1;
}

int GltfBuffer::AddFloats(const std::vector<float>& values, int components, int target, bool bounds)
{
    static const char* const kTypes[] = {"SCALAR", "VEC2", "VEC3", "VEC4"};
    const size_t count = values.size() / static_cast<size_t>(components);
    const int view = AddView(values.data(), values.size() * sizeof(float), target);
    nlohmann::json accessor = {
        {"bufferView", view}, {"componentType", 5126}, {"count", count}, {"type", kTypes[components - 1]}};
    if (bounds && count > 0) {
        std::vector<float> low(values.begin(), values.begin() + components);
        std::vector<float> high = low;
        for (size_t i = 0; i < count; ++i)
            for (int c = 0; c < components; ++c) {
                const float v = values[i * components + c];
                low[c] = std::min(low[c], v);
                high[c] = std::max(high[c], v);
            }
        // Written as the doubles the floats are, so a reader finds them exactly.
        accessor["min"] = std::vector<double>(low.begin(), low.end());
        accessor["max"] = std::vector<double>(high.begin(), high.end());
    }
    accessors.push_back(std::move(accessor));
    return static_cast<int>(accessors.size()) - 1;
}

int GltfBuffer::AddIndices(const std::vector<uint32_t>& indices, size_t vertexCount)
{
    int view;
    int componentType;
    // 65535 is reserved as a primitive restart value, so 16 bits name at most 65535 vertices.
    if (vertexCount <= 65535) {
        const std::vector<uint16_t> narrow(indices.begin(), indices.end());
        view = AddView(narrow.data(), narrow.size() * sizeof(uint16_t), kIndices);
        componentType = 5123;
    } else {
        view = AddView(indices.data(), indices.size() * sizeof(uint32_t), kIndices);
        componentType = 5125;
    }
    accessors.push_back(
        {{"bufferView", view}, {"componentType", componentType}, {"count", indices.size()}, {"type", "SCALAR"}});
    return static_cast<int>(accessors.size()) - 1;
}

}  // namespace m3d
