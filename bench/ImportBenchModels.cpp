#include "ImportBenchModels.h"

#include "io/AtomicFile.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace m3d::importbench {

namespace {

using nlohmann::json;

constexpr int kColumns = 1000;
constexpr int kRows = 500;
constexpr int kGroups = 4;
constexpr int kVertices = (kColumns + 1) * (kRows + 1);

float Height(int x, int y) { return 10.0f * std::sin(x * 0.05f) * std::cos(y * 0.07f); }

// The unit normal of the height field at a grid point.
void GridNormal(int x, int y, float n[3])
{
    const float dx = 0.5f * std::cos(x * 0.05f) * std::cos(y * 0.07f);
    const float dz = -0.7f * std::sin(x * 0.05f) * std::sin(y * 0.07f);
    const float length = std::sqrt(dx * dx + 1.0f + dz * dz);
    n[0] = -dx / length, n[1] = 1.0f / length, n[2] = -dz / length;
}

void Append(std::string& out, const char* format, auto... values)
{
    char line[160];
    const int n = std::snprintf(line, sizeof line, format, values...);
    out.append(line, static_cast<size_t>(n));
}

// The binary chunk of a .glb and the JSON that describes it.
class GlbBuilder {
public:
    GlbBuilder() { document["asset"] = {{"version", "2.0"}}; }

    // An accessor of count elements of type (e.g. "VEC3") over data, in a
    // buffer view of its own; min and max are given for positions.
    template <class T>
    int Accessor(const std::vector<T>& data, int componentType, const char* type, size_t count,
                 const json& min = nullptr, const json& max = nullptr)
    {
        while (binary.size() % 4 != 0) binary.push_back('\0');
        const size_t bytes = data.size() * sizeof(T);
        document["bufferViews"].push_back({{"buffer", 0}, {"byteOffset", binary.size()}, {"byteLength", bytes}});
        binary.append(reinterpret_cast<const char*>(data.data()), bytes);
        json accessor = {{"bufferView", document["bufferViews"].size() - 1},
                         {"componentType", componentType},
                         {"count", count},
                         {"type", type}};
        if (!min.is_null()) accessor["min"] = min, accessor["max"] = max;
        document["accessors"].push_back(accessor);
        return static_cast<int>(document["accessors"].size()) - 1;
    }

    json document;

    std::string Bytes()
    {
        while (binary.size() % 4 != 0) binary.push_back('\0');
        document["buffers"] = json::array({{{"byteLength", binary.size()}}});
        std::string text = document.dump();
        while (text.size() % 4 != 0) text.push_back(' ');
        std::string out;
        auto word = [&](uint32_t value) { out.append(reinterpret_cast<const char*>(&value), 4); };
        word(0x46546C67), word(2), word(uint32_t(12 + 8 + text.size() + 8 + binary.size()));
        word(uint32_t(text.size())), word(0x4E4F534A);
        out += text;
        word(uint32_t(binary.size())), word(0x004E4942);
        out += binary;
        return out;
    }

private:
    std::string binary;
};

constexpr int kFloat = 5126;
constexpr int kUnsignedShort = 5123;
constexpr int kUnsignedInt = 5125;

// A box of 1 x 0.5 x 1, its faces with their own corners and normals.
json BoxPrimitive(GlbBuilder& glb)
{
    std::vector<float> positions, normals;
    std::vector<uint16_t> indices;
    for (int axis = 0; axis < 3; ++axis)
        for (int side = -1; side <= 1; side += 2) {
            const int u = (axis + 1) % 3, v = (axis + 2) % 3;
            const auto first = static_cast<uint16_t>(positions.size() / 3);
            for (int corner = 0; corner < 4; ++corner) {
                float p[3], n[3] = {0, 0, 0};
                p[axis] = 0.5f * side;
                p[u] = corner == 1 || corner == 2 ? 0.5f : -0.5f;
                p[v] = corner >= 2 ? 0.5f : -0.5f;
                p[1] *= 0.5f;
                n[axis] = float(side);
                positions.insert(positions.end(), p, p + 3);
                normals.insert(normals.end(), n, n + 3);
            }
            const uint16_t front[] = {0, 1, 2, 0, 2, 3}, back[] = {0, 2, 1, 0, 3, 2};
            for (const uint16_t k : side > 0 ? front : back) indices.push_back(uint16_t(first + k));
        }
    const int position = glb.Accessor(positions, kFloat, "VEC3", 24, {-0.5, -0.25, -0.5}, {0.5, 0.25, 0.5});
    const int normal = glb.Accessor(normals, kFloat, "VEC3", 24);
    const int index = glb.Accessor(indices, kUnsignedShort, "SCALAR", indices.size());
    return {{"attributes", {{"POSITION", position}, {"NORMAL", normal}}}, {"indices", index}};
}

}  // namespace

TempFolder::TempFolder()
    : folder(std::filesystem::temp_directory_path() / ("m3d-bench-import-" + std::to_string(::getpid())))
{
    std::filesystem::create_directories(folder);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

std::string TempFolder::Write(const std::string& name, const std::string& bytes) const
{
    const std::string path = (folder / name).string();
    if (const Outcome written = WriteFileAtomically(path, bytes); !written) throw std::runtime_error(written.Message());
    return path;
}

std::string GridObj()
{
    std::string s;
    float n[3];
    for (int y = 0; y <= kRows; ++y)
        for (int x = 0; x <= kColumns; ++x) Append(s, "v %.4f %.4f %.4f\n", x * 1.0, Height(x, y), -y * 1.0);
    for (int y = 0; y <= kRows; ++y)
        for (int x = 0; x <= kColumns; ++x) {
            GridNormal(x, y, n);
            Append(s, "vn %.4f %.4f %.4f\n", n[0], n[1], -n[2]);
        }
    for (int y = 0; y <= kRows; ++y)
        for (int x = 0; x <= kColumns; ++x) Append(s, "vt %.5f %.5f\n", double(x) / kColumns, 1.0 - double(y) / kRows);
    for (int y = 0; y < kRows; ++y) {
        if (y % (kRows / kGroups) == 0) Append(s, "g strip%d\n", y / (kRows / kGroups));
        for (int x = 0; x < kColumns; ++x) {
            const int a = y * (kColumns + 1) + x + 1, b = a + kColumns + 1;  // .obj counts from 1
            Append(s, "f %d/%d/%d %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b, b, b, b + 1, b + 1, b + 1, a + 1, a + 1,
                   a + 1);
        }
    }
    return s;
}

std::string GridGlb()
{
    std::vector<float> positions, normals, uvs;
    positions.reserve(3 * kVertices), normals.reserve(3 * kVertices), uvs.reserve(2 * kVertices);
    float n[3];
    for (int y = 0; y <= kRows; ++y)
        for (int x = 0; x <= kColumns; ++x) {
            positions.insert(positions.end(), {float(x), Height(x, y), float(y)});
            GridNormal(x, y, n);
            normals.insert(normals.end(), n, n + 3);
            uvs.insert(uvs.end(), {float(x) / kColumns, float(y) / kRows});
        }
    std::vector<uint32_t> indices;
    indices.reserve(3 * size_t(kGridTriangles));
    for (int y = 0; y < kRows; ++y)
        for (int x = 0; x < kColumns; ++x) {
            const uint32_t a = uint32_t(y * (kColumns + 1) + x), b = a + kColumns + 1;
            indices.insert(indices.end(), {a, b, b + 1, a, b + 1, a + 1});
        }
    GlbBuilder glb;
    const int position =
        glb.Accessor(positions, kFloat, "VEC3", kVertices, {0.0, -10.0, 0.0}, {double(kColumns), 10.0, double(kRows)});
    const int normal = glb.Accessor(normals, kFloat, "VEC3", kVertices);
    const int uv = glb.Accessor(uvs, kFloat, "VEC2", kVertices);
    const int index = glb.Accessor(indices, kUnsignedInt, "SCALAR", indices.size());
    json& d = glb.document;
    d["meshes"] = json::array(
        {{{"name", "grid"},
          {"primitives", json::array({{{"attributes", {{"POSITION", position}, {"NORMAL", normal}, {"TEXCOORD_0", uv}}},
                                       {"indices", index}}})}}});
    d["nodes"] = json::array({{{"name", "grid"}, {"mesh", 0}}});
    d["scenes"] = json::array({{{"nodes", {0}}}});
    d["scene"] = 0;
    return glb.Bytes();
}

std::string NodeTreeGlb(int nodes, bool chain)
{
    GlbBuilder glb;
    json& d = glb.document;
    d["meshes"] = json::array({{{"name", "box"}, {"primitives", json::array({BoxPrimitive(glb)})}}});
    std::vector<json> children(size_t(nodes), json::array());
    for (int i = 1; i < nodes; ++i) children[size_t(chain ? i - 1 : (i - 1) / 4)].push_back(i);
    for (int i = 0; i < nodes; ++i) {
        json node = {
            {"name", "node" + std::to_string(i)}, {"mesh", 0}, {"translation", {0.0, i == 0 ? 0.0 : 1.0, 0.0}}};
        if (!children[size_t(i)].empty()) node["children"] = children[size_t(i)];
        d["nodes"].push_back(node);
    }
    d["scenes"] = json::array({{{"nodes", {0}}}});
    d["scene"] = 0;

    const int times = glb.Accessor(std::vector<float>{0.0f, 1.0f, 2.0f}, kFloat, "SCALAR", 3, {0.0}, {2.0});
    json animation = {{"name", "sway"}, {"channels", json::array()}, {"samplers", json::array()}};
    for (int i = 0; i < nodes; ++i) {
        const float half = 0.15f + 0.001f * float(i % 100);
        const std::vector<float> turns = {0, 0, 0, 1, 0, std::sin(half), 0, std::cos(half), 0, 0, 0, 1};
        const int values = glb.Accessor(turns, kFloat, "VEC4", 3);
        animation["samplers"].push_back({{"input", times}, {"output", values}, {"interpolation", "LINEAR"}});
        animation["channels"].push_back({{"sampler", i}, {"target", {{"node", i}, {"path", "rotation"}}}});
    }
    d["animations"] = json::array({animation});
    return glb.Bytes();
}

}  // namespace m3d::importbench
