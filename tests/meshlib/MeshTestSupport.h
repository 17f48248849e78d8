#pragma once

#include "math/Vec3.h"
#include "meshlib/LoadedModel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace m3d {

// Models and strip decoding shared by the mesh library tests.

namespace meshtest {

// A triangle as drawn, with absolute vertex numbers and its material.
struct DrawnTriangle {
    std::array<uint32_t, 3> v;
    int material;
    auto operator<=>(const DrawnTriangle&) const = default;
};

// The same oriented triangle always reads the same: rotated so its smallest
// vertex number comes first (a rotation keeps the orientation, a swap would not).
inline std::array<uint32_t, 3> Canonical(uint32_t a, uint32_t b, uint32_t c)
{
    if (b < a && b < c) return {b, c, a};
    if (c < a && c < b) return {c, a, b};
    return {a, b, c};
}

// Decodes strips the way a renderer reads them: triangle t uses indices t, t+1,
// t+2 and is reversed when t's parity differs from the winding flag's start
// value; triangles with a repeated index are skipped. Counts the skipped ones.
inline std::vector<DrawnTriangle> DecodeStrips(const std::vector<_MESH_MESHDATA>& meshes, size_t* degenerate = nullptr)
{
    std::vector<DrawnTriangle> out;
    for (const _MESH_MESHDATA& m : meshes) {
        for (int t = 0; t + 2 < int(m.indexCount); ++t) {
            uint32_t a = m.baseVertex + m.indices[t], b = m.baseVertex + m.indices[t + 1],
                     c = m.baseVertex + m.indices[t + 2];
            if (a == b || b == c || a == c) {
                if (degenerate) ++*degenerate;
                continue;
            }
            const bool reversed = (t % 2 == 1) != (m.windingFlag == 1);
            if (reversed) std::swap(a, c);
            out.push_back({Canonical(a, b, c), m.materialNumber});
        }
    }
    std::sort(out.begin(), out.end());
    return out;
}

// The non-degenerate triangles of a model in the same canonical form.
inline std::vector<DrawnTriangle> ModelTriangles(const LoadedModel& model)
{
    std::vector<DrawnTriangle> out;
    for (size_t t = 0; t < model.triangleMaterials.size(); ++t) {
        const uint32_t a = model.indices[3 * t], b = model.indices[3 * t + 1], c = model.indices[3 * t + 2];
        if (a == b || b == c || a == c) continue;
        out.push_back({Canonical(a, b, c), int(model.triangleMaterials[t])});
    }
    std::sort(out.begin(), out.end());
    return out;
}

inline Vec3 Position(const _MESH_VERTEX& v) { return {v.x, v.y, v.z}; }

inline ModelMaterial PlainMaterial(float red = 0.8f)
{
    ModelMaterial m;
    m.name = "mat";
    m.diffuse = {red, 0.5f, 0.25f, 1.0f};
    m.ambient = {0.3f, 0.3f, 0.3f, 1.0f};
    m.specular = {0.1f, 0.2f, 0.3f, 1.0f};
    m.emissive = {0.0f, 0.05f, 0.0f, 1.0f};
    m.power = 7.5f;
    return m;
}

// A flat grid of w x h quads in the plane y = 0 facing +Y, vertex (i, j) at
// x = i, z = j; each quad is two triangles. Quad q gets material q % materials.
inline LoadedModel MakeGrid(int w, int h, int materials = 1)
{
    LoadedModel model;
    for (int j = 0; j <= h; ++j)
        for (int i = 0; i <= w; ++i) {
            _MESH_VERTEX v;
            v.x = float(i);
            v.z = float(j);
            v.ny = 1;
            v.tu = float(i) / float(w);
            v.tv = float(j) / float(h);
            model.vertices.push_back(v);
        }
    auto id = [&](int i, int j) { return uint32_t(j * (w + 1) + i); };
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i) {
            const uint32_t material = uint32_t((j * w + i) % materials);
            model.indices.insert(model.indices.end(), {id(i, j), id(i, j + 1), id(i + 1, j)});
            model.indices.insert(model.indices.end(), {id(i + 1, j), id(i, j + 1), id(i + 1, j + 1)});
            model.triangleMaterials.insert(model.triangleMaterials.end(), {material, material});
        }
    for (int m = 0; m < materials; ++m) model.materials.push_back(PlainMaterial(0.1f * float(m)));
    return model;
}

// A closed sphere of radius r around centre, faces outward.
inline LoadedModel MakeSphere(int slices, int stacks, float r = 1.0f, Vec3 centre = {})
{
    LoadedModel model;
    const float pi = 3.14159265f;
    for (int s = 0; s <= stacks; ++s) {
        const float phi = pi * float(s) / float(stacks);
        for (int k = 0; k < slices; ++k) {
            const float theta = 2 * pi * float(k) / float(slices);
            _MESH_VERTEX v;
            v.nx = std::sin(phi) * std::cos(theta);
            v.ny = std::cos(phi);
            v.nz = std::sin(phi) * std::sin(theta);
            v.x = centre.x + r * v.nx;
            v.y = centre.y + r * v.ny;
            v.z = centre.z + r * v.nz;
            model.vertices.push_back(v);
            if (s == 0 || s == stacks) break;  // one pole vertex
        }
    }
    auto id = [&](int s, int k) -> uint32_t {
        if (s == 0) return 0;
        if (s == stacks) return uint32_t(1 + (stacks - 1) * slices);
        return uint32_t(1 + (s - 1) * slices + (k % slices));
    };
    for (int s = 0; s < stacks; ++s)
        for (int k = 0; k < slices; ++k) {
            const uint32_t a = id(s, k), b = id(s, k + 1), c = id(s + 1, k), d = id(s + 1, k + 1);
            if (s != 0) model.indices.insert(model.indices.end(), {a, b, c});
            if (s != stacks - 1) model.indices.insert(model.indices.end(), {b, d, c});
        }
    model.triangleMaterials.assign(model.indices.size() / 3, 0);
    model.materials.push_back(PlainMaterial());
    return model;
}

// Sum over triangles of (face normal . (face centre - model centre)) x area,
// where the unnormalised cross product is twice the area times the normal.
// Positive when the faces of a closed model face outward.
template <class ForEachTriangle>
double OutwardSum(const std::vector<Vec3>& positions, ForEachTriangle forEach)
{
    Vec3 low = positions.empty() ? Vec3{} : positions[0], high = low;
    for (Vec3 p : positions) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    const Vec3 centre = (low + high) * 0.5f;
    double sum = 0;
    forEach([&](uint32_t a, uint32_t b, uint32_t c) {
        const Vec3 pa = positions[a], pb = positions[b], pc = positions[c];
        const Vec3 n = Cross(pb - pa, pc - pa);
        const Vec3 faceCentre = (pa + pb + pc) * (1.0f / 3.0f);
        sum += 0.5 * double(Dot(n, faceCentre - centre));
    });
    return sum;
}

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder()
    {
        std::random_device seed;
        path = std::filesystem::temp_directory_path() / ("m3d-mesh-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string File(const std::string& name) const { return (path / name).string(); }
    std::filesystem::path path;
};

}  // namespace meshtest

}  // namespace m3d
