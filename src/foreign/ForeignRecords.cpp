#include "foreign/ForeignRecords.h"

#include "io/ByteStream.h"

#include <bit>
#include <cstring>
#include <type_traits>

namespace m3d {

namespace {

constexpr char kMagic[8] = {'M', '3', 'D', 'M', 'O', 'D', 'E', 'L'};
constexpr uint32_t kVersion = 2;
constexpr size_t kVertexBytes = 8 * 4;
constexpr size_t kMaterialBytes = 4 + 16 * 4 + 4 + 4;  // two empty strings, four colours, power
constexpr size_t kNodeBytes = 4 + 4 + 4 + 10 * 4;
constexpr size_t kChannelBytes = 4 + 2 + 4 + 4;

class Encoder {
public:
    explicit Encoder(std::string& out) : w(out) {}
    void Text(const std::string& s)
    {
        w.U32(static_cast<uint32_t>(s.size()));
        w.Bytes(s);
    }
    // Floats are recorded as their bit patterns and counts as they are, both
    // as little-endian words: on such a machine straight from memory, in one go.
    template <class Word>
    void Words(const Word* values, size_t n)
    {
        static_assert(sizeof(Word) == 4);
        if constexpr (std::endian::native == std::endian::little)
            w.Bytes(std::string_view(reinterpret_cast<const char*>(values), n * 4));
        else
            for (size_t i = 0; i < n; ++i) w.U32(std::bit_cast<uint32_t>(values[i]));
    }
    void Vertices(const std::vector<_MESH_VERTEX>& vertices)
    {
        static_assert(sizeof(_MESH_VERTEX) == kVertexBytes && std::is_standard_layout_v<_MESH_VERTEX>,
                      "a vertex is its eight floats in record order");
        if constexpr (std::endian::native == std::endian::little) {
            w.Bytes(std::string_view(reinterpret_cast<const char*>(vertices.data()), vertices.size() * kVertexBytes));
        } else {
            for (const _MESH_VERTEX& v : vertices) {
                const float values[8] = {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.tu, v.tv};
                Words(values, 8);
            }
        }
    }
    void Colour(const ColorValue& c)
    {
        const float values[4] = {c.r, c.g, c.b, c.a};
        Words(values, 4);
    }
    void Mesh(const ForeignMesh& mesh)
    {
        Text(mesh.name);
        const LoadedModel& g = mesh.geometry;
        w.U32(static_cast<uint32_t>(g.vertices.size()));
        Vertices(g.vertices);
        w.U32(static_cast<uint32_t>(g.triangleMaterials.size()));
        for (size_t t = 0; t < g.triangleMaterials.size(); ++t) {
            const uint32_t triangle[4] = {g.indices[3 * t], g.indices[3 * t + 1], g.indices[3 * t + 2],
                                          g.triangleMaterials[t]};
            Words(triangle, 4);
        }
        w.U32(static_cast<uint32_t>(g.materials.size()));
        for (size_t m = 0; m < g.materials.size(); ++m) {
            const ModelMaterial& material = g.materials[m];
            Text(material.name);
            Colour(material.diffuse);
            Colour(material.ambient);
            Colour(material.specular);
            Colour(material.emissive);
            w.F32(material.power);
            Text(material.texturePath);
            w.U32(static_cast<uint32_t>(m < mesh.embeddedImages.size() ? mesh.embeddedImages[m] : -1));
        }
    }
    void Node(const ForeignNode& node)
    {
        Text(node.name);
        w.U32(static_cast<uint32_t>(node.parent));
        w.U32(static_cast<uint32_t>(node.mesh));
        const float values[10] = {node.translation.x, node.translation.y, node.translation.z, node.rotation.x,
                                  node.rotation.y,    node.rotation.z,    node.rotation.w,    node.scale.x,
                                  node.scale.y,       node.scale.z};
        Words(values, 10);
    }
    void Animation(const ForeignAnimation& animation)
    {
        Text(animation.name);
        w.U32(static_cast<uint32_t>(animation.channels.size()));
        for (const ForeignChannel& channel : animation.channels) {
            w.U32(static_cast<uint32_t>(channel.node));
            w.U8(static_cast<uint8_t>(channel.path));
            w.U8(static_cast<uint8_t>(channel.interpolation));
            w.U32(static_cast<uint32_t>(channel.times.size()));
            Words(channel.times.data(), channel.times.size());
            w.U32(static_cast<uint32_t>(channel.values.size()));
            Words(channel.values.data(), channel.values.size());
        }
    }
    ByteWriter w;
};

class Decoder {
public:
    Decoder(std::string_view bytes, const std::string& fileName) : in(bytes, fileName) {}

    // A count of records of at least least bytes each that the bytes left can hold.
    bool Count(uint32_t& n, size_t least, const char* what)
    {
        if (!in.Need(4, what)) return false;
        const size_t at = in.Offset();
        n = in.U32();
        if (least > 0 && n > in.Left() / least)
            return in.Fail(at, std::to_string(n) + " " + what + " cannot fit in the " + std::to_string(in.Left()) +
                                   " bytes that follow");
        return true;
    }
    bool Text(std::string& s, const char* what)
    {
        uint32_t n = 0;
        if (!Count(n, 1, what)) return false;
        s = std::string(in.Bytes(n));
        return true;
    }
    bool Floats(float* values, size_t n, const char* what)
    {
        if (!in.Need(4 * n, what)) return false;
        for (size_t i = 0; i < n; ++i)
            if (!in.F32(values[i], what)) return false;
        return true;
    }
    bool Index(int32_t& value, int32_t below, const char* what)
    {
        if (!in.Need(4, what)) return false;
        const size_t at = in.Offset();
        value = static_cast<int32_t>(in.U32());
        if (value >= -1 && value < below) return true;
        return in.Fail(at, std::string(what) + " " + std::to_string(value) + " out of range");
    }
    bool Colour(ColorValue& c)
    {
        float v[4];
        if (!Floats(v, 4, "a material colour")) return false;
        c = {v[0], v[1], v[2], v[3]};
        return true;
    }
    bool Mesh(ForeignMesh& mesh, uint32_t images)
    {
        LoadedModel& g = mesh.geometry;
        uint32_t n = 0;
        if (!Text(mesh.name, "a mesh name") || !Count(n, kVertexBytes, "vertices")) return false;
        g.vertices.resize(n);
        for (_MESH_VERTEX& v : g.vertices) {
            float f[8];
            if (!Floats(f, 8, "a vertex")) return false;
            v = {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]};
        }
        uint32_t triangles = 0;
        if (!Count(triangles, 16, "triangles")) return false;
        g.indices.resize(size_t{triangles} * 3);
        g.triangleMaterials.resize(triangles);
        for (uint32_t t = 0; t < triangles; ++t) {
            const size_t at = in.Offset();
            for (int k = 0; k < 3; ++k) g.indices[3 * size_t{t} + k] = in.U32();
            g.triangleMaterials[t] = in.U32();
            for (int k = 0; k < 3; ++k)
                if (g.indices[3 * size_t{t} + k] >= n)
                    return in.Fail(at, "a corner names a vertex that does not exist");
        }
        uint32_t materials = 0;
        if (!Count(materials, kMaterialBytes, "materials")) return false;
        g.materials.resize(materials);
        mesh.embeddedImages.resize(materials);
        for (uint32_t m = 0; m < materials; ++m) {
            ModelMaterial& material = g.materials[m];
            if (!Text(material.name, "a material name") || !Colour(material.diffuse) || !Colour(material.ambient) ||
                !Colour(material.specular) || !Colour(material.emissive) ||
                !Floats(&material.power, 1, "a material power") || !Text(material.texturePath, "a texture path") ||
                !Index(mesh.embeddedImages[m], static_cast<int32_t>(images), "image"))
                return false;
        }
        for (uint32_t material : g.triangleMaterials)
            if (material >= materials) return in.Fail(in.Offset(), "a triangle names a material that does not exist");
        return true;
    }
    bool Node(ForeignNode& node, int32_t index, int32_t meshes)
    {
        float f[10];
        if (!Text(node.name, "a node name") || !Index(node.parent, index, "parent node") ||
            !Index(node.mesh, meshes, "mesh") || !Floats(f, 10, "a node transform"))
            return false;
        node.translation = {f[0], f[1], f[2]};
        node.rotation = {f[3], f[4], f[5], f[6]};
        node.scale = {f[7], f[8], f[9]};
        return true;
    }
    bool Channel(ForeignChannel& channel, int32_t nodes)
    {
        if (!Index(channel.node, nodes, "node") || !in.Need(2, "a channel")) return false;
        const size_t at = in.Offset();
        const uint8_t path = in.U8(), interpolation = in.U8();
        if (path > 2 || interpolation > 2 || channel.node < 0) return in.Fail(at, "a channel of unknown kind");
        channel.path = static_cast<ForeignPath>(path);
        channel.interpolation = static_cast<ForeignInterpolation>(interpolation);
        uint32_t keys = 0, values = 0;
        if (!Count(keys, 4, "key times")) return false;
        channel.times.resize(keys);
        if (!Floats(channel.times.data(), keys, "a key time")) return false;
        for (uint32_t k = 1; k < keys; ++k)
            if (!(channel.times[k] > channel.times[k - 1])) return in.Fail(at, "key times do not ascend");
        const size_t valuesAt = in.Offset();
        if (!Count(values, 4, "key values")) return false;
        const size_t expected = size_t{keys} * static_cast<size_t>(ForeignComponents(channel.path)) *
                                (channel.interpolation == ForeignInterpolation::CubicSpline ? 3 : 1);
        if (values != expected)
            return in.Fail(valuesAt, std::to_string(values) + " key values for " + std::to_string(keys) + " keys");
        channel.values.resize(values);
        return Floats(channel.values.data(), values, "a key value");
    }
    bool Model(ForeignModel& model)
    {
        if (!in.Need(12, "the header") || std::memcmp(in.Bytes(8).data(), kMagic, 8) != 0)
            return in.Fail(0, "not a model record (bad magic)");
        if (const uint32_t version = in.U32(); version != kVersion)
            return in.Fail(8, "unknown record version " + std::to_string(version));
        uint32_t images = 0, meshes = 0, nodes = 0, animations = 0, dropped = 0;
        if (!Text(model.format, "the format name") || !in.Need(8, "the length unit")) return false;
        const size_t unitAt = in.Offset();
        model.metresPerUnit = std::bit_cast<double>(in.U64());
        if (model.metresPerUnit != kUnknownLengthUnit && !IsKnownLengthUnit(model.metresPerUnit))
            return in.Fail(unitAt, "the length unit is neither unknown nor 1e-9 ... 1e9 m");
        if (!Count(images, 8, "images")) return false;
        model.images.resize(images);
        for (ForeignImage& image : model.images)
            if (!Text(image.name, "an image name") || !Text(image.bytes, "an image")) return false;
        if (!Count(meshes, 16, "meshes")) return false;
        model.meshes.resize(meshes);
        for (ForeignMesh& mesh : model.meshes)
            if (!Mesh(mesh, images)) return false;
        if (!Count(nodes, kNodeBytes, "nodes")) return false;
        if (nodes > kMaxModelNodes) return in.Fail(in.Offset() - 4, TooManyNodesReason(nodes));
        model.nodes.resize(nodes);
        for (uint32_t i = 0; i < nodes; ++i)
            if (!Node(model.nodes[i], static_cast<int32_t>(i), static_cast<int32_t>(meshes))) return false;
        if (!Count(animations, 8, "animations")) return false;
        model.animations.resize(animations);
        for (ForeignAnimation& animation : model.animations) {
            uint32_t channels = 0;
            if (!Text(animation.name, "an animation name") || !Count(channels, kChannelBytes, "channels")) return false;
            animation.channels.resize(channels);
            for (ForeignChannel& channel : animation.channels)
                if (!Channel(channel, static_cast<int32_t>(nodes))) return false;
        }
        if (!Count(dropped, 4, "notes")) return false;
        model.dropped.resize(dropped);
        for (std::string& note : model.dropped)
            if (!Text(note, "a note")) return false;
        if (in.Left() != 0) return in.Fail(in.Offset(), "bytes follow the end of the model");
        return true;
    }
    ByteReader in;
};

}  // namespace

std::string EncodeForeignModel(const ForeignModel& model)
{
    // Room for the bulk of the records at once, so the string never moves them.
    size_t bulk = 256;
    for (const ForeignImage& image : model.images) bulk += image.bytes.size() + 64;
    for (const ForeignMesh& mesh : model.meshes)
        bulk += mesh.geometry.vertices.size() * kVertexBytes + mesh.geometry.triangleMaterials.size() * 16 +
                mesh.geometry.materials.size() * (kMaterialBytes + 64) + 64;
    std::string out;
    out.reserve(bulk);
    Encoder e(out);
    e.w.Bytes(std::string_view(kMagic, 8));
    e.w.U32(kVersion);
    e.Text(model.format);
    e.w.U64(std::bit_cast<uint64_t>(model.metresPerUnit));
    e.w.U32(static_cast<uint32_t>(model.images.size()));
    for (const ForeignImage& image : model.images) {
        e.Text(image.name);
        e.Text(image.bytes);
    }
    e.w.U32(static_cast<uint32_t>(model.meshes.size()));
    for (const ForeignMesh& mesh : model.meshes) e.Mesh(mesh);
    e.w.U32(static_cast<uint32_t>(model.nodes.size()));
    for (const ForeignNode& node : model.nodes) e.Node(node);
    e.w.U32(static_cast<uint32_t>(model.animations.size()));
    for (const ForeignAnimation& animation : model.animations) e.Animation(animation);
    e.w.U32(static_cast<uint32_t>(model.dropped.size()));
    for (const std::string& note : model.dropped) e.Text(note);
    return out;
}

Outcome DecodeForeignModel(std::string_view bytes, const std::string& fileName, ForeignModel& out)
{
    out = {};
    ForeignModel model;
    Decoder decoder(bytes, fileName);
    if (!decoder.Model(model)) return Outcome::Failure(decoder.in.Error());
    out = std::move(model);
    return Outcome();
}

}  // namespace m3d
