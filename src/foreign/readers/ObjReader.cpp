// Wavefront OBJ through tinyobjloader. OBJ is already right-handed, +Y up and
// counter-clockwise, so positions and normals pass as they are; only v of the
// texture coordinates turns round (OBJ's v grows upward).
#include "foreign/readers/DefaultMaterial.h"
#include "foreign/readers/DroppedNotes.h"
#include "foreign/readers/FiniteValues.h"
#include "foreign/readers/ModelReaders.h"
#include "io/FileReading.h"
#include "io/PathLookup.h"

#include <tiny_obj_loader.h>

#include <cstdint>
#include <cerrno>
#include <map>
#include <sstream>
#include <unordered_map>
#include <utility>

namespace m3d {

namespace {

// One corner of a face as the file indexes it: position, normal, texture
// coordinate (-1 for none).
struct Corner {
    int position, normal, uv;
    bool operator==(const Corner&) const = default;
};

struct CornerHash {
    size_t operator()(const Corner& c) const
    {
        const uint64_t key = uint64_t(uint32_t(c.position)) * 0x9E3779B97F4A7C15ull ^
                             uint64_t(uint32_t(c.normal)) * 0xC2B2AE3D27D4EB4Full ^ uint64_t(uint32_t(c.uv));
        return size_t(key ^ (key >> 29));
    }
};

// The vertex of each corner: each distinct (position, normal, uv) triple of
// an object one vertex, numbered in the order met. Most files give a
// position one normal and one uv, so the first vertex made at a position is
// found by the position alone; any other through a hash of the whole corner.
// The table by position serves every object of the file: an entry made for
// an earlier object counts as none.
class CornerVertices {
public:
    explicit CornerVertices(size_t positions) : firstAt(positions) {}

    void NextObject()
    {
        ++object;
        others.clear();
    }

    // The vertex of corner, and whether it is new (numbered next).
    std::pair<uint32_t, bool> Find(const Corner& corner, uint32_t next)
    {
        First& first = firstAt[size_t(corner.position)];
        if (first.object != object) {
            first = {object, next, corner.normal, corner.uv};
            return {next, true};
        }
        if (first.normal == corner.normal && first.uv == corner.uv) return {first.vertex, false};
        const auto [found, added] = others.try_emplace(corner, next);
        return {found->second, added};
    }

private:
    struct First {
        size_t object = 0;  // 0: none yet
        uint32_t vertex = 0;
        int normal = -1, uv = -1;
    };
    std::vector<First> firstAt;
    std::unordered_map<Corner, uint32_t, CornerHash> others;
    size_t object = 0;
};

// The largest .mtl file read: material libraries are text of a few kilobytes.
constexpr size_t kMaxMaterialLibraryBytes = size_t(64) << 20;

// Reads the material libraries an .obj names from its own folder only, as
// regular files of bounded size. One that cannot be found is left to the
// caller's notes (tinyobjloader's warning); one that leads outside the
// folder or is no regular file stops the whole read (refusal).
class FolderMaterialReader : public tinyobj::MaterialReader {
public:
    explicit FolderMaterialReader(std::string folder) : folder(std::move(folder)) {}

    bool operator()(const std::string& name, std::vector<tinyobj::material_t>* materials,
                    std::map<std::string, int>* byName, std::string* warn, std::string* err) override
    {
        if (!refusal.empty()) return false;
        const std::string path = !name.empty() && name.front() == '/' ? name : folder + "/" + name;
        const Expected<std::string> bytes = ReadNamedFile(folder, path, kMaxMaterialLibraryBytes);
        if (!bytes) {
            if (bytes.Status().ErrorNumber() == ENOENT) {
                if (warn) *warn += "Material file [ " + name + " ] not found.\n";
            } else {
                refusal = "material library '" + name + "': " + bytes.Status().Message();
            }
            return false;
        }
        std::istringstream text(*bytes);
        tinyobj::LoadMtl(byName, materials, &text, warn, err);
        return true;
    }

    // Why the read must stop; "" when nothing refused it.
    std::string refusal;

private:
    std::string folder;
};

ColorValue Colour(const float rgb[3], float alpha) { return {rgb[0], rgb[1], rgb[2], alpha}; }

// The .mtl material as the editor's; false when one of its numbers is not finite.
bool ConvertMaterial(const tinyobj::material_t& from, ModelMaterial& to)
{
    const float numbers[] = {from.diffuse[0],  from.diffuse[1],  from.diffuse[2],  from.ambient[0],  from.ambient[1],
                             from.ambient[2],  from.specular[0], from.specular[1], from.specular[2], from.emission[0],
                             from.emission[1], from.emission[2], from.shininess,   from.dissolve};
    if (!AllFinite(numbers, std::size(numbers))) return false;
    to.name = from.name;
    // tinyobjloader folds Tr into dissolve (1 - Tr) when the material has no d.
    to.diffuse = Colour(from.diffuse, from.dissolve);
    to.ambient = Colour(from.ambient, 1.0f);
    to.specular = Colour(from.specular, 1.0f);
    to.emissive = Colour(from.emission, 1.0f);
    to.power = from.shininess;
    to.texturePath = from.diffuse_texname;
    return true;
}

// Sorts tinyobjloader's warnings into what the model lost (appended to
// dropped) and the one that means a face named a vertex the file lacks
// (tinyobjloader skips such polygons quietly): true for that one.
bool SortWarnings(const std::string& warnings, std::vector<std::string>& dropped)
{
    std::istringstream lines(warnings);
    std::string line;
    int degenerate = 0;
    while (std::getline(lines, line)) {
        if (line.find("invalid vertex index") != std::string::npos) return true;
        if (line.find("Degenerated face") != std::string::npos) {
            ++degenerate;
        } else if (line.rfind("Material file [ ", 0) == 0) {
            const size_t end = line.find(" ]");
            NoteDropped(dropped, "material library '" + line.substr(16, end == std::string::npos ? 0 : end - 16) +
                                     "' not found (default material used)");
        } else if (line.rfind("material [ ", 0) == 0) {
            NoteDropped(dropped,
                        line.substr(0, line.find(" not found")) + " missing from the .mtl (default material used)");
        }
    }
    if (degenerate > 0) NoteDropped(dropped, std::to_string(degenerate) + " faces of fewer than three corners");
    return false;
}

// The object's triangles as one mesh, each (position, normal, uv) triple of
// the file one vertex. materials holds the .mtl's materials and the default
// one last, for faces without material.
Outcome ConvertShape(const tinyobj::shape_t& shape, const tinyobj::attrib_t& attrib,
                     const std::vector<ModelMaterial>& materials, const std::string& path, CornerVertices& vertexOf,
                     ForeignMesh& mesh)
{
    const size_t positions = attrib.vertices.size() / 3;
    const size_t normals = attrib.normals.size() / 3;
    const size_t uvs = attrib.texcoords.size() / 2;
    const tinyobj::mesh_t& faces = shape.mesh;
    LoadedModel& geometry = mesh.geometry;
    mesh.name = shape.name;
    vertexOf.NextObject();
    geometry.indices.reserve(faces.indices.size());
    geometry.triangleMaterials.reserve(faces.num_face_vertices.size());
    std::vector<int64_t> localMaterial(materials.size(), -1);
    size_t offset = 0;
    for (size_t f = 0; f < faces.num_face_vertices.size(); ++f) {
        const size_t count = faces.num_face_vertices[f];
        if (count > faces.indices.size() - offset)
            return Outcome::Failure(path + ": object '" + shape.name + "' lists more corners than it holds");
        if (count != 3) {  // triangulation leaves none; skipped rather than trusted
            offset += count;
            continue;
        }
        for (size_t k = 0; k < 3; ++k) {
            const tinyobj::index_t& index = faces.indices[offset + k];
            const Corner corner{index.vertex_index, index.normal_index, index.texcoord_index};
            if (corner.position < 0 || size_t(corner.position) >= positions || corner.normal < -1 ||
                (corner.normal >= 0 && size_t(corner.normal) >= normals) || corner.uv < -1 ||
                (corner.uv >= 0 && size_t(corner.uv) >= uvs))
                return Outcome::Failure(path + ": a face of object '" + shape.name +
                                        "' names a vertex, normal or texture coordinate the file does not have");
            const auto [vertex, added] = vertexOf.Find(corner, uint32_t(geometry.vertices.size()));
            if (added) {
                _MESH_VERTEX v;
                const float* p = &attrib.vertices[3 * size_t(corner.position)];
                v.x = p[0], v.y = p[1], v.z = p[2];
                if (corner.normal >= 0) {
                    const float* n = &attrib.normals[3 * size_t(corner.normal)];
                    v.nx = n[0], v.ny = n[1], v.nz = n[2];
                }
                if (corner.uv >= 0) {
                    v.tu = attrib.texcoords[2 * size_t(corner.uv)];
                    v.tv = 1.0f - attrib.texcoords[2 * size_t(corner.uv) + 1];
                }
                geometry.vertices.push_back(v);
            }
            geometry.indices.push_back(vertex);
        }
        offset += 3;
        const int id = f < faces.material_ids.size() ? faces.material_ids[f] : -1;
        const size_t slot = id >= 0 && size_t(id) + 1 < materials.size() ? size_t(id) : materials.size() - 1;
        if (localMaterial[slot] < 0) {
            localMaterial[slot] = int64_t(geometry.materials.size());
            geometry.materials.push_back(materials[slot]);
        }
        geometry.triangleMaterials.push_back(uint32_t(localMaterial[slot]));
    }
    return {};
}

}  // namespace

Outcome ReadObjModel(const std::string& path, ForeignModel& out)
{
    out = {};
    const Expected<std::string> text = ReadWholeFile(path);
    if (!text) return text.Status();
    // The .mtl is looked for beside the .obj, never in the working folder.
    const std::string folder = DirectoryOf(path);
    FolderMaterialReader materialReader(folder.empty() ? "." : folder);
    tinyobj::attrib_t attrib;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> objMaterials;
    std::string warnings, error;
    std::istringstream stream(*text);
    const bool parsed =
        tinyobj::LoadObj(&attrib, &shapes, &objMaterials, &warnings, &error, &stream, &materialReader, true, false);
    if (!materialReader.refusal.empty()) return Outcome::Failure(path + ": " + materialReader.refusal);
    if (!parsed)
        return Outcome::Failure(path + ": " +
                                (error.empty() ? "not a readable OBJ file" : error.substr(0, error.find('\n'))));
    ForeignModel model;
    model.format = "OBJ";
    if (SortWarnings(warnings, model.dropped))
        return Outcome::Failure(path + ": a face names a vertex the file does not have");

    if (!AllFinite(attrib.vertices.data(), attrib.vertices.size()) ||
        !AllFinite(attrib.normals.data(), attrib.normals.size()) ||
        !AllFinite(attrib.texcoords.data(), attrib.texcoords.size()))
        return Outcome::Failure(path + ": a coordinate is not a finite number");
    std::vector<ModelMaterial> materials(objMaterials.size());
    for (size_t i = 0; i < materials.size(); ++i)
        if (!ConvertMaterial(objMaterials[i], materials[i]))
            return Outcome::Failure(path + ": material '" + objMaterials[i].name +
                                    "' holds a number that is not finite");
    materials.push_back(DefaultForeignMaterial());

    CornerVertices vertexOf(attrib.vertices.size() / 3);

    for (const tinyobj::shape_t& shape : shapes) {
        if (!shape.lines.indices.empty() || !shape.points.indices.empty())
            NoteDropped(model.dropped, "lines and points of object '" + shape.name + "'");
        ForeignMesh mesh;
        if (Outcome converted = ConvertShape(shape, attrib, materials, path, vertexOf, mesh); !converted)
            return converted;
        if (mesh.geometry.indices.empty()) continue;
        ForeignNode node;
        node.name = shape.name;
        node.mesh = int32_t(model.meshes.size());
        model.nodes.push_back(node);
        model.meshes.push_back(std::move(mesh));
    }
    if (model.meshes.empty()) return Outcome::Failure(path + ": no faces to bring in");
    out = std::move(model);
    return {};
}

}  // namespace m3d
