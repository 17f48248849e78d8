// Drawing a mesh and its overlays through the base's render device, in the
// mesh's own world matrix (a ghost in the one it is given).

#include "meshlib/MeshImpl.h"

#include "render/RenderDevice.h"

#include <array>
#include <cmath>

namespace m3d {

namespace {

constexpr int kCircleSegments = 32;

RenderDevice* DeviceOf(const CMeshBase* base) { return base != nullptr ? base->GetDevice() : nullptr; }

// Overlays are plain coloured lines: unlit, untextured.
template <class Draw>
void DrawOverlay(RenderDevice& device, const Matrix4& world, Draw draw)
{
    device.SetTransform(TransformKind::World, world);
    device.SetLighting(false);
    device.SetTexture(nullptr);
    draw();
    device.SetLighting(true);
}

LineVertex Point(Vec3 p, uint32_t color) { return {p.x, p.y, p.z, color}; }

}  // namespace

void CMesh::DrawStrips(const Matrix4& world, const RenderMaterial* tint)
{
    const Impl& mesh = *impl;
    RenderDevice* device = DeviceOf(mesh.base);
    if (device == nullptr || mesh.content.subMeshes.empty()) return;
    const MeshContent& c = mesh.content;
    device->SetTransform(TransformKind::World, world);
    device->SetLighting(tint == nullptr);
    device->SetGeometryKey({this, mesh.geometryVersion});
    if (tint != nullptr) {
        device->SetMaterial(*tint);
        device->SetTexture(nullptr);
    }
    for (const _MESH_MESHDATA& m : c.subMeshes) {
        if (tint == nullptr) {
            const _MESH_MATERIAL& mat = c.materials[size_t(m.materialNumber)];
            device->SetMaterial({mat.diffuse, mat.ambient, mat.specular, mat.emissive, mat.power});
            device->SetTexture(mesh.TextureOfSlot(mat.textureNumber));
        }
        // The GPU discards the zero-area joints of a face strip; edges reuse the same indices as a line strip.
        if (mesh.primitiveType == MeshPrimitive::Edges)
            device->DrawIndexedLineStrip(c.vertices.data(), uint32_t(c.vertices.size()), m.indices.data(), m.indexCount,
                                         m.baseVertex);
        else
            device->DrawIndexedTriangleStrip(c.vertices.data(), uint32_t(c.vertices.size()), m.indices.data(),
                                             m.indexCount, m.baseVertex, m.windingFlag != 0);
    }
    device->SetGeometryKey({});
    if (tint != nullptr) device->SetLighting(true);
}

void CMesh::DrawMesh() { DrawStrips(GetMatrix(), nullptr); }

void CMesh::DrawGhost(const Matrix4& world, uint32_t tint)
{
    const ColorValue colour = ColorValueOfArgb(tint);
    const RenderMaterial material{colour, colour, {}, {}, 0.0f};
    DrawStrips(world, &material);
}

// The collision shape is the mesh's bounding sphere (centred on its bounding
// box, reaching its farthest vertex), drawn as three great circles in the
// planes x = cx, y = cy and z = cz.
void CMesh::DrawCollision(uint32_t color)
{
    RenderDevice* device = DeviceOf(impl->base);
    if (device == nullptr || !impl->hasBounds) return;
    const Vec3 c = impl->sphereCentre;
    const float r = impl->sphereRadius;
    DrawOverlay(*device, GetMatrix(), [&] {
        for (int plane = 0; plane < 3; ++plane) {
            std::array<LineVertex, kCircleSegments + 1> circle;
            for (int k = 0; k <= kCircleSegments; ++k) {
                const float angle = 2.0f * 3.14159265f * float(k % kCircleSegments) / float(kCircleSegments);
                const float u = r * std::cos(angle), v = r * std::sin(angle);
                const Vec3 offset = plane == 0 ? Vec3{0, u, v} : plane == 1 ? Vec3{u, 0, v} : Vec3{u, v, 0};
                circle[size_t(k)] = Point(c + offset, color);
            }
            device->DrawLineStrip(circle.data(), uint32_t(circle.size()));
        }
    });
}

void CMesh::DrawNormal(float length, uint32_t color)
{
    RenderDevice* device = DeviceOf(impl->base);
    if (device == nullptr || impl->content.vertices.empty()) return;
    std::vector<LineVertex> lines;
    lines.reserve(impl->content.vertices.size() * 2);
    for (const _MESH_VERTEX& v : impl->content.vertices) {
        const Vec3 p{v.x, v.y, v.z};
        lines.push_back(Point(p, color));
        lines.push_back(Point(p + Vec3{v.nx, v.ny, v.nz} * length, color));
    }
    DrawOverlay(*device, GetMatrix(), [&] { device->DrawLineList(lines.data(), uint32_t(lines.size())); });
}

// Three lines of the given length along the model's axes, crossing at its origin.
void CMesh::DrawPivotPoint(float size, uint32_t color)
{
    RenderDevice* device = DeviceOf(impl->base);
    if (device == nullptr) return;
    const float h = size * 0.5f;
    const std::array<LineVertex, 6> lines = {Point({-h, 0, 0}, color), Point({h, 0, 0}, color),
                                             Point({0, -h, 0}, color), Point({0, h, 0}, color),
                                             Point({0, 0, -h}, color), Point({0, 0, h}, color)};
    DrawOverlay(*device, GetMatrix(), [&] { device->DrawLineList(lines.data(), uint32_t(lines.size())); });
}

void CMesh::DrawBoundingBox(uint32_t color)
{
    RenderDevice* device = DeviceOf(impl->base);
    if (device == nullptr || !impl->hasBounds) return;
    const Vec3 lo = impl->boundsLow, hi = impl->boundsHigh;
    auto corner = [&](int k) { return Vec3{k & 1 ? hi.x : lo.x, k & 2 ? hi.y : lo.y, k & 4 ? hi.z : lo.z}; };
    std::vector<LineVertex> lines;
    // Every pair of corners that differs in exactly one coordinate is an edge.
    for (int a = 0; a < 8; ++a)
        for (int bit = 1; bit < 8; bit <<= 1)
            if (!(a & bit)) {
                lines.push_back(Point(corner(a), color));
                lines.push_back(Point(corner(a | bit), color));
            }
    DrawOverlay(*device, GetMatrix(), [&] { device->DrawLineList(lines.data(), uint32_t(lines.size())); });
}

}  // namespace m3d
