#include "meshlib/MqoParser.h"

#include "meshlib/MqoTokenizer.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace m3d {

namespace {

// Larger coordinates would overflow the squares and cross products that the
// normals need; no real model comes near.
constexpr float kMaxCoordinate = 1e9f;

// The fewest bytes a record of each kind takes in text, used to cap what a
// count in a chunk header may make us reserve.
constexpr size_t kMinVertexLineBytes = 6;  // "0 0 0\n"
constexpr size_t kMinFaceLineBytes = 8;    // "1 V(0)\n"
constexpr size_t kMinCornerBytes = 2;      // "0 "

bool CoordinateInRange(float v) { return std::fabs(v) <= kMaxCoordinate; }

class Parser {
public:
    Parser(std::string_view bytes, const std::string& fileName, std::string& error)
        : reader(bytes), fileName(fileName), error(error)
    {
    }

    bool Run(MqoDocument& doc);

private:
    bool Fail(std::string_view reason) { return FailAt(reader.LineNumber(), reason); }
    bool FailAt(size_t line, std::string_view reason);

    bool ReadHeader(MqoDocument& doc);
    bool TakeBinary(size_t size);
    bool SkipChunk();
    bool ReadMaterials(uint32_t count, MqoDocument& doc);
    bool ReadMaterialLine(std::string_view line, MqoMaterial& material);
    bool ReadObject(MqoDocument& doc);
    bool ReadVertices(uint32_t count, MqoObject& object);
    bool ReadBinaryVertices(uint32_t count, MqoObject& object);
    bool ReadFaces(uint32_t count, MqoObject& object);
    bool ReadFaceLine(std::string_view line, MqoObject& object);

    size_t Cap(uint64_t count, size_t bytesEach) const
    {
        return static_cast<size_t>(std::min<uint64_t>(count, reader.RemainingBytes() / bytesEach));
    }

    MqoLineReader reader;
    const std::string& fileName;
    std::string& error;
    // Scratch lists of the face being read, kept to avoid an allocation per face.
    std::vector<uint32_t> faceVertices;
    std::vector<float> faceUvs;
};

bool Parser::FailAt(size_t line, std::string_view reason)
{
    error = fileName + ":" + std::to_string(std::max<size_t>(line, 1)) + ": " + std::string(reason);
    return false;
}

bool Parser::Run(MqoDocument& doc)
{
    if (!ReadHeader(doc)) return false;
    std::string_view line;
    while (reader.NextLine(line)) {
        size_t binarySize = 0;
        if (MqoLineBinarySize(line, binarySize)) {
            if (!TakeBinary(binarySize)) return false;
            continue;
        }
        MqoLineCursor cursor(line);
        if (cursor.AtEnd()) continue;
        const std::string_view name = cursor.Word();
        if (MqoNameEquals(name, "Eof")) return true;
        if (MqoNameEquals(name, "TrialNoise"))
            return Fail("the file was saved by an unregistered copy of the modeler (TrialNoise) and cannot be read");
        if (MqoNameEquals(name, "CodePage")) {
            std::string_view page;
            if (!cursor.Quoted(page)) page = cursor.Word();
            doc.utf8 = MqoNameEquals(page, "utf8");
            continue;
        }
        if (MqoNameEquals(name, "Material")) {
            uint32_t count = 0;
            if (!cursor.Uint(count) || !cursor.Consume('{')) return Fail("expected 'Material count {'");
            if (!ReadMaterials(count, doc)) return false;
            continue;
        }
        if (MqoNameEquals(name, "Object")) {
            std::string_view objectName;
            if (!cursor.Quoted(objectName) || !cursor.Consume('{')) return Fail("expected 'Object \"name\" {'");
            if (!ReadObject(doc)) return false;
            continue;
        }
        if (MqoLineClosesChunk(line)) return Fail("'}' without an open chunk");
        if (MqoLineOpensChunk(line) && !SkipChunk()) return false;
    }
    return true;  // a missing Eof is common and harmless
}

bool Parser::ReadHeader(MqoDocument& doc)
{
    std::string_view line;
    if (!reader.NextLine(line)) return Fail("empty file");
    if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    MqoLineCursor first(line);
    if (first.Word() != "Metasequoia" || first.Word() != "Document" || !first.AtEnd())
        return Fail("not an .mqo model: the first line is not the document header");
    if (!reader.NextLine(line)) return Fail("the format line is missing");
    MqoLineCursor format(line);
    if (format.Word() != "Format") return Fail("the second line must start with 'Format'");
    const std::string_view kind = format.Word();
    if (kind == "Compress") return Fail("compressed .mqo files are not supported; save the model as text");
    if (kind != "Text") return Fail("unknown format '" + std::string(kind) + "'; only Text is supported");
    float version = 0;
    if (format.Word() != "Ver" || !format.Float(version)) return Fail("the format line has no version");
    if (version < 1.0f || version >= 2.0f) return Fail("unsupported format version " + std::to_string(version));
    // From 1.2 on, text is UTF-8 whatever the writer's code page.
    doc.utf8 = version >= 1.15f;
    return true;
}

bool Parser::TakeBinary(size_t size)
{
    std::string_view bytes;
    if (!reader.TakeBytes(size, bytes))
        return Fail("binary data of " + std::to_string(size) + " bytes runs past the end of the file");
    return true;
}

bool Parser::SkipChunk()
{
    const size_t openedAt = reader.LineNumber();
    size_t depth = 1;
    std::string_view line;
    while (reader.NextLine(line)) {
        size_t binarySize = 0;
        if (MqoLineBinarySize(line, binarySize)) {
            if (!TakeBinary(binarySize)) return false;
        } else if (MqoLineClosesChunk(line)) {
            if (--depth == 0) return true;
        } else if (MqoLineOpensChunk(line)) {
            ++depth;
        }
    }
    return FailAt(openedAt, "the chunk opened here is never closed (truncated file?)");
}

bool Parser::ReadMaterials(uint32_t count, MqoDocument& doc)
{
    const size_t openedAt = reader.LineNumber();
    const size_t first = doc.materials.size();
    // Refused before any is stored: a chunk of millions of three-byte lines
    // would otherwise cost a hundred times its size.
    if (first + count > kMaxMqoMaterials)
        return Fail("the Material chunk announces " + std::to_string(count) + " materials; at most " +
                    std::to_string(kMaxMqoMaterials) + " are supported");
    doc.materials.reserve(first + count);
    std::string_view line;
    while (reader.NextLine(line)) {
        if (MqoLineClosesChunk(line)) {
            const size_t read = doc.materials.size() - first;
            if (read != count)
                return Fail("the Material chunk announces " + std::to_string(count) + " materials but holds " +
                            std::to_string(read));
            return true;
        }
        if (MqoLineCursor(line).AtEnd()) continue;
        if (doc.materials.size() == kMaxMqoMaterials)
            return Fail("more than " + std::to_string(kMaxMqoMaterials) + " materials; at most " +
                        std::to_string(kMaxMqoMaterials) + " are supported");
        if (!ReadMaterialLine(line, doc.materials.emplace_back())) return false;
    }
    return FailAt(openedAt, "the Material chunk is never closed (truncated file?)");
}

bool Parser::ReadMaterialLine(std::string_view line, MqoMaterial& material)
{
    MqoLineCursor cursor(line);
    std::string_view name;
    if (!cursor.Quoted(name)) return Fail("a material must start with its name in quotes");
    material.rawName = std::string(name);
    while (!cursor.AtEnd()) {
        const std::string_view key = cursor.Word();
        if (key.empty() || !cursor.Consume('(')) return Fail("material attributes must read key(values)");
        bool ok = true;
        if (key == "col") {
            for (float& c : material.color) ok = ok && cursor.Float(c);
        } else if (key == "dif") {
            ok = cursor.Float(material.diffuse);
        } else if (key == "amb") {
            ok = cursor.Float(material.ambient);
        } else if (key == "emi") {
            ok = cursor.Float(material.emissive);
        } else if (key == "spc") {
            ok = cursor.Float(material.specular);
        } else if (key == "power") {
            ok = cursor.Float(material.power);
        } else if (key == "tex") {
            std::string_view path;
            ok = cursor.Quoted(path);
            material.rawTexturePath = std::string(path);
        } else {
            if (!cursor.SkipArguments()) return Fail("unclosed '(' in material attribute");
            continue;
        }
        if (!ok || !cursor.Consume(')')) return Fail("bad value in material attribute '" + std::string(key) + "'");
    }
    return true;
}

bool Parser::ReadObject(MqoDocument& doc)
{
    const size_t openedAt = reader.LineNumber();
    MqoObject object;
    bool haveVertices = false;
    bool haveFaces = false;
    std::string_view line;
    while (reader.NextLine(line)) {
        size_t binarySize = 0;
        if (MqoLineBinarySize(line, binarySize)) {
            if (!TakeBinary(binarySize)) return false;
            continue;
        }
        if (MqoLineClosesChunk(line)) {
            if (object.visible) doc.objects.push_back(std::move(object));
            return true;
        }
        MqoLineCursor cursor(line);
        if (cursor.AtEnd()) continue;
        const std::string_view key = cursor.Word();
        int32_t number = 0;
        if (key == "visible") {
            if (!cursor.Int(number)) return Fail("bad value for 'visible'");
            object.visible = number != 0;
        } else if (key == "shading") {
            if (!cursor.Int(number)) return Fail("bad value for 'shading'");
            object.smooth = number != 0;
        } else if (key == "facet") {
            float facet = 0;
            if (!cursor.Float(facet)) return Fail("bad value for 'facet'");
            object.facetDegrees = std::clamp(facet, 0.0f, 180.0f);
        } else if (key == "mirror") {
            if (!cursor.Int(number) || number < 0 || number > 2) return Fail("'mirror' must be 0, 1 or 2");
            object.mirrorMode = number;
        } else if (key == "mirror_axis") {
            if (!cursor.Int(number) || number < 0 || number > 7) return Fail("'mirror_axis' must be 0 ... 7");
            object.mirrorAxes = static_cast<uint32_t>(number);
        } else if (MqoNameEquals(key, "vertex") || MqoNameEquals(key, "BVertex")) {
            uint32_t count = 0;
            if (!cursor.Uint(count) || !cursor.Consume('{')) return Fail("expected '" + std::string(key) + " count {'");
            if (haveVertices) return Fail("an object can hold only one vertex chunk");
            haveVertices = true;
            const bool ok =
                MqoNameEquals(key, "vertex") ? ReadVertices(count, object) : ReadBinaryVertices(count, object);
            if (!ok) return false;
        } else if (MqoNameEquals(key, "face")) {
            uint32_t count = 0;
            if (!cursor.Uint(count) || !cursor.Consume('{')) return Fail("expected 'face count {'");
            if (haveFaces) return Fail("an object can hold only one face chunk");
            haveFaces = true;
            if (!ReadFaces(count, object)) return false;
        } else if (MqoLineOpensChunk(line)) {
            if (!SkipChunk()) return false;
        }
    }
    return FailAt(openedAt, "the Object chunk is never closed (truncated file?)");
}

bool Parser::ReadVertices(uint32_t count, MqoObject& object)
{
    const size_t openedAt = reader.LineNumber();
    object.positions.reserve(Cap(count, kMinVertexLineBytes));
    std::string_view line;
    while (reader.NextLine(line)) {
        MqoLineCursor cursor(line);
        if (cursor.AtEnd()) continue;
        if (MqoLineClosesChunk(line)) {
            if (object.positions.size() != count)
                return Fail("the vertex chunk announces " + std::to_string(count) + " vertices but holds " +
                            std::to_string(object.positions.size()));
            return true;
        }
        Vec3 p;
        if (!cursor.Float(p.x) || !cursor.Float(p.y) || !cursor.Float(p.z))
            return Fail("a vertex needs three finite numbers");
        if (!CoordinateInRange(p.x) || !CoordinateInRange(p.y) || !CoordinateInRange(p.z))
            return Fail("vertex coordinate out of range");
        p.z = -p.z;
        object.positions.push_back(p);
    }
    return FailAt(openedAt, "the vertex chunk is never closed (truncated file?)");
}

bool Parser::ReadBinaryVertices(uint32_t count, MqoObject& object)
{
    const size_t openedAt = reader.LineNumber();
    bool haveVectors = false;
    std::string_view line;
    while (reader.NextLine(line)) {
        size_t size = 0;
        if (MqoLineBinarySize(line, size)) {
            MqoLineCursor cursor(line);
            if (cursor.Word() != "Vector" || haveVectors) {
                if (!TakeBinary(size)) return false;
                continue;
            }
            uint32_t announced = 0;
            if (!cursor.Uint(announced) || announced != count || size != uint64_t(count) * 12)
                return Fail("the binary vertex data must hold " + std::to_string(count) + " vertices of 12 bytes");
            std::string_view bytes;
            if (!reader.TakeBytes(size, bytes)) return Fail("the binary vertex data runs past the end of the file");
            object.positions.resize(count);
            const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
            for (uint32_t i = 0; i < count; ++i) {
                float xyz[3];
                for (int k = 0; k < 3; ++k) {
                    const unsigned char* b = data + (size_t(i) * 3 + size_t(k)) * 4;
                    const uint32_t bits =
                        uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
                    xyz[k] = std::bit_cast<float>(bits);
                    if (!std::isfinite(xyz[k]) || !CoordinateInRange(xyz[k]))
                        return Fail("binary vertex " + std::to_string(i) + " has a coordinate out of range");
                }
                object.positions[i] = Vec3{xyz[0], xyz[1], -xyz[2]};
            }
            haveVectors = true;
            continue;
        }
        if (MqoLineClosesChunk(line)) {
            if (!haveVectors && count != 0) return Fail("the BVertex chunk holds no Vector data");
            return true;
        }
        if (MqoLineOpensChunk(line) && !SkipChunk()) return false;
    }
    return FailAt(openedAt, "the BVertex chunk is never closed (truncated file?)");
}

bool Parser::ReadFaces(uint32_t count, MqoObject& object)
{
    const size_t openedAt = reader.LineNumber();
    const size_t faceCap = Cap(count, kMinFaceLineBytes);
    object.faceStart.reserve(faceCap + 1);
    object.faceMaterial.reserve(faceCap);
    object.cornerVertex.reserve(Cap(uint64_t(count) * 4, kMinCornerBytes));
    object.cornerUv.reserve(object.cornerVertex.capacity() * 2);
    size_t read = 0;
    std::string_view line;
    while (reader.NextLine(line)) {
        if (MqoLineCursor(line).AtEnd()) continue;
        if (MqoLineClosesChunk(line)) {
            if (read != count)
                return Fail("the face chunk announces " + std::to_string(count) + " faces but holds " +
                            std::to_string(read));
            return true;
        }
        if (!ReadFaceLine(line, object)) return false;
        ++read;
    }
    return FailAt(openedAt, "the face chunk is never closed (truncated file?)");
}

bool Parser::ReadFaceLine(std::string_view line, MqoObject& object)
{
    MqoLineCursor cursor(line);
    uint32_t corners = 0;
    if (!cursor.Uint(corners)) return Fail("a face must start with its number of corners");
    faceVertices.clear();
    faceUvs.clear();
    int32_t material = -1;
    bool haveVertices = false;
    bool haveUvs = false;
    while (!cursor.AtEnd()) {
        const std::string_view key = cursor.Word();
        if (key.empty() || !cursor.Consume('(')) return Fail("face attributes must read key(values)");
        if (key == "V") {
            haveVertices = true;
            while (!cursor.Consume(')')) {
                uint32_t index = 0;
                if (!cursor.Uint(index)) return Fail("bad vertex index in V(...)");
                if (index >= object.positions.size())
                    return Fail("vertex index " + std::to_string(index) + " out of range (the object has " +
                                std::to_string(object.positions.size()) + " vertices)");
                faceVertices.push_back(index);
            }
        } else if (key == "M") {
            if (!cursor.Int(material) || !cursor.Consume(')')) return Fail("bad material index in M(...)");
        } else if (key == "UV") {
            haveUvs = true;
            while (!cursor.Consume(')')) {
                float uv = 0;
                if (!cursor.Float(uv)) return Fail("bad number in UV(...)");
                faceUvs.push_back(uv);
            }
        } else if (!cursor.SkipArguments()) {
            return Fail("unclosed '(' in face attribute");
        }
    }
    if (!haveVertices) return Fail("a face without V(...)");
    if (faceVertices.size() != corners)
        return Fail("the face announces " + std::to_string(corners) + " corners but V(...) lists " +
                    std::to_string(faceVertices.size()));
    if (haveUvs && faceUvs.size() != size_t(corners) * 2) return Fail("UV(...) must hold two numbers per corner");
    // Lines (two corners) are edges for the modeler only; nothing draws them.
    if (corners < 3) return true;
    object.cornerVertex.insert(object.cornerVertex.end(), faceVertices.begin(), faceVertices.end());
    if (haveUvs)
        object.cornerUv.insert(object.cornerUv.end(), faceUvs.begin(), faceUvs.end());
    else
        object.cornerUv.resize(object.cornerUv.size() + size_t(corners) * 2, 0.0f);
    object.faceStart.push_back(static_cast<uint32_t>(object.cornerVertex.size()));
    object.faceMaterial.push_back(material);
    return true;
}

}  // namespace

bool ParseMqoDocument(std::string_view bytes, const std::string& fileName, MqoDocument& doc, std::string& error)
{
    doc = MqoDocument();
    return Parser(bytes, fileName, error).Run(doc);
}

}  // namespace m3d
