#pragma once

#include "io/Outcome.h"
#include "render/RenderDevice.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace m3d {

// The render device on OpenGL 3.3 core. Matrices arrive in the library's
// conventions (row vectors, left-handed, depth 0 ... 1) and are converted here
// only: uploaded as they are (a row-major row-vector matrix is the transposed,
// column-major form OpenGL wants), with depth kept at 0 ... 1 by glClipControl
// where the context has it and by a corrected projection where it does not.
// Viewports count from the top left as the library does and are turned over
// here. A pair of shaders reproduces the fixed-function look: one white
// directional light, a global ambient light, material diffuse and ambient,
// texture x lit colour, clockwise front faces with back faces culled.
//
// Geometry named by a GeometryKey is uploaded once and drawn from GPU buffers
// until its version changes; unnamed arrays are streamed per call.
//
// The GL functions come from libepoxy, against whatever context is current:
// the window's (made by Qt) or an offscreen one (EglContext). Drawing calls
// need the context of Initialize current; ForgetGeometry and ReleaseTexture
// may come at any time. Not copyable.
class GlRenderDevice : public RenderDevice {
public:
    GlRenderDevice();
    ~GlRenderDevice() override;
    GlRenderDevice(const GlRenderDevice&) = delete;
    GlRenderDevice& operator=(const GlRenderDevice&) = delete;

    // Compiles the shaders and makes the buffers in the current context. Fails
    // saying why when the context cannot run them.
    Outcome Initialize();
    bool IsInitialized() const { return ready; }
    // Frees every GL object; needs the context current. Idempotent.
    void ReleaseResources();
    // The size of the target in device pixels and how many device pixels one
    // viewport pixel is; set before every frame.
    void SetTargetSize(int width, int height, double pixelRatio);
    // Whether depth 0 ... 1 is kept by glClipControl (else by the projection).
    bool UsesClipControl() const { return clipControl; }
    // How many geometries and textures are held on the GPU.
    size_t CachedGeometryCount() const { return geometries.size(); }
    size_t CachedTextureCount() const { return textures.size(); }

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

private:
    struct SubMeshBuffers {
        unsigned vao = 0;
        unsigned indexBuffer = 0;
    };
    struct CachedGeometry {
        uint64_t version = 0;
        unsigned vertexBuffer = 0;
        uint32_t vertexCount = 0;
        std::unordered_map<const uint16_t*, SubMeshBuffers> subMeshes;  // by the index array's address
    };

    void DrawIndexed(unsigned mode, const _MESH_VERTEX* vertices, uint32_t vertexCount, const uint16_t* indices,
                     uint32_t indexCount, uint32_t baseVertex);
    // Lines or points (mode) through the line shader.
    void DrawLines(unsigned mode, const LineVertex* vertices, uint32_t vertexCount);
    // The VAO that draws indices of the current geometry, uploading what is missing.
    unsigned CachedSubMesh(const _MESH_VERTEX* vertices, uint32_t vertexCount, const uint16_t* indices,
                           uint32_t indexCount);
    void FreeGeometry(CachedGeometry& geometry);
    void FreePending();
    void ApplyViewport();
    void UploadMeshUniforms();
    void SetupMeshAttributes();
    Matrix4 ClipProjection() const;

    void DeletePrograms();

    bool ready = false;
    bool clipControl = false;
    bool inScene = false;  // between BeginScene and EndScene: the scissor follows the viewport
    // The lit colour shader in four variants (lighting on or off, texture or
    // none), so that no variant pays for work another one needs.
    struct MeshProgram {
        unsigned program = 0;
        int worldViewProjection = -1, towardsLight = -1, lightDiffuse = -1, ambientLight = -1, diffuse = -1,
            ambient = -1, emissive = -1, texture = -1;
    };
    std::array<MeshProgram, 4> meshPrograms;  // index: 1 lit + 2 textured
    unsigned lineProgram = 0;
    int lineWorldViewProjection = -1;
    unsigned streamVao = 0, streamVertexBuffer = 0, streamIndexBuffer = 0;
    unsigned lineVao = 0, lineBuffer = 0;

    int targetWidth = 0, targetHeight = 0;
    double pixelRatio = 1.0;
    Viewport viewport;
    Matrix4 world, view, projection;
    bool lighting = true;
    DirectionalLight light;
    uint32_t ambientLight = 0;
    RenderMaterial material;
    bool translucent = false;
    const TextureImage* texture = nullptr;
    GeometryKey geometryKey;

    std::unordered_map<const void*, CachedGeometry> geometries;
    std::unordered_map<const TextureImage*, unsigned> textures;
    // Meshes and textures go away while no frame is drawn, when the context is
    // not current: their GL objects are freed at the next BeginScene.
    std::vector<CachedGeometry> geometriesToFree;
    std::vector<unsigned> texturesToFree;
};

}  // namespace m3d
