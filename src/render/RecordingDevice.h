#pragma once

#include "render/RenderDevice.h"

#include <vector>

namespace m3d {

enum class RenderCall {
    BeginScene,
    EndScene,
    SetViewport,
    Clear,
    SetTransform,
    SetLighting,
    SetLight,
    SetAmbientLight,
    SetMaterial,
    SetTranslucent,
    SetTexture,
    ReleaseTexture,
    DrawIndexedTriangleStrip,
    DrawIndexedLineStrip,
    DrawLineList,
    DrawLineStrip,
    DrawPoints,
    SetGeometryKey,
    ForgetGeometry,
};

// One call to the device with the device state right after it.
struct RecordedCall {
    RenderCall call;
    // State (after the call).
    Viewport viewport;
    Matrix4 world, view, projection;
    bool lighting = true;
    DirectionalLight light;
    uint32_t ambientLight = 0;
    RenderMaterial material;
    bool translucent = false;
    const TextureImage* texture = nullptr;
    GeometryKey geometry;
    // Arguments of the call, where it has them.
    TransformKind transformKind = TransformKind::World;  // SetTransform
    uint32_t color = 0;                                  // Clear
    float depth = 0.0f;                                  // Clear
    const TextureImage* image = nullptr;                 // ReleaseTexture
    const _MESH_VERTEX* vertices = nullptr;              // indexed draws: not owned, valid while the mesh is unchanged
    uint32_t vertexCount = 0;                            // indexed draws
    std::vector<uint16_t> indices;                       // indexed draws (copied)
    uint32_t baseVertex = 0;                             // indexed draws
    bool firstReversed = false;                          // DrawIndexedTriangleStrip
    std::vector<LineVertex> lines;                       // line and point draws (copied)
    float pointSize = 0.0f;                              // DrawPoints
    const void* owner = nullptr;                         // ForgetGeometry
};

// A device that draws nothing and keeps every call, for tests and headless runs.
class RecordingDevice : public RenderDevice {
public:
    bool BeginScene() override;
    void EndScene() override;
    void SetViewport(const Viewport& viewport) override;
    Viewport GetViewport() const override;
    void Clear(uint32_t color, float depth) override;
    void SetTransform(TransformKind kind, const Matrix4& matrix) override;
    void SetLighting(bool enabled) override;
    void SetLight(const DirectionalLight& light) override;
    void SetAmbientLight(uint32_t color) override;
    void SetMaterial(const RenderMaterial& material) override;
    void SetTranslucent(bool enabled) override;
    void SetTexture(const TextureImage* image) override;
    void ReleaseTexture(const TextureImage* image) override;
    void DrawIndexedTriangleStrip(const _MESH_VERTEX* vertices, uint32_t vertexCount, const uint16_t* indices,
                                  uint32_t indexCount, uint32_t baseVertex, bool firstReversed) override;
    void DrawIndexedLineStrip(const _MESH_VERTEX* vertices, uint32_t vertexCount, const uint16_t* indices,
                              uint32_t indexCount, uint32_t baseVertex) override;
    void DrawLineList(const LineVertex* vertices, uint32_t vertexCount) override;
    void DrawLineStrip(const LineVertex* vertices, uint32_t vertexCount) override;
    void DrawPoints(const LineVertex* vertices, uint32_t vertexCount, float size) override;
    void SetGeometryKey(GeometryKey key) override;
    void ForgetGeometry(const void* owner) override;

    // Every call so far, oldest first.
    std::vector<RecordedCall> calls;
    // The calls of one kind, in order.
    std::vector<const RecordedCall*> CallsOf(RenderCall kind) const;
    // What BeginScene answers (true unless a test wants a failing frame).
    bool beginSceneSucceeds = true;

private:
    RecordedCall& Record(RenderCall call);
    RecordedCall state;
};

}  // namespace m3d
