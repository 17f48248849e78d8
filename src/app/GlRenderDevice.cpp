#include "app/GlRenderDevice.h"

#include <QOpenGLContext>
#include <QOpenGLFunctions_3_3_Core>
#include <QOpenGLShaderProgram>
#include <QOpenGLVersionFunctionsFactory>

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

constexpr unsigned kClipLowerLeft = 0x8CA1;  // GL_LOWER_LEFT
constexpr unsigned kClipNegativeOneToOne = 0x935E;
constexpr unsigned kClipZeroToOne = 0x935F;

// Attribute slots shared by the shaders and the vertex arrays.
constexpr int kPositionSlot = 0;
constexpr int kNormalSlot = 1;
constexpr int kTexCoordSlot = 2;
constexpr int kColourSlot = 1;

// Per-vertex lighting as the fixed-function pipeline does it: the lit colour is
// clamped before the texture multiplies it; lighting off takes the material's
// diffuse colour as it is. Normals are not renormalised after the transform,
// as there, which lets the light be taken into model space once per draw
// instead of every normal into world space. LIT and TEXTURED choose the variant.
const char* const kMeshVertexShader = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec2 aTexCoord;
uniform mat4 uWorldViewProjection;
uniform vec4 uDiffuse;
#if LIT
uniform vec3 uTowardsLight;  // in model space
uniform vec3 uLightDiffuse;
uniform vec3 uAmbientLight;
uniform vec3 uAmbient;
uniform vec3 uEmissive;
#endif
out vec4 vColour;
#if TEXTURED
out vec2 vTexCoord;
#endif
void main()
{
    gl_Position = uWorldViewProjection * vec4(aPosition, 1.0);
#if TEXTURED
    vTexCoord = aTexCoord;
#endif
#if LIT
    float facing = max(dot(aNormal, uTowardsLight), 0.0);
    vec3 lit = uEmissive + uAmbientLight * uAmbient + uLightDiffuse * uDiffuse.rgb * facing;
    vColour = vec4(clamp(lit, 0.0, 1.0), uDiffuse.a);
#else
    vColour = uDiffuse;
#endif
}
)";

const char* const kMeshFragmentShader = R"(
in vec4 vColour;
#if TEXTURED
in vec2 vTexCoord;
uniform sampler2D uTexture;
#endif
out vec4 fragColour;
void main()
{
#if TEXTURED
    fragColour = texture(uTexture, vTexCoord) * vColour;
#else
    fragColour = vColour;
#endif
}
)";

const char* const kLineVertexShader = R"(
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec4 aColour;
uniform mat4 uWorldViewProjection;
out vec4 vColour;
void main()
{
    gl_Position = uWorldViewProjection * vec4(aPosition, 1.0);
    vColour = aColour;
}
)";

const char* const kLineFragmentShader = R"(
in vec4 vColour;
out vec4 fragColour;
void main() { fragColour = vColour; }
)";

QVector3D RgbOf(uint32_t argb)
{
    return {float((argb >> 16) & 0xFF) / 255.0f, float((argb >> 8) & 0xFF) / 255.0f, float(argb & 0xFF) / 255.0f};
}

// The matrix's 16 floats in row order are the column-major array of its
// transpose, which is what a column-vector shader needs.
void SetMatrixUniform(QOpenGLFunctions_3_3_Core* gl, QOpenGLShaderProgram& program, const char* name, const Matrix4& m)
{
    float values[16];
    m.ToArray(values);
    gl->glUniformMatrix4fv(program.uniformLocation(name), 1, GL_FALSE, values);
}

// Normals go to the world by the inverse transpose A of the world's 3 x 3
// part (n' = n A, row vectors), so n' . l = n . (A l): the light direction
// comes into model space by A taken as a column-vector product.
Vec3 TowardsLightInModelSpace(const Matrix4& world, Vec3 direction)
{
    Matrix4 rotation = world;
    rotation.SetTranslation({0, 0, 0});
    Matrix4 inverse;
    if (!MatrixInverse(rotation, inverse)) return {0, 0, 0};
    const Matrix4 a = MatrixTranspose(inverse);
    const Vec3 l = direction * -1.0f;
    return {a.m[0][0] * l.x + a.m[0][1] * l.y + a.m[0][2] * l.z, a.m[1][0] * l.x + a.m[1][1] * l.y + a.m[1][2] * l.z,
            a.m[2][0] * l.x + a.m[2][1] * l.y + a.m[2][2] * l.z};
}

Outcome BuildProgram(QOpenGLShaderProgram& program, const char* vertex, const char* fragment,
                     const QByteArray& defines = QByteArray())
{
    const QByteArray header = "#version 330 core\n" + defines;
    if (!program.addShaderFromSourceCode(QOpenGLShader::Vertex, header + vertex) ||
        !program.addShaderFromSourceCode(QOpenGLShader::Fragment, header + fragment) || !program.link())
        return Outcome::Failure("OpenGL shaders: " + program.log().toStdString());
    return Outcome();
}

}  // namespace

GlRenderDevice::GlRenderDevice() = default;

GlRenderDevice::~GlRenderDevice() = default;

Outcome GlRenderDevice::Initialize(QOpenGLContext* context)
{
    ReleaseResources();
    auto* functions = QOpenGLVersionFunctionsFactory::get<QOpenGLFunctions_3_3_Core>(context);
    if (functions == nullptr || !functions->initializeOpenGLFunctions())
        return Outcome::Failure("OpenGL 3.3 core functions are not available");
    for (int variant = 0; variant < int(meshPrograms.size()); ++variant) {
        MeshProgram& m = meshPrograms[size_t(variant)];
        m.program = std::make_unique<QOpenGLShaderProgram>();
        const QByteArray defines = QByteArray("#define LIT ") + ((variant & 1) ? "1" : "0") + "\n#define TEXTURED " +
                                   ((variant & 2) ? "1" : "0") + "\n";
        if (Outcome built = BuildProgram(*m.program, kMeshVertexShader, kMeshFragmentShader, defines); !built) {
            for (MeshProgram& program : meshPrograms) program.program.reset();
            return built;
        }
        QOpenGLShaderProgram& p = *m.program;
        m.worldViewProjection = p.uniformLocation("uWorldViewProjection");
        m.towardsLight = p.uniformLocation("uTowardsLight");
        m.lightDiffuse = p.uniformLocation("uLightDiffuse");
        m.ambientLight = p.uniformLocation("uAmbientLight");
        m.diffuse = p.uniformLocation("uDiffuse");
        m.ambient = p.uniformLocation("uAmbient");
        m.emissive = p.uniformLocation("uEmissive");
        m.texture = p.uniformLocation("uTexture");
    }
    lineProgram = std::make_unique<QOpenGLShaderProgram>();
    if (Outcome built = BuildProgram(*lineProgram, kLineVertexShader, kLineFragmentShader); !built) {
        for (MeshProgram& program : meshPrograms) program.program.reset();
        lineProgram.reset();
        return built;
    }
    gl = functions;
    const QSurfaceFormat format = context->format();
    const bool hasClipControl = format.version() >= qMakePair(4, 5) || context->hasExtension("GL_ARB_clip_control");
    clipControl = hasClipControl
                      ? reinterpret_cast<void (*)(unsigned, unsigned)>(context->getProcAddress("glClipControl"))
                      : nullptr;

    gl->glGenVertexArrays(1, &streamVao);
    gl->glGenBuffers(1, &streamVertexBuffer);
    gl->glGenBuffers(1, &streamIndexBuffer);
    gl->glBindVertexArray(streamVao);
    gl->glBindBuffer(GL_ARRAY_BUFFER, streamVertexBuffer);
    SetupMeshAttributes();
    gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, streamIndexBuffer);

    gl->glGenVertexArrays(1, &lineVao);
    gl->glGenBuffers(1, &lineBuffer);
    gl->glBindVertexArray(lineVao);
    gl->glBindBuffer(GL_ARRAY_BUFFER, lineBuffer);
    gl->glEnableVertexAttribArray(kPositionSlot);
    gl->glVertexAttribPointer(kPositionSlot, 3, GL_FLOAT, GL_FALSE, sizeof(LineVertex),
                              reinterpret_cast<void*>(offsetof(LineVertex, x)));
    // ARGB in a little-endian word is B, G, R, A in memory.
    gl->glEnableVertexAttribArray(kColourSlot);
    gl->glVertexAttribPointer(kColourSlot, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(LineVertex),
                              reinterpret_cast<void*>(offsetof(LineVertex, color)));
    gl->glBindVertexArray(0);
    return Outcome();
}

void GlRenderDevice::SetupMeshAttributes()
{
    gl->glEnableVertexAttribArray(kPositionSlot);
    gl->glVertexAttribPointer(kPositionSlot, 3, GL_FLOAT, GL_FALSE, sizeof(_MESH_VERTEX),
                              reinterpret_cast<void*>(offsetof(_MESH_VERTEX, x)));
    gl->glEnableVertexAttribArray(kNormalSlot);
    gl->glVertexAttribPointer(kNormalSlot, 3, GL_FLOAT, GL_FALSE, sizeof(_MESH_VERTEX),
                              reinterpret_cast<void*>(offsetof(_MESH_VERTEX, nx)));
    gl->glEnableVertexAttribArray(kTexCoordSlot);
    gl->glVertexAttribPointer(kTexCoordSlot, 2, GL_FLOAT, GL_FALSE, sizeof(_MESH_VERTEX),
                              reinterpret_cast<void*>(offsetof(_MESH_VERTEX, tu)));
}

void GlRenderDevice::ReleaseResources()
{
    if (gl == nullptr) return;
    FreePending();
    for (auto& [owner, geometry] : geometries) FreeGeometry(geometry);
    geometries.clear();
    for (auto& [image, name] : textures) gl->glDeleteTextures(1, &name);
    textures.clear();
    gl->glDeleteVertexArrays(1, &streamVao);
    gl->glDeleteVertexArrays(1, &lineVao);
    const unsigned buffers[3] = {streamVertexBuffer, streamIndexBuffer, lineBuffer};
    gl->glDeleteBuffers(3, buffers);
    streamVao = lineVao = streamVertexBuffer = streamIndexBuffer = lineBuffer = 0;
    for (MeshProgram& m : meshPrograms) m.program.reset();
    lineProgram.reset();
    gl = nullptr;
    texture = nullptr;
}

void GlRenderDevice::SetTargetSize(int width, int height, double ratio)
{
    targetWidth = width;
    targetHeight = height;
    pixelRatio = ratio > 0 ? ratio : 1.0;
}

bool GlRenderDevice::BeginScene()
{
    if (gl == nullptr) return false;
    FreePending();
    if (clipControl != nullptr) clipControl(kClipLowerLeft, kClipZeroToOne);
    gl->glEnable(GL_DEPTH_TEST);
    gl->glDepthFunc(GL_LEQUAL);
    gl->glDepthMask(GL_TRUE);
    gl->glDisable(GL_BLEND);
    // The colour blends; the alpha stays as cleared, since the window shows
    // the view over its own background by that alpha.
    gl->glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    translucent = false;
    gl->glDisable(GL_DITHER);
    gl->glFrontFace(GL_CW);
    gl->glCullFace(GL_BACK);
    gl->glEnable(GL_CULL_FACE);
    ApplyViewport();
    return true;
}

void GlRenderDevice::EndScene()
{
    if (gl == nullptr) return;
    gl->glBindVertexArray(0);
    gl->glUseProgram(0);
    gl->glDisable(GL_CULL_FACE);
    // Qt paints into the same context afterwards with its own conventions.
    if (clipControl != nullptr) clipControl(kClipLowerLeft, kClipNegativeOneToOne);
}

void GlRenderDevice::SetViewport(const Viewport& newViewport)
{
    viewport = newViewport;
    ApplyViewport();
}

Viewport GlRenderDevice::GetViewport() const { return viewport; }

void GlRenderDevice::ApplyViewport()
{
    if (gl == nullptr) return;
    const int x = int(std::lround(viewport.x * pixelRatio));
    const int w = int(std::lround(viewport.width * pixelRatio));
    const int h = int(std::lround(viewport.height * pixelRatio));
    const int y = targetHeight - int(std::lround(viewport.y * pixelRatio)) - h;
    gl->glViewport(x, y, w, h);
    gl->glScissor(x, y, w, h);
    gl->glDepthRange(viewport.minDepth, viewport.maxDepth);
}

void GlRenderDevice::Clear(uint32_t color, float depth)
{
    if (gl == nullptr) return;
    ApplyViewport();
    gl->glEnable(GL_SCISSOR_TEST);
    gl->glClearColor(float((color >> 16) & 0xFF) / 255.0f, float((color >> 8) & 0xFF) / 255.0f,
                     float(color & 0xFF) / 255.0f, float(color >> 24) / 255.0f);
    gl->glClearDepth(depth);
    gl->glDepthMask(GL_TRUE);
    gl->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    gl->glDepthMask(translucent ? GL_FALSE : GL_TRUE);
    gl->glDisable(GL_SCISSOR_TEST);
}

void GlRenderDevice::SetTransform(TransformKind kind, const Matrix4& matrix)
{
    switch (kind) {
    case TransformKind::World: world = matrix; break;
    case TransformKind::View: view = matrix; break;
    case TransformKind::Projection: projection = matrix; break;
    }
}

void GlRenderDevice::SetLighting(bool enabled) { lighting = enabled; }
void GlRenderDevice::SetLight(const DirectionalLight& newLight) { light = newLight; }
void GlRenderDevice::SetAmbientLight(uint32_t color) { ambientLight = color; }
void GlRenderDevice::SetMaterial(const RenderMaterial& newMaterial) { material = newMaterial; }

void GlRenderDevice::SetTranslucent(bool enabled)
{
    translucent = enabled;
    if (gl == nullptr) return;
    if (enabled)
        gl->glEnable(GL_BLEND);
    else
        gl->glDisable(GL_BLEND);
    gl->glDepthMask(enabled ? GL_FALSE : GL_TRUE);
}

void GlRenderDevice::SetTexture(const TextureImage* image)
{
    const bool usable = image != nullptr && image->width > 0 && image->height > 0 &&
                        image->rgba.size() >= size_t(image->width) * size_t(image->height) * 4;
    texture = usable ? image : nullptr;
}

void GlRenderDevice::ReleaseTexture(const TextureImage* image)
{
    if (texture == image) texture = nullptr;
    auto found = textures.find(image);
    if (found == textures.end()) return;
    texturesToFree.push_back(found->second);
    textures.erase(found);
}

// The projection that keeps depth at 0 ... 1: as given with glClipControl,
// otherwise followed by z' = 2z - w into OpenGL's -1 ... 1.
Matrix4 GlRenderDevice::ClipProjection() const
{
    if (clipControl != nullptr) return projection;
    Matrix4 toMinusOneOne;
    toMinusOneOne.m[2][2] = 2.0f;
    toMinusOneOne.m[3][2] = -1.0f;
    return projection * toMinusOneOne;
}

void GlRenderDevice::UploadMeshUniforms()
{
    const MeshProgram& m = meshPrograms[size_t((lighting ? 1 : 0) | (texture != nullptr ? 2 : 0))];
    m.program->bind();
    float values[16];
    (world * view * ClipProjection()).ToArray(values);
    gl->glUniformMatrix4fv(m.worldViewProjection, 1, GL_FALSE, values);
    const ColorValue& d = material.diffuse;
    gl->glUniform4f(m.diffuse, d.r, d.g, d.b, d.a);
    if (lighting) {
        const Vec3 towards = TowardsLightInModelSpace(world, light.direction);
        gl->glUniform3f(m.towardsLight, towards.x, towards.y, towards.z);
        gl->glUniform3f(m.lightDiffuse, light.diffuse.r, light.diffuse.g, light.diffuse.b);
        const QVector3D ambientColour = RgbOf(ambientLight);
        gl->glUniform3f(m.ambientLight, ambientColour.x(), ambientColour.y(), ambientColour.z());
        gl->glUniform3f(m.ambient, material.ambient.r, material.ambient.g, material.ambient.b);
        gl->glUniform3f(m.emissive, material.emissive.r, material.emissive.g, material.emissive.b);
    }
    if (texture != nullptr) gl->glUniform1i(m.texture, 0);
    gl->glActiveTexture(GL_TEXTURE0);
    if (texture == nullptr) {
        gl->glBindTexture(GL_TEXTURE_2D, 0);
        return;
    }
    auto found = textures.find(texture);
    if (found == textures.end()) {
        unsigned name = 0;
        gl->glGenTextures(1, &name);
        gl->glBindTexture(GL_TEXTURE_2D, name);
        gl->glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        gl->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture->width, texture->height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                         texture->rgba.data());
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        gl->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        found = textures.emplace(texture, name).first;
    }
    gl->glBindTexture(GL_TEXTURE_2D, found->second);
}

void GlRenderDevice::SetGeometryKey(GeometryKey key) { geometryKey = key; }

void GlRenderDevice::ForgetGeometry(const void* owner)
{
    auto found = geometries.find(owner);
    if (found == geometries.end()) return;
    geometriesToFree.push_back(std::move(found->second));
    geometries.erase(found);
}

void GlRenderDevice::FreePending()
{
    for (CachedGeometry& geometry : geometriesToFree) FreeGeometry(geometry);
    geometriesToFree.clear();
    if (!texturesToFree.empty()) gl->glDeleteTextures(GLsizei(texturesToFree.size()), texturesToFree.data());
    texturesToFree.clear();
}

void GlRenderDevice::FreeGeometry(CachedGeometry& geometry)
{
    if (gl == nullptr) return;
    for (auto& [indices, sub] : geometry.subMeshes) {
        gl->glDeleteVertexArrays(1, &sub.vao);
        gl->glDeleteBuffers(1, &sub.indexBuffer);
    }
    geometry.subMeshes.clear();
    gl->glDeleteBuffers(1, &geometry.vertexBuffer);
    geometry.vertexBuffer = 0;
}

unsigned GlRenderDevice::CachedSubMesh(const _MESH_VERTEX* vertices, uint32_t vertexCount, const uint16_t* indices,
                                       uint32_t indexCount)
{
    CachedGeometry& geometry = geometries[geometryKey.owner];
    if (geometry.vertexBuffer == 0 || geometry.version != geometryKey.version || geometry.vertexCount != vertexCount) {
        FreeGeometry(geometry);
        geometry.version = geometryKey.version;
        geometry.vertexCount = vertexCount;
        gl->glGenBuffers(1, &geometry.vertexBuffer);
        gl->glBindBuffer(GL_ARRAY_BUFFER, geometry.vertexBuffer);
        gl->glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexCount) * GLsizeiptr(sizeof(_MESH_VERTEX)), vertices,
                         GL_STATIC_DRAW);
    }
    auto found = geometry.subMeshes.find(indices);
    if (found != geometry.subMeshes.end()) return found->second.vao;
    SubMeshBuffers sub;
    gl->glGenVertexArrays(1, &sub.vao);
    gl->glGenBuffers(1, &sub.indexBuffer);
    gl->glBindVertexArray(sub.vao);
    gl->glBindBuffer(GL_ARRAY_BUFFER, geometry.vertexBuffer);
    SetupMeshAttributes();
    gl->glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, sub.indexBuffer);
    gl->glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indexCount) * 2, indices, GL_STATIC_DRAW);
    geometry.subMeshes.emplace(indices, sub);
    return sub.vao;
}

void GlRenderDevice::DrawIndexed(unsigned mode, const _MESH_VERTEX* vertices, uint32_t vertexCount,
                                 const uint16_t* indices, uint32_t indexCount, uint32_t baseVertex)
{
    if (gl == nullptr || vertices == nullptr || indices == nullptr || indexCount < 2 || vertexCount == 0) return;
    UploadMeshUniforms();
    if (geometryKey.owner != nullptr) {
        gl->glBindVertexArray(CachedSubMesh(vertices, vertexCount, indices, indexCount));
    } else {
        gl->glBindVertexArray(streamVao);
        gl->glBindBuffer(GL_ARRAY_BUFFER, streamVertexBuffer);
        gl->glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexCount) * GLsizeiptr(sizeof(_MESH_VERTEX)), vertices,
                         GL_STREAM_DRAW);
        gl->glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indexCount) * 2, indices, GL_STREAM_DRAW);
    }
    gl->glDrawElementsBaseVertex(mode, GLsizei(indexCount), GL_UNSIGNED_SHORT, nullptr, GLint(baseVertex));
}

void GlRenderDevice::DrawIndexedTriangleStrip(const _MESH_VERTEX* vertices, uint32_t vertexCount,
                                              const uint16_t* indices, uint32_t indexCount, uint32_t baseVertex,
                                              bool firstReversed)
{
    if (gl == nullptr) return;
    // OpenGL alternates the order of strip triangles itself, so the first
    // triangle's order decides which side of every triangle is the front.
    gl->glFrontFace(firstReversed ? GL_CCW : GL_CW);
    DrawIndexed(GL_TRIANGLE_STRIP, vertices, vertexCount, indices, indexCount, baseVertex);
    gl->glFrontFace(GL_CW);
}

void GlRenderDevice::DrawIndexedLineStrip(const _MESH_VERTEX* vertices, uint32_t vertexCount, const uint16_t* indices,
                                          uint32_t indexCount, uint32_t baseVertex)
{
    DrawIndexed(GL_LINE_STRIP, vertices, vertexCount, indices, indexCount, baseVertex);
}

void GlRenderDevice::DrawLines(unsigned mode, const LineVertex* vertices, uint32_t vertexCount)
{
    if (gl == nullptr || vertices == nullptr || vertexCount < (mode == GL_POINTS ? 1u : 2u)) return;
    lineProgram->bind();
    SetMatrixUniform(gl, *lineProgram, "uWorldViewProjection", world * view * ClipProjection());
    gl->glBindVertexArray(lineVao);
    gl->glBindBuffer(GL_ARRAY_BUFFER, lineBuffer);
    gl->glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexCount) * GLsizeiptr(sizeof(LineVertex)), vertices,
                     GL_STREAM_DRAW);
    gl->glDrawArrays(mode, 0, GLsizei(vertexCount));
}

void GlRenderDevice::DrawLineList(const LineVertex* vertices, uint32_t vertexCount)
{
    DrawLines(GL_LINES, vertices, vertexCount & ~1u);
}

void GlRenderDevice::DrawLineStrip(const LineVertex* vertices, uint32_t vertexCount)
{
    DrawLines(GL_LINE_STRIP, vertices, vertexCount);
}

void GlRenderDevice::DrawPoints(const LineVertex* vertices, uint32_t vertexCount, float size)
{
    if (gl == nullptr) return;
    // The shaders leave gl_PointSize alone, so this size holds (in device pixels).
    gl->glPointSize(std::max(1.0f, float(size * pixelRatio)));
    DrawLines(GL_POINTS, vertices, vertexCount);
}

}  // namespace m3d
