#include "anim/XMeshWriter.h"

#include <algorithm>
#include <cmath>

namespace m3d {

std::vector<XFace> XFaceList(const XMeshData& mesh)
{
    std::vector<XFace> faces;
    for (const _MESH_MESHDATA& strip : mesh.subMeshes) {
        const size_t count = std::min<size_t>(strip.indexCount, strip.indices.size());
        bool reversed = strip.windingFlag != 0;
        for (size_t t = 0; t + 2 < count; ++t, reversed = !reversed) {
            const uint16_t i0 = strip.indices[t], i1 = strip.indices[t + 1], i2 = strip.indices[t + 2];
            if (i0 == i1 || i1 == i2 || i0 == i2) continue;
            const uint32_t base = strip.baseVertex;
            XFace face;
            face.corners[0] = base + (reversed ? i2 : i0);
            face.corners[1] = base + i1;
            face.corners[2] = base + (reversed ? i0 : i2);
            face.material = strip.materialNumber;
            faces.push_back(face);
        }
    }
    return faces;
}

// A list entry ends with "," and the last one with ";".
static void EndEntry(XFileText& out, size_t index, size_t count)
{
    out.Add(index + 1 < count ? "," : ";");
    out.End();
}

static void WriteFaces(XFileText& out, const std::vector<XFace>& faces)
{
    out.Begin();
    out.AddInt(static_cast<int64_t>(faces.size()));
    out.Add(";");
    out.End();
    for (size_t i = 0; i < faces.size(); ++i) {
        out.Begin();
        out.Add("3;");
        out.AddInt(faces[i].corners[0]);
        out.Add(",");
        out.AddInt(faces[i].corners[1]);
        out.Add(",");
        out.AddInt(faces[i].corners[2]);
        out.Add(";");
        EndEntry(out, i, faces.size());
    }
}

static void WriteCount(XFileText& out, size_t count)
{
    out.Begin();
    out.AddInt(static_cast<int64_t>(count));
    out.Add(";");
    out.End();
}

static void WriteColor(XFileText& out, const ColorValue& c, bool withAlpha)
{
    out.Begin();
    out.AddFloat(c.r);
    out.Add(";");
    out.AddFloat(c.g);
    out.Add(";");
    out.AddFloat(c.b);
    out.Add(";");
    if (withAlpha) {
        out.AddFloat(c.a);
        out.Add(";");
    }
    out.Add(";");
    out.End();
}

static void WriteMaterial(XFileText& out, const _MESH_MATERIAL& material, const std::string& textureName)
{
    out.Open("Material");
    WriteColor(out, material.diffuse, true);
    out.Begin();
    out.AddFloat(material.power);
    out.Add(";");
    out.End();
    WriteColor(out, material.specular, false);
    WriteColor(out, material.emissive, false);
    if (material.textureNumber != -1 && !textureName.empty()) {
        out.Open("TextureFilename");
        out.Line("\"" + textureName + "\";");
        out.Close();
    }
    out.Close();
}

// Readers take normals as unit vectors; a component that cannot belong to one
// (or is not a number) is written as 0.
static float NormalComponent(float v) { return (v >= -1.0f && v <= 1.0f) ? v : 0.0f; }

void WriteXMesh(XFileText& out, const std::string& name, const XMeshData& mesh)
{
    const std::vector<XFace> faces = XFaceList(mesh);
    if (mesh.vertices.empty() || faces.empty()) return;
    const size_t vertexCount = mesh.vertices.size();

    out.Open("Mesh " + name);
    WriteCount(out, vertexCount);
    for (size_t i = 0; i < vertexCount; ++i) {
        const _MESH_VERTEX& v = mesh.vertices[i];
        out.Begin();
        out.AddFloat(v.x);
        out.Add(";");
        out.AddFloat(v.y);
        out.Add(";");
        out.AddFloat(v.z);
        out.Add(";");
        EndEntry(out, i, vertexCount);
    }
    WriteFaces(out, faces);
    out.EmptyLine();

    out.Open("MeshMaterialList");
    WriteCount(out, mesh.materials.size());
    WriteCount(out, faces.size());
    for (size_t i = 0; i < faces.size(); ++i) {
        out.Begin();
        out.AddInt(faces[i].material);
        EndEntry(out, i, faces.size());
    }
    for (size_t k = 0; k < mesh.materials.size(); ++k)
        WriteMaterial(out, mesh.materials[k], k < mesh.textureNames.size() ? mesh.textureNames[k] : std::string());
    out.Close();

    out.Open("MeshNormals");
    WriteCount(out, vertexCount);
    for (size_t i = 0; i < vertexCount; ++i) {
        const _MESH_VERTEX& v = mesh.vertices[i];
        out.Begin();
        out.AddFloat(NormalComponent(v.nx));
        out.Add(";");
        out.AddFloat(NormalComponent(v.ny));
        out.Add(";");
        out.AddFloat(NormalComponent(v.nz));
        out.Add(";");
        EndEntry(out, i, vertexCount);
    }
    WriteFaces(out, faces);
    out.Close();

    out.Open("MeshTextureCoords");
    WriteCount(out, vertexCount);
    for (size_t i = 0; i < vertexCount; ++i) {
        out.Begin();
        out.AddFloat(mesh.vertices[i].tu);
        out.Add(";");
        out.AddFloat(mesh.vertices[i].tv);
        out.Add(";");
        EndEntry(out, i, vertexCount);
    }
    out.Close();

    out.Close();
}

}  // namespace m3d
