#include "gl/GlRenderDevice.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace m3d {

namespace {

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

struct Rgb {
    float r, g, b;
};

Rgb RgbOf(uint32_t argb)
{
    return {float((argb >> 16) & 0xFF) / 255.0f, float((argb >> 8) & 0xFF) / 255.0f, float(argb & 0xFF) / 255.0f};
}

// The matrix's 16 floats in row order are the column-major array of its
// transpose, which is what a column-vector shader needs.
void SetMatrixUniform(int location, const Matrix4& m)
{
    float values[16];
    m.ToArray(values);
    glUniformMatrix4fv(location, 1, GL_FALSE, values);
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

// The shader of kind from the version line, defines and source; its name, or
// 0 with the compiler's log in log.
unsigned CompileShader(GLenum kind, const std::string& defines, const char* source, std::string& log)
{
    const std::string header = "#version 330 core\n" + defines;
    const char* parts[2] = {header.c_str(), source};
    const unsigned shader = glCreateShader(kind);
    glShaderSource(shader, 2, parts, nullptr);
    glCompileShader(shader);
    GLint compiled = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled == GL_TRUE) return shader;
    char text[1024] = {};
    glGetShaderInfoLog(shader, sizeof text, nullptr, text);
    log = text;
    glDeleteShader(shader);
    return 0;
}

// Links a program from the two shader sources; fails with the compiler's or linker's log.
Expected<unsigned> BuildProgram(const char* vertex, const char* fragment, const std::string& defines = {})
{
    std::string log;
    const unsigned vertexShader = CompileShader(GL_VERTEX_SHADER, defines, vertex, log);
    const unsigned fragmentShader = vertexShader != 0 ? CompileShader(GL_FRAGMENT_SHADER, defines, fragment, log) : 0;
    if (fragmentShader == 0) {
        glDeleteShader(vertexShader);
        return Outcome::Failure("OpenGL shaders: " + log);
    }
    const unsigned program = glCreateProgram();
    glAttachShader(program, vertexShader);
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    glDeleteShader(vertexShader);
    glDeleteShader(fragmentShader);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked == GL_TRUE) return program;
    char text[1024] = {};
    glGetProgramInfoLog(program, sizeof text, nullptr, text);
    glDeleteProgram(program);
    return Outcome::Failure(std::string("OpenGL shaders: ") + text);
}

}  // namespace

GlRenderDevice::GlRenderDevice() = default;

GlRenderDevice::~GlRenderDevice() = default;

Outcome GlRenderDevice::Initialize()
{
    ReleaseResources();
    if (!epoxy_is_desktop_gl() || epoxy_gl_version() < 33)
        return Outcome::Failure("OpenGL 3.3 core functions are not available");
    for (int variant = 0; variant < int(meshPrograms.size()); ++variant) {
        const std::string defines = std::string("#define LIT ") + ((variant & 1) ? "1" : "0") + "\n#define TEXTURED " +
                                    ((variant & 2) ? "1" : "0") + "\n";
        Expected<unsigned> built = BuildProgram(kMeshVertexShader, kMeshFragmentShader, defines);
        if (!built) {
            DeletePrograms();
            return built.Status();
        }
        MeshProgram& m = meshPrograms[size_t(variant)];
        m.program = *built;
        m.worldViewProjection = glGetUniformLocation(m.program, "uWorldViewProjection");
        m.towardsLight = glGetUniformLocation(m.program, "uTowardsLight");
        m.lightDiffuse = glGetUniformLocation(m.program, "uLightDiffuse");
        m.ambientLight = glGetUniformLocation(m.program, "uAmbientLight");
        m.diffuse = glGetUniformLocation(m.program, "uDiffuse");
        m.ambient = glGetUniformLocation(m.program, "uAmbient");
        m.emissive = glGetUniformLocation(m.program, "uEmissive");
        m.texture = glGetUniformLocation(m.program, "uTexture");
    }
    Expected<unsigned> line = BuildProgram(kLineVertexShader, kLineFragmentShader);
    if (!line) {
        DeletePrograms();
        return line.Status();
    }
    lineProgram = *line;
    lineWorldViewProjection = glGetUniformLocation(lineProgram, "uWorldViewProjection");
    ready = true;
    clipControl = epoxy_gl_version() >= 45 || epoxy_has_gl_extension("GL_ARB_clip_control");

    glGenVertexArrays(1, &streamVao);
    glGenBuffers(1, &streamVertexBuffer);
    glGenBuffers(1, &streamIndexBuffer);
    glBindVertexArray(streamVao);
    glBindBuffer(GL_ARRAY_BUFFER, streamVertexBuffer);
    SetupMeshAttributes();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, streamIndexBuffer);

    glGenVertexArrays(1, &lineVao);
    glGenBuffers(1, &lineBuffer);
    glBindVertexArray(lineVao);
    glBindBuffer(GL_ARRAY_BUFFER, lineBuffer);
    glEnableVertexAttribArray(kPositionSlot);
    glVertexAttribPointer(kPositionSlot, 3, GL_FLOAT, GL_FALSE, sizeof(LineVertex),
                          reinterpret_cast<void*>(offsetof(LineVertex, x)));
    // ARGB in a little-endian word is B, G, R, A in memory.
    glEnableVertexAttribArray(kColourSlot);
    glVertexAttribPointer(kColourSlot, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(LineVertex),
                          reinterpret_cast<void*>(offsetof(LineVertex, color)));
    glBindVertexArray(0);
    return Outcome();
}

void GlRenderDevice::SetupMeshAttributes()
{
    glEnableVertexAttribArray(kPositionSlot);
    glVertexAttribPointer(kPositionSlot, 3, GL_FLOAT, GL_FALSE, sizeof(_MESH_VERTEX),
                          reinterpret_cast<void*>(offsetof(_MESH_VERTEX, x)));
    glEnableVertexAttribArray(kNormalSlot);
    glVertexAttribPointer(kNormalSlot, 3, GL_FLOAT, GL_FALSE, sizeof(_MESH_VERTEX),
                          reinterpret_cast<void*>(offsetof(_MESH_VERTEX, nx)));
    glEnableVertexAttribArray(kTexCoordSlot);
    glVertexAttribPointer(kTexCoordSlot, 2, GL_FLOAT, GL_FALSE, sizeof(_MESH_VERTEX),
                          reinterpret_cast<void*>(offsetof(_MESH_VERTEX, tu)));
}

void GlRenderDevice::ReleaseResources()
{
    if (!ready) return;
    FreePending();
    for (auto& [owner, geometry] : geometries) FreeGeometry(geometry);
    geometries.clear();
    for (auto& [image, name] : textures) glDeleteTextures(1, &name);
    textures.clear();
    glDeleteVertexArrays(1, &streamVao);
    glDeleteVertexArrays(1, &lineVao);
    const unsigned buffers[3] = {streamVertexBuffer, streamIndexBuffer, lineBuffer};
    glDeleteBuffers(3, buffers);
    streamVao = lineVao = streamVertexBuffer = streamIndexBuffer = lineBuffer = 0;
    DeletePrograms();
    ready = false;
    texture = nullptr;
}

void GlRenderDevice::DeletePrograms()
{
    for (MeshProgram& m : meshPrograms) {
        glDeleteProgram(m.program);
        m.program = 0;
    }
    glDeleteProgram(lineProgram);
    lineProgram = 0;
}

void GlRenderDevice::SetTargetSize(int width, int height, double ratio)
{
    targetWidth = width;
    targetHeight = height;
    pixelRatio = ratio > 0 ? ratio : 1.0;
}

bool GlRenderDevice::BeginScene()
{
    if (!ready) return false;
    FreePending();
    if (clipControl) glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    // The colour blends; the alpha stays as cleared, since the window shows
    // the view over its own background by that alpha.
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ZERO, GL_ONE);
    translucent = false;
    glDisable(GL_DITHER);
    glFrontFace(GL_CW);
    glCullFace(GL_BACK);
    glEnable(GL_CULL_FACE);
    // Drawing stays inside the viewport, as a wide point or line at a view's
    // edge would otherwise reach into the next view.
    inScene = true;
    glEnable(GL_SCISSOR_TEST);
    ApplyViewport();
    return true;
}

void GlRenderDevice::EndScene()
{
    if (!ready) return;
    glBindVertexArray(0);
    glUseProgram(0);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    inScene = false;
    // The window's toolkit paints into the same context afterwards with its own conventions.
    if (clipControl) glClipControl(GL_LOWER_LEFT, GL_NEGATIVE_ONE_TO_ONE);
}

void GlRenderDevice::SetViewport(const Viewport& newViewport)
{
    viewport = newViewport;
    ApplyViewport();
}

Viewport GlRenderDevice::GetViewport() const { return viewport; }

void GlRenderDevice::ApplyViewport()
{
    if (!ready) return;
    const int x = int(std::lround(viewport.x * pixelRatio));
    const int w = int(std::lround(viewport.width * pixelRatio));
    const int h = int(std::lround(viewport.height * pixelRatio));
    const int y = targetHeight - int(std::lround(viewport.y * pixelRatio)) - h;
    glViewport(x, y, w, h);
    glScissor(x, y, w, h);
    glDepthRange(viewport.minDepth, viewport.maxDepth);
}

void GlRenderDevice::Clear(uint32_t color, float depth)
{
    if (!ready) return;
    ApplyViewport();
    glEnable(GL_SCISSOR_TEST);
    glClearColor(float((color >> 16) & 0xFF) / 255.0f, float((color >> 8) & 0xFF) / 255.0f,
                 float(color & 0xFF) / 255.0f, float(color >> 24) / 255.0f);
    glClearDepth(depth);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDepthMask(translucent ? GL_FALSE : GL_TRUE);
    if (!inScene) glDisable(GL_SCISSOR_TEST);
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
    if (!ready) return;
    if (enabled)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    glDepthMask(enabled ? GL_FALSE : GL_TRUE);
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
    if (clipControl) return projection;
    Matrix4 toMinusOneOne;
    toMinusOneOne.m[2][2] = 2.0f;
    toMinusOneOne.m[3][2] = -1.0f;
    return projection * toMinusOneOne;
}

void GlRenderDevice::UploadMeshUniforms()
{
    const MeshProgram& m = meshPrograms[size_t((lighting ? 1 : 0) | (texture != nullptr ? 2 : 0))];
    glUseProgram(m.program);
    float values[16];
    (world * view * ClipProjection()).ToArray(values);
    glUniformMatrix4fv(m.worldViewProjection, 1, GL_FALSE, values);
    const ColorValue& d = material.diffuse;
    glUniform4f(m.diffuse, d.r, d.g, d.b, d.a);
    if (lighting) {
        const Vec3 towards = TowardsLightInModelSpace(world, light.direction);
        glUniform3f(m.towardsLight, towards.x, towards.y, towards.z);
        glUniform3f(m.lightDiffuse, light.diffuse.r, light.diffuse.g, light.diffuse.b);
        const Rgb ambientColour = RgbOf(ambientLight);
        glUniform3f(m.ambientLight, ambientColour.r, ambientColour.g, ambientColour.b);
        glUniform3f(m.ambient, material.ambient.r, material.ambient.g, material.ambient.b);
        glUniform3f(m.emissive, material.emissive.r, material.emissive.g, material.emissive.b);
    }
    if (texture != nullptr) glUniform1i(m.texture, 0);
    glActiveTexture(GL_TEXTURE0);
    if (texture == nullptr) {
        glBindTexture(GL_TEXTURE_2D, 0);
        return;
    }
    auto found = textures.find(texture);
    if (found == textures.end()) {
        unsigned name = 0;
        glGenTextures(1, &name);
        glBindTexture(GL_TEXTURE_2D, name);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture->width, texture->height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texture->rgba.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
        found = textures.emplace(texture, name).first;
    }
    glBindTexture(GL_TEXTURE_2D, found->second);
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
    if (!texturesToFree.empty()) glDeleteTextures(GLsizei(texturesToFree.size()), texturesToFree.data());
    texturesToFree.clear();
}

void GlRenderDevice::FreeGeometry(CachedGeometry& geometry)
{
    if (!ready) return;
    for (auto& [indices, sub] : geometry.subMeshes) {
        glDeleteVertexArrays(1, &sub.vao);
        glDeleteBuffers(1, &sub.indexBuffer);
    }
    geometry.subMeshes.clear();
    glDeleteBuffers(1, &geometry.vertexBuffer);
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
        glGenBuffers(1, &geometry.vertexBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, geometry.vertexBuffer);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexCount) * GLsizeiptr(sizeof(_MESH_VERTEX)), vertices,
                     GL_STATIC_DRAW);
    }
    auto found = geometry.subMeshes.find(indices);
    if (found != geometry.subMeshes.end()) return found->second.vao;
    SubMeshBuffers sub;
    glGenVertexArrays(1, &sub.vao);
    glGenBuffers(1, &sub.indexBuffer);
    glBindVertexArray(sub.vao);
    glBindBuffer(GL_ARRAY_BUFFER, geometry.vertexBuffer);
    SetupMeshAttributes();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, sub.indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indexCount) * 2, indices, GL_STATIC_DRAW);
    geometry.subMeshes.emplace(indices, sub);
    return sub.vao;
}

void GlRenderDevice::DrawIndexed(unsigned mode, const _MESH_VERTEX* vertices, uint32_t vertexCount,
                                 const uint16_t* indices, uint32_t indexCount, uint32_t baseVertex)
{
    if (!ready || vertices == nullptr || indices == nullptr || indexCount < 2 || vertexCount == 0) return;
    UploadMeshUniforms();
    if (geometryKey.owner != nullptr) {
        glBindVertexArray(CachedSubMesh(vertices, vertexCount, indices, indexCount));
    } else {
        glBindVertexArray(streamVao);
        glBindBuffer(GL_ARRAY_BUFFER, streamVertexBuffer);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexCount) * GLsizeiptr(sizeof(_MESH_VERTEX)), vertices,
                     GL_STREAM_DRAW);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indexCount) * 2, indices, GL_STREAM_DRAW);
    }
    glDrawElementsBaseVertex(mode, GLsizei(indexCount), GL_UNSIGNED_SHORT, nullptr, GLint(baseVertex));
}

void GlRenderDevice::DrawIndexedTriangleStrip(const _MESH_VERTEX* vertices, uint32_t vertexCount,
                                              const uint16_t* indices, uint32_t indexCount, uint32_t baseVertex,
                                              bool firstReversed)
{
    if (!ready) return;
    // OpenGL alternates the order of strip triangles itself, so the first
    // triangle's order decides which side of every triangle is the front.
    glFrontFace(firstReversed ? GL_CCW : GL_CW);
    DrawIndexed(GL_TRIANGLE_STRIP, vertices, vertexCount, indices, indexCount, baseVertex);
    glFrontFace(GL_CW);
}

void GlRenderDevice::DrawIndexedLineStrip(const _MESH_VERTEX* vertices, uint32_t vertexCount, const uint16_t* indices,
                                          uint32_t indexCount, uint32_t baseVertex)
{
    DrawIndexed(GL_LINE_STRIP, vertices, vertexCount, indices, indexCount, baseVertex);
}

void GlRenderDevice::DrawLines(unsigned mode, const LineVertex* vertices, uint32_t vertexCount)
{
    if (!ready || vertices == nullptr || vertexCount < (mode == GL_POINTS ? 1u : 2u)) return;
    glUseProgram(lineProgram);
    SetMatrixUniform(lineWorldViewProjection, world * view * ClipProjection());
    glBindVertexArray(lineVao);
    glBindBuffer(GL_ARRAY_BUFFER, lineBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertexCount) * GLsizeiptr(sizeof(LineVertex)), vertices, GL_STREAM_DRAW);
    glDrawArrays(mode, 0, GLsizei(vertexCount));
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
    if (!ready) return;
    // The shaders leave gl_PointSize alone, so this size holds (in device pixels).
    glPointSize(std::max(1.0f, float(size * pixelRatio)));
    DrawLines(GL_POINTS, vertices, vertexCount);
}

}  // namespace m3d
