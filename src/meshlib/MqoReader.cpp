#include "meshlib/MqoReader.h"

#include "io/FileReading.h"
#include "meshlib/MqoFaceVisits.h"
#include "meshlib/MqoMirror.h"
#include "meshlib/MqoNormals.h"
#include "meshlib/MqoParser.h"
#include "meshlib/PolygonTriangulator.h"
#include "meshlib/VertexWelder.h"
#include "text/ShiftJis.h"

namespace m3d {

namespace {

// Text in the file's encoding as UTF-8. Bytes that do not decode become '?',
// so a damaged name costs the name, not the model.
std::string ToUtf8(const std::string& raw, bool utf8)
{
    if (utf8) return raw;
    if (auto decoded = ShiftJisToUtf8(raw)) return *decoded;
    std::string ascii = raw;
    for (char& c : ascii)
        if (static_cast<unsigned char>(c) >= 0x80) c = '?';
    return ascii;
}

ModelMaterial ConvertMaterial(const MqoMaterial& m, bool utf8)
{
    ModelMaterial out;
    out.name = ToUtf8(m.rawName, utf8);
    out.texturePath = ToUtf8(m.rawTexturePath, utf8);
    const float r = m.color[0], g = m.color[1], b = m.color[2];
    out.diffuse = {r * m.diffuse, g * m.diffuse, b * m.diffuse, m.color[3]};
    out.ambient = {r * m.ambient, g * m.ambient, b * m.ambient, 1.0f};
    out.emissive = {r * m.emissive, g * m.emissive, b * m.emissive, 1.0f};
    out.specular = {m.specular, m.specular, m.specular, 1.0f};
    out.power = m.power;
    return out;
}

// Appends one object's triangles to the model.
class ObjectEmitter {
public:
    ObjectEmitter(LoadedModel& model, size_t fileMaterials)
        : model(model), welder(model.vertices), fileMaterials(fileMaterials)
    {
    }

    void Emit(const MqoObject& object);
    bool NeedsDefaultMaterial() const { return needsDefault; }

private:
    LoadedModel& model;
    VertexWelder welder;
    size_t fileMaterials;
    bool needsDefault = false;
    PolygonTriangulator triangulator;
    std::vector<Vec3> faceNormals, cornerNormals;
    std::vector<uint32_t> positionKey, cornerOutput, local;
};

void ObjectEmitter::Emit(const MqoObject& object)
{
    ComputeFaceNormals(object, faceNormals);
    ComputeCornerNormals(object, faceNormals, cornerNormals);

    welder.ReservePositions(object.positions.size());
    positionKey.resize(object.positions.size());
    for (size_t v = 0; v < object.positions.size(); ++v) {
        const Vec3 p = object.positions[v];
        positionKey[v] = welder.PositionKey(p.x, p.y, p.z);
    }
    const size_t cornerCount = object.cornerVertex.size();
    cornerOutput.resize(cornerCount);
    for (size_t c = 0; c < cornerCount; ++c) {
        const uint32_t v = object.cornerVertex[c];
        const Vec3 p = object.positions[v];
        const Vec3 n = cornerNormals[c];
        cornerOutput[c] =
            welder.Add(positionKey[v],
                        _MESH_VERTEX{p.x, p.y, p.z, n.x, n.y, n.z, object.cornerUv[c * 2], object.cornerUv[c * 2 + 1]});
    }

    // Every n-corner face becomes n - 2 triangles.
    const size_t triangles = cornerCount - 2 * object.FaceCount();
    model.indices.reserve(model.indices.size() + 3 * triangles);
    model.triangleMaterials.reserve(model.triangleMaterials.size() + triangles);
    for (size_t f = 0; f < object.FaceCount(); ++f) {
        const uint32_t begin = object.faceStart[f];
        const uint32_t n = object.faceStart[f + 1] - begin;
        local.clear();
        triangulator.Triangulate(object.positions, object.cornerVertex.data() + begin, n, local);
        const int32_t m = object.faceMaterial[f];
        const bool known = m >= 0 && static_cast<size_t>(m) < fileMaterials;
        needsDefault = needsDefault || !known;
        const uint32_t material = known ? static_cast<uint32_t>(m) : static_cast<uint32_t>(fileMaterials);
        for (size_t k = 0; k < local.size(); k += 3) {
            for (size_t j = 0; j < 3; ++j) model.indices.push_back(cornerOutput[begin + local[k + j]]);
            model.triangleMaterials.push_back(material);
        }
    }
}

bool Fail(const std::string& fileName, const std::string& reason, LoadedModel& out, std::string& error)
{
    out = LoadedModel();
    error = fileName + ": " + reason;
    return false;
}

}  // namespace

bool ReadMqo(std::string_view bytes, const std::string& fileNameForMessages, LoadedModel& out, std::string& error)
{
    out = LoadedModel();
    MqoDocument doc;
    if (!ParseMqoDocument(bytes, fileNameForMessages, doc, error)) return false;

    for (const MqoMaterial& m : doc.materials) out.materials.push_back(ConvertMaterial(m, doc.utf8));
    ObjectEmitter emitter(out, out.materials.size());
    for (size_t o = 0; o < doc.objects.size(); ++o) {
        MqoObject& object = doc.objects[o];
        if (const size_t f = FindFaceCirclingFewVertices(object); f != kNoCrowdedFace)
            return Fail(fileNameForMessages,
                        "visible object " + std::to_string(o + 1) + ", face " + std::to_string(f) + ": its " +
                            std::to_string(object.faceStart[f + 1] - object.faceStart[f]) +
                            " corners keep coming back to the same few vertices",
                        out, error);
        if (!ExpandMirror(object))
            return Fail(fileNameForMessages, "an object is too large after mirroring", out, error);
        emitter.Emit(object);
        object = MqoObject();  // free what is done as early as possible
    }
    if (out.indices.empty()) return Fail(fileNameForMessages, "the model has no visible faces", out, error);
    if (emitter.NeedsDefaultMaterial()) {
        // What the modeler shows for an unpainted face.
        MqoMaterial unpainted;
        out.materials.push_back(ConvertMaterial(unpainted, true));
    }
    if (out.materials.size() > kMaxMqoMaterials)
        return Fail(fileNameForMessages,
                    "the model has " + std::to_string(out.materials.size()) + " materials; at most " +
                        std::to_string(kMaxMqoMaterials) + " are supported",
                    out, error);
    return true;
}

bool ReadMqoFile(const std::string& path, LoadedModel& out, std::string& error)
{
    std::string bytes;
    if (!ReadWholeFile(path, bytes, error)) {
        out = LoadedModel();
        return false;
    }
    return ReadMqo(bytes, path, out, error);
}

}  // namespace m3d
