#include "render/RecordingDevice.h"

namespace m3d {

RecordedCall& RecordingDevice::Record(RenderCall call)
{
    RecordedCall& entry = calls.emplace_back();
    entry.call = call;
    entry.viewport = state.viewport;
    entry.world = state.world;
    entry.view = state.view;
    entry.projection = state.projection;
    entry.lighting = state.lighting;
    entry.light = state.light;
    entry.ambientLight = state.ambientLight;
    entry.material = state.material;
    entry.translucent = state.translucent;
    entry.texture = state.texture;
    entry.geometry = state.geometry;
    return entry;
}

std::vector<const RecordedCall*> RecordingDevice::CallsOf(RenderCall kind) const
{
    std::vector<const RecordedCall*> out;
    for (const RecordedCall& c : calls)
        if (c.call == kind) out.push_back(&c);
    return out;
}

bool RecordingDevice::BeginScene()
{
    state.translucent = false;
    Record(RenderCall::BeginScene);
    return beginSceneSucceeds;
}

void RecordingDevice::EndScene() { Record(RenderCall::EndScene); }

void RecordingDevice::SetViewport(const Viewport& viewport)
{
    state.viewport = viewport;
    Record(RenderCall::SetViewport);
}

Viewport RecordingDevice::GetViewport() const { return state.viewport; }

void RecordingDevice::Clear(uint32_t color, float depth)
{
    RecordedCall& c = Record(RenderCall::Clear);
    c.color = color;
    c.depth = depth;
}

void RecordingDevice::SetTransform(TransformKind kind, const Matrix4& matrix)
{
    (kind == TransformKind::World ? state.world : kind == TransformKind::View ? state.view : state.projection) = matrix;
    Record(RenderCall::SetTransform).transformKind = kind;
}

void RecordingDevice::SetLighting(bool enabled)
{
    state.lighting = enabled;
    Record(RenderCall::SetLighting);
}

void RecordingDevice::SetLight(const DirectionalLight& light)
{
    state.light = light;
    Record(RenderCall::SetLight);
}

void RecordingDevice::SetAmbientLight(uint32_t color)
{
    state.ambientLight = color;
    Record(RenderCall::SetAmbientLight);
}

void RecordingDevice::SetMaterial(const RenderMaterial& material)
{
    state.material = material;
    Record(RenderCall::SetMaterial);
}

void RecordingDevice::SetTranslucent(bool enabled)
{
    state.translucent = enabled;
    Record(RenderCall::SetTranslucent);
}

void RecordingDevice::SetTexture(const TextureImage* image)
{
    state.texture = image != nullptr && image->width > 0 ? image : nullptr;
    Record(RenderCall::SetTexture);
}

void RecordingDevice::ReleaseTexture(const TextureImage* image)
{
    if (state.texture == image) state.texture = nullptr;
    Record(RenderCall::ReleaseTexture).image = image;
}

void RecordingDevice::DrawIndexedTriangleStrip(const _MESH_VERTEX* vertices, uint32_t vertexCount,
                                               const uint16_t* indices, uint32_t indexCount, uint32_t baseVertex,
                                               bool firstReversed)
{
    RecordedCall& c = Record(RenderCall::DrawIndexedTriangleStrip);
    c.vertices = vertices;
    c.vertexCount = vertexCount;
    c.indices.assign(indices, indices + indexCount);
    c.baseVertex = baseVertex;
    c.firstReversed = firstReversed;
}

void RecordingDevice::DrawIndexedLineStrip(const _MESH_VERTEX* vertices, uint32_t vertexCount, const uint16_t* indices,
                                           uint32_t indexCount, uint32_t baseVertex)
{
    RecordedCall& c = Record(RenderCall::DrawIndexedLineStrip);
    c.vertices = vertices;
    c.vertexCount = vertexCount;
    c.indices.assign(indices, indices + indexCount);
    c.baseVertex = baseVertex;
}

void RecordingDevice::DrawLineList(const LineVertex* vertices, uint32_t vertexCount)
{
    Record(RenderCall::DrawLineList).lines.assign(vertices, vertices + vertexCount);
}

void RecordingDevice::DrawLineStrip(const LineVertex* vertices, uint32_t vertexCount)
{
    Record(RenderCall::DrawLineStrip).lines.assign(vertices, vertices + vertexCount);
}

void RecordingDevice::DrawPoints(const LineVertex* vertices, uint32_t vertexCount, float size)
{
    RecordedCall& c = Record(RenderCall::DrawPoints);
    c.lines.assign(vertices, vertices + vertexCount);
    c.pointSize = size;
}

void RecordingDevice::SetGeometryKey(GeometryKey key)
{
    state.geometry = key;
    Record(RenderCall::SetGeometryKey);
}

void RecordingDevice::ForgetGeometry(const void* owner) { Record(RenderCall::ForgetGeometry).owner = owner; }

}  // namespace m3d
