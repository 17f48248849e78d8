#include "scene/RecoverySnapshot.h"

#include "io/ByteStream.h"
#include "math/Digest.h"

namespace m3d {

namespace {

constexpr std::string_view kMagic = "M3DSNAP\n";
constexpr uint32_t kVersion = 1;
// Longer than any path or name the system takes: a length beyond it is damage.
constexpr uint32_t kMaxTextBytes = 8192;
// A mesh index of a Part without one.
constexpr uint32_t kNoMesh = 0xFFFFFFFFu;

enum class Section : uint32_t { Info = 1, Project = 2, Extras = 3, Mesh = 4, Parts = 5, Texture = 6 };
// kind, length, digest
constexpr size_t kSectionHeaderBytes = 4 + 8 + 8;

uint64_t DigestOf(std::string_view bytes)
{
    Digest digest;
    digest.Add(bytes);
    return digest.Value();
}

void PutText(ByteWriter& out, std::string_view text)
{
    out.U32(uint32_t(text.size()));
    out.Bytes(text);
}

std::string InfoBytes(const SnapshotInfo& info)
{
    std::string bytes;
    ByteWriter out(bytes);
    for (const std::string* text : {&info.writer, &info.documentId, &info.originalPath, &info.projectName})
        PutText(out, std::string_view(*text).substr(0, kMaxTextBytes));
    out.U64(uint64_t(info.savedAt));
    out.U32(uint32_t(info.parts));
    out.U32(uint32_t(info.motions));
    out.U64(uint64_t(info.originalSize));
    out.U64(uint64_t(info.originalModified));
    return bytes;
}

std::string TextureBytes(const SnapshotTexture& texture)
{
    std::string bytes;
    ByteWriter out(bytes);
    PutText(out, std::string_view(texture.name).substr(0, kMaxTextBytes));
    PutText(out, std::string_view(texture.source).substr(0, kMaxTextBytes));
    if (texture.png) out.Bytes(*texture.png);
    return bytes;
}

std::string PartsBytes(const std::vector<SnapshotPart>& parts)
{
    std::string bytes;
    ByteWriter out(bytes);
    out.U32(uint32_t(parts.size()));
    for (const SnapshotPart& part : parts) {
        out.U32(part.mesh < 0 ? kNoMesh : uint32_t(part.mesh));
        PutText(out, std::string_view(part.textureFolder).substr(0, kMaxTextBytes));
    }
    return bytes;
}

// Reads a section's fields; a failure is reported at its offset in the file.
bool ReadText(ByteReader& fields, std::string& text)
{
    if (!fields.Need(4, "a text")) return false;
    const uint32_t length = fields.U32();
    if (length > kMaxTextBytes || !fields.Need(length, "a text")) return false;
    text = std::string(fields.Bytes(length));
    return true;
}

// Reads the sections in their order, knowing where it is for the messages.
class SnapshotReader {
public:
    SnapshotReader(std::string_view bytes, const std::string& path) : bytes(bytes), path(path) {}

    bool Header()
    {
        if (bytes.size() < kMagic.size() + 4) return Fail(bytes.size(), "the file ends inside the header");
        if (bytes.substr(0, kMagic.size()) != kMagic) return Fail(0, "not a recovery snapshot");
        ByteReader version(bytes.substr(kMagic.size(), 4), path);
        if (const uint32_t v = version.U32(); v != kVersion)
            return Fail(kMagic.size(), "snapshot version " + std::to_string(v) + " is not one this program reads");
        at = kMagic.size() + 4;
        return true;
    }

    // The kind of the next section; 0 at the end of the bytes.
    uint32_t NextKind() const
    {
        if (bytes.size() - at < 4) return 0;
        ByteReader kind(bytes.substr(at, 4), path);
        return kind.U32();
    }

    // The next section, which must be of kind; its digest checked. payloadAt
    // is where its bytes start in the file.
    bool Next(Section kind, const char* what, std::string_view& payload)
    {
        if (bytes.size() - at < kSectionHeaderBytes) return Fail(at, std::string("the file ends before ") + what);
        ByteReader header(bytes.substr(at, kSectionHeaderBytes), path);
        if (Section(header.U32()) != kind) return Fail(at, std::string("expected ") + what);
        const uint64_t length = header.U64();
        const uint64_t digest = header.U64();
        if (length > bytes.size() - at - kSectionHeaderBytes)
            return Fail(at, std::string("the file ends inside ") + what);
        payloadAt = at + kSectionHeaderBytes;
        payload = bytes.substr(payloadAt, size_t(length));
        if (DigestOf(payload) != digest) return Fail(at, std::string("the digest of ") + what + " does not match");
        at = payloadAt + size_t(length);
        return true;
    }

    bool Info(SnapshotInfo& info)
    {
        std::string_view payload;
        if (!Next(Section::Info, "the info", payload)) return false;
        ByteReader fields(payload, path);
        for (std::string* text : {&info.writer, &info.documentId, &info.originalPath, &info.projectName})
            if (!ReadText(fields, *text)) return Fail(payloadAt + fields.Offset(), "a text of the info is damaged");
        if (!fields.Need(8 + 4 + 4 + 8 + 8, "the info")) return Fail(payloadAt, "the info is cut short");
        info.savedAt = int64_t(fields.U64());
        info.parts = int32_t(fields.U32());
        info.motions = int32_t(fields.U32());
        info.originalSize = int64_t(fields.U64());
        info.originalModified = int64_t(fields.U64());
        if (info.parts < 0 || info.motions < 0) return Fail(payloadAt, "the info's counts are impossible");
        if (fields.Left() != 0) return Fail(payloadAt + fields.Offset(), "unexpected bytes in the info");
        return true;
    }

    bool Texture(SnapshotTexture& texture)
    {
        std::string_view payload;
        if (!Next(Section::Texture, "a texture", payload)) return false;
        ByteReader fields(payload, path);
        if (!ReadText(fields, texture.name) || !ReadText(fields, texture.source))
            return Fail(payloadAt, "a texture's name or file is damaged");
        if (fields.Left() > 0) texture.png = std::make_shared<const std::string>(fields.Bytes(fields.Left()));
        return true;
    }

    bool Parts(std::vector<SnapshotPart>& parts, size_t meshCount)
    {
        std::string_view payload;
        if (!Next(Section::Parts, "the Parts", payload)) return false;
        ByteReader fields(payload, path);
        if (!fields.Need(4, "the Parts")) return Fail(payloadAt, "the Parts are cut short");
        const uint32_t count = fields.U32();
        // Each Part takes at least 8 bytes: a count beyond that is damage, not a reason to allocate.
        if (count > fields.Left() / 8) return Fail(payloadAt, "the number of Parts is impossible");
        parts.resize(count);
        for (SnapshotPart& part : parts) {
            const size_t partAt = payloadAt + fields.Offset();
            if (!fields.Need(4, "a Part")) return Fail(partAt, "a Part is cut short");
            const uint32_t mesh = fields.U32();
            if (mesh != kNoMesh && mesh >= meshCount) return Fail(partAt, "a Part names a mesh the snapshot lacks");
            part.mesh = mesh == kNoMesh ? -1 : int32_t(mesh);
            if (!ReadText(fields, part.textureFolder)) return Fail(partAt, "a Part's texture folder is damaged");
        }
        if (fields.Left() != 0) return Fail(payloadAt + fields.Offset(), "unexpected bytes in the Parts");
        if (at != bytes.size()) return Fail(at, "unexpected bytes after the last section");
        return true;
    }

    Outcome Result() const { return error.empty() ? Outcome() : Outcome::Failure(error); }

private:
    bool Fail(size_t offset, const std::string& reason)
    {
        if (error.empty()) error = path + ": byte " + std::to_string(offset) + ": " + reason;
        return false;
    }

    std::string_view bytes;
    const std::string& path;
    size_t at = 0;
    size_t payloadAt = 0;
    std::string error;
};

void EmitSection(Section kind, std::string_view payload, const std::function<void(std::string_view)>& put)
{
    std::string header;
    ByteWriter out(header);
    out.U32(uint32_t(kind));
    out.U64(payload.size());
    out.U64(DigestOf(payload));
    put(header);
    put(payload);
}

}  // namespace

void EmitSnapshot(const DocumentSnapshot& snapshot, const std::function<void(std::string_view)>& put)
{
    std::string header(kMagic);
    ByteWriter(header).U32(kVersion);
    put(header);
    EmitSection(Section::Info, InfoBytes(snapshot.info), put);
    EmitSection(Section::Project, snapshot.project, put);
    EmitSection(Section::Extras, snapshot.extras, put);
    for (const auto& mesh : snapshot.meshes) EmitSection(Section::Mesh, *mesh, put);
    for (const SnapshotTexture& texture : snapshot.textures) EmitSection(Section::Texture, TextureBytes(texture), put);
    EmitSection(Section::Parts, PartsBytes(snapshot.parts), put);
}

std::string EncodeSnapshot(const DocumentSnapshot& snapshot)
{
    std::string bytes;
    EmitSnapshot(snapshot, [&bytes](std::string_view piece) { bytes.append(piece); });
    return bytes;
}

Outcome DecodeSnapshotInfo(std::string_view head, const std::string& path, SnapshotInfo& out)
{
    SnapshotReader reader(head, path);
    if (reader.Header()) reader.Info(out);
    return reader.Result();
}

Outcome DecodeSnapshot(std::string_view bytes, const std::string& path, DocumentSnapshot& out)
{
    out = {};
    SnapshotReader reader(bytes, path);
    std::string_view project, extras, mesh;
    if (!reader.Header() || !reader.Info(out.info) || !reader.Next(Section::Project, "the project", project) ||
        !reader.Next(Section::Extras, "the side file", extras))
        return reader.Result();
    out.project = std::string(project);
    out.extras = std::string(extras);
    while (reader.NextKind() == uint32_t(Section::Mesh)) {
        if (!reader.Next(Section::Mesh, "a mesh", mesh)) return reader.Result();
        out.meshes.push_back(std::make_shared<const std::string>(mesh));
    }
    while (reader.NextKind() == uint32_t(Section::Texture))
        if (!reader.Texture(out.textures.emplace_back())) return reader.Result();
    reader.Parts(out.parts, out.meshes.size());
    return reader.Result();
}

}  // namespace m3d
