#pragma once

#include "math/Matrix4.h"
#include "records/ColorValue.h"
#include "records/MeshVertex.h"
#include "records/TextureImage.h"

#include <cstdint>

namespace m3d {

// What the drawing code asks of a graphics device: the fixed-function model of
// one directional light, one material and one texture stage, with geometry
// passed from memory on every call. Matrices use the library's conventions
// (row vectors, left-handed, depth 0 ... 1); a device converts them itself.
// Colours given as uint32_t are ARGB (alpha in the top byte).

enum class TransformKind { World, View, Projection };

// Pixel rectangle of the render target that drawing and Clear go to.
struct Viewport {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    float minDepth = 0.0f;
    float maxDepth = 1.0f;
};

// Lit colour = emissive + ambient light x ambient + light colour x diffuse x
// max(0, normal . -direction), then times the texture when one is bound.
struct RenderMaterial {
    ColorValue diffuse;
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power = 0.0f;
};

struct DirectionalLight {
    Vec3 direction{0.0f, 0.0f, 1.0f};  // the way the light travels, unit length
    ColorValue diffuse{1.0f, 1.0f, 1.0f, 1.0f};
};

// One point of a coloured line, drawn unlit in its own colour.
struct LineVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    uint32_t color = 0;
};

// Names the vertex and index arrays of the indexed draws that follow, so that a
// device may keep them in its own memory between frames: owner is the object
// holding the arrays and version changes whenever their contents change
// (versions are never reused). The default key says the arrays are transient.
struct GeometryKey {
    const void* owner = nullptr;
    uint64_t version = 0;
};

class RenderDevice {
public:
    virtual ~RenderDevice() = default;

    // Brackets one frame's drawing; false from BeginScene means draw nothing this frame.
    virtual bool BeginScene() = 0;
    virtual void EndScene() = 0;

    virtual void SetViewport(const Viewport& viewport) = 0;
    virtual Viewport GetViewport() const = 0;
    // Fills the current viewport with colour and its depth buffer with depth.
    virtual void Clear(uint32_t color, float depth) = 0;

    virtual void SetTransform(TransformKind kind, const Matrix4& matrix) = 0;
    // With lighting off, triangles take the material's diffuse colour unlit.
    virtual void SetLighting(bool enabled) = 0;
    // Sets and enables the one directional light.
    virtual void SetLight(const DirectionalLight& light) = 0;
    virtual void SetAmbientLight(uint32_t color) = 0;
    virtual void SetMaterial(const RenderMaterial& material) = 0;
    // While on, what is drawn is blended over what is there by its alpha
    // (source alpha, one minus source alpha) and is still depth-tested but
    // leaves the depth buffer as it was, so later opaque drawing covers it.
    // Off at the start of every frame.
    virtual void SetTranslucent(bool enabled) = 0;

    // Binds an image for the triangles that follow; nullptr or an image of
    // width 0 binds none. The device may keep a copy of a bound image under its
    // address; the owner calls ReleaseTexture before it changes or frees a
    // non-empty image, so a later image at the same address is not mistaken for it.
    virtual void SetTexture(const TextureImage* image) = 0;
    virtual void ReleaseTexture(const TextureImage* image) = 0;

    // Triangle strip through vertices[baseVertex + indices[i]] (positions,
    // normals, texture coordinates), lit and textured by the current state.
    // Triangles with a repeated index have no area and draw nothing. The first
    // triangle is front-facing when it runs clockwise on screen, or
    // counter-clockwise when firstReversed (a strip whose winding flag is set,
    // such as a mirrored mesh's); face culling is up to the device. All
    // referenced vertices lie below vertexCount.
    virtual void DrawIndexedTriangleStrip(const _MESH_VERTEX* vertices, uint32_t vertexCount, const uint16_t* indices,
                                          uint32_t indexCount, uint32_t baseVertex, bool firstReversed) = 0;
    // The same indices joined as one line strip, coloured like the triangles would be.
    virtual void DrawIndexedLineStrip(const _MESH_VERTEX* vertices, uint32_t vertexCount, const uint16_t* indices,
                                      uint32_t indexCount, uint32_t baseVertex) = 0;

    // Until the next call, indexed draws take their arrays from the geometry
    // key names; a device that keeps nothing ignores it.
    virtual void SetGeometryKey(GeometryKey /*key*/) {}
    // The arrays of owner are gone: a device frees whatever it kept for them.
    virtual void ForgetGeometry(const void* /*owner*/) {}

    // Separate lines, one per pair of vertices (vertexCount is even).
    virtual void DrawLineList(const LineVertex* vertices, uint32_t vertexCount) = 0;
    // One connected line through all vertices.
    virtual void DrawLineStrip(const LineVertex* vertices, uint32_t vertexCount) = 0;
    // A square dot size pixels across (of the viewport) centred on each
    // vertex, unlit in its colour, depth-tested as lines are.
    virtual void DrawPoints(const LineVertex* vertices, uint32_t vertexCount, float size) = 0;
};

}  // namespace m3d
