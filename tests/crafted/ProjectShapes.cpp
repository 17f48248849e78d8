// Shapes that attack opening a project and the whole-motion operations: many
// Parts (each object file found ignoring case, each named, each composed),
// many Parts of one name, and a Motion with a long run of keys past its length.

#include "crafted/CraftedShape.h"

#include "meshlib/CMesh.h"
#include "meshlib/CMeshBase.h"
#include "meshlib/LoadedModel.h"
#include "scene/ProjectFileFormat.h"

#include <filesystem>
#include <stdexcept>

namespace m3d {

namespace {

// The Motion every project shape holds.
constexpr const char* kMotionName = "crafted";

// A one-triangle .mesh file written by the mesh library.
void WriteTriangleMesh(const std::string& path)
{
    LoadedModel model;
    model.materials.resize(1);
    model.vertices = {{0, 0, 0, 0, 0, -1}, {0, 1, 0, 0, 0, -1}, {1, 0, 0, 0, 0, -1}};
    model.indices = {0, 1, 2};
    model.triangleMaterials = {0};
    CMeshBase base;
    CMesh mesh;
    base.InitMesh(&mesh, 1);
    if (!mesh.LoadModel(model, path, 1.0f) || !mesh.SaveMeshFile(path))
        throw std::runtime_error(path + ": cannot write");
}

// One Motion of the given length with a frame-0 key on every track.
Motion FrameZeroMotion(size_t parts, int length)
{
    Motion motion;
    motion.name = kMotionName;
    motion.length = length;
    motion.tracks.resize(parts);
    for (MotionTrack& track : motion.tracks) track.keys.push_back({0, Matrix4::Identity()});
    return motion;
}

void WriteProject(const std::string& path, const std::vector<ProjectPartRecord>& parts, const Motion& motion)
{
    const Expected<std::string> bytes = BuildProjectFile(parts, {motion});
    if (!bytes) throw std::runtime_error(path + ": " + bytes.Message());
    WriteCraftedFile(path, *bytes);
}

// `size` top-level Parts "part0" ... whose .mesh files are stored in upper case,
// so that no file is found under the name the project gives.
std::string ManyTopLevelParts(const std::string& folder, size_t size)
{
    const std::string first = folder + "/PART0.MESH";
    WriteTriangleMesh(first);
    std::vector<ProjectPartRecord> parts;
    for (size_t i = 0; i < size; ++i) {
        const std::string name = "part" + std::to_string(i);
        parts.push_back({name, -1, -1});
        if (i > 0) std::filesystem::copy_file(first, folder + "/PART" + std::to_string(i) + ".MESH");
    }
    const std::string path = folder + "/many-parts.anm";
    WriteProject(path, parts, FrameZeroMotion(size, 60));
    return path;
}

// `size` Parts all named "part" (one object file): every display name after
// the first is a numbered one, in chains of ten so the hierarchy is deep too.
std::string PartsOfOneName(const std::string& folder, size_t size)
{
    WriteTriangleMesh(folder + "/part.mesh");
    std::vector<ProjectPartRecord> parts;
    for (size_t i = 0; i < size; ++i) parts.push_back({"part", i % 10 == 0 ? -1 : int(i) - 1, -1});
    const std::string path = folder + "/one-name.anm";
    WriteProject(path, parts, FrameZeroMotion(size, 60));
    return path;
}

// One Part whose track holds `size` equal keys on frames 0 ... size - 1, all
// but the first past the Motion's length of 1: every later key is redundant.
std::string KeysBeyondLength(const std::string& folder, size_t size)
{
    WriteTriangleMesh(folder + "/part.mesh");
    Motion motion = FrameZeroMotion(1, 1);
    for (size_t k = 1; k < size; ++k) motion.tracks[0].keys.push_back({int32_t(k), Matrix4::Identity()});
    const std::string path = folder + "/long-track.anm";
    WriteProject(path, {{"part", -1, -1}}, motion);
    return path;
}

}  // namespace

void AddProjectShapes(std::vector<CraftedShape>& shapes)
{
    for (const size_t count : {2000, 4000, 10000})
        shapes.push_back({"top-level-parts-" + std::to_string(count),
                          "top-level Parts whose object files differ from their names in letter case", "info", count,
                          ManyTopLevelParts});
    shapes.push_back({"top-level-parts-thumbnail", "a project of far more Parts than a thumbnail draws",
                      "thumbnail -s 256", 100000, ManyTopLevelParts, "thumbnail.png"});
    shapes.push_back(
        {"parts-of-one-name", "Parts that all share one name and one object file", "info", 20000, PartsOfOneName});
    shapes.push_back({"keys-beyond-length", "a track of equal keys running far past the Motion's length",
                      std::string("apply --motion ") + kMotionName + " --delete-redundant-keys", 200000,
                      KeysBeyondLength});
}

}  // namespace m3d
