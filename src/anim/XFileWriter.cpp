#include "anim/XFileWriter.h"

#include "anim/XFileText.h"
#include "anim/XMeshWriter.h"

#include <cstddef>

namespace m3d {

static const char* const kHeaderLines[] = {
    "xof 0303txt 0032",
    "//  Marionettica3D generated file",
    "//  Exported by the Marionettica3D editor: part frames, meshes and one matrix-key animation set per motion.",
    "//  Questions and reports: see the documentation that comes with Marionettica3D.",
    "",
    "template XSkinMeshHeader {",
    " <3cf169ce-ff7c-44ab-93c0-f78f62d172e2>",
    " WORD nMaxSkinWeightsPerVertex;",
    " WORD nMaxSkinWeightsPerFace;",
    " WORD nBones;",
    "}",
    "",
    "template VertexDuplicationIndices {",
    " <b8d65549-d7c9-4995-89cf-53a9a8b031e3>",
    " DWORD nIndices;",
    " DWORD nOriginalVertices;",
    " array DWORD indices[nIndices];",
    "}",
    "",
    "template SkinWeights {",
    " <6f0d123b-bad2-4167-a0d0-80224f25fabb>",
    " STRING transformNodeName;",
    " DWORD nWeights;",
    " array DWORD vertexIndices[nWeights];",
    " array FLOAT weights[nWeights];",
    " Matrix4x4 matrixOffset;",
    "}",
    "",
};

static void WriteMatrixLine(XFileText& out, const float values[16])
{
    out.Begin();
    for (int i = 0; i < 16; ++i) {
        out.AddFloat(values[i]);
        out.Add(i < 15 ? "," : ";;");
    }
}

static void WriteFrameTransform(XFileText& out, const Matrix4& m)
{
    float values[16];
    m.ToArray(values);
    out.Open("FrameTransformMatrix");
    WriteMatrixLine(out, values);
    out.End();
    out.Close();
}

// Opens every frame after its parent's mesh and closes it after its subtree.
static void WriteFrames(XFileText& out, const std::vector<XFrame>& frames)
{
    int open = 0;
    for (const XFrame& frame : frames) {
        for (; open > frame.depth; --open) out.Close();
        out.Open("Frame Frame_" + frame.name);
        out.EmptyLine();
        WriteFrameTransform(out, frame.transform);
        WriteXMesh(out, frame.name, frame.mesh);
        ++open;
    }
    for (; open > 0; --open) out.Close();
}

static void WriteAnimation(XFileText& out, const XAnimation& animation)
{
    out.Open("Animation " + animation.name);
    out.Line("{ Frame_" + animation.name + " }");
    out.Open("AnimationKey");
    out.Line("4;");
    out.Begin();
    out.AddInt(static_cast<int64_t>(animation.keys.size()));
    out.Add(";");
    out.End();
    for (size_t k = 0; k < animation.keys.size(); ++k) {
        const XAnimationKey& key = animation.keys[k];
        out.Begin();
        out.AddInt(key.time);
        out.Add(";16;");
        for (int i = 0; i < 16; ++i) {
            out.AddFloat(key.values[i]);
            out.Add(i < 15 ? "," : ";;");
        }
        out.Add(k + 1 < animation.keys.size() ? "," : ";");
        out.End();
    }
    out.Close();
    out.Close();
}

// Roughly the size of the file: a matrix key takes up to about 190
// characters, a vertex with its normal and texture coordinates about 100, a
// face twice about 20.
static size_t EstimatedSize(const XFileContent& content)
{
    size_t bytes = 4096;
    for (const XFrame& frame : content.frames) {
        bytes += 512 + frame.mesh.vertices.size() * 100 + frame.mesh.materials.size() * 200;
        for (const _MESH_MESHDATA& strip : frame.mesh.subMeshes) bytes += strip.indices.size() * 48;
    }
    for (const XAnimationSet& set : content.animationSets)
        for (const XAnimation& animation : set.animations) bytes += 128 + animation.keys.size() * 190;
    return bytes;
}

static void WriteXFileBody(XFileText& out, const XFileContent& content)
{
    for (const char* line : kHeaderLines) {
        if (*line == '\0')
            out.EmptyLine();
        else
            out.Line(line);
    }
    out.Open("AnimTicksPerSecond");
    out.Begin();
    out.AddInt(kXFileTicksPerSecond);
    out.Add(";");
    out.End();
    out.Close();
    out.EmptyLine();
    out.EmptyLine();

    out.Open("Frame root");
    out.EmptyLine();
    WriteFrameTransform(out, Matrix4::Identity());
    WriteFrames(out, content.frames);
    out.Close();

    for (const XAnimationSet& set : content.animationSets) {
        out.Open("AnimationSet " + set.name);
        for (const XAnimation& animation : set.animations) WriteAnimation(out, animation);
        out.Close();
    }
}

std::string WriteXFileText(const XFileContent& content)
{
    XFileText out;
    out.Reserve(EstimatedSize(content));
    WriteXFileBody(out, content);
    return out.Take();
}

bool WriteXFile(const XFileContent& content, FileSink& sink)
{
    XFileText out(sink);
    WriteXFileBody(out, content);
    return out.Finish();
}

}  // namespace m3d
