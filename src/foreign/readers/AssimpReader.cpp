// Every other format through assimp. assimp's scene is already right-handed
// with counter-clockwise front faces; what it leaves to us is the up axis and
// unit of FBX (AssimpAxes.h). COLLADA's <up_axis> and <unit> assimp applies
// itself, once, to the root node it makes for the <visual_scene>: taken as it
// comes. STL, PLY, 3DS and the rest carry no axis information (many are Z up
// in practice): taken as they stand, as +Y up.
#include "foreign/readers/AssimpAnimations.h"
#include "foreign/readers/AssimpAxes.h"
#include "foreign/readers/AssimpFbxHelpers.h"
#include "foreign/readers/AssimpMaterials.h"
#include "foreign/readers/AssimpMeshes.h"
#include "foreign/readers/AssimpTransform.h"
#include "foreign/readers/DroppedNotes.h"
#include "foreign/readers/ModelReaders.h"
#include "text/ShiftJis.h"

#include <assimp/Importer.hpp>
#include <assimp/config.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <filesystem>
#include <map>

namespace m3d {

namespace {

// The format's name, from the file's ending.
std::string FormatName(const std::string& path)
{
    std::string ending = AsciiLower(std::filesystem::path(path).extension().string());
    if (ending == ".dae") return "COLLADA";
    std::string name;
    for (const char c : ending.substr(ending.empty() ? 0 : 1)) name += char(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return name;
}

// What the model leaves out of the scene as a whole, a line each.
void NoteLosses(const aiScene& scene, std::vector<std::string>& dropped)
{
    for (unsigned m = 0; m < scene.mNumMeshes && scene.mMeshes; ++m) {
        const aiMesh* mesh = scene.mMeshes[m];
        if (!mesh) continue;
        const std::string name = mesh->mName.C_Str();
        if (mesh->mNumBones > 0) NoteDropped(dropped, "skin of mesh '" + name + "' (rest pose kept)");
        if (mesh->mNumAnimMeshes > 0) NoteDropped(dropped, "morph targets of mesh '" + name + "'");
        if (mesh->mPrimitiveTypes & (aiPrimitiveType_POINT | aiPrimitiveType_LINE))
            NoteDropped(dropped, "points and lines of mesh '" + name + "'");
    }
    if (scene.mNumCameras > 0) NoteDropped(dropped, "cameras (" + std::to_string(scene.mNumCameras) + ")");
    if (scene.mNumLights > 0) NoteDropped(dropped, "lights (" + std::to_string(scene.mNumLights) + ")");
}

// The model's nodes from the folded ones, with one mesh per distinct set of
// assimp meshes (nodes that share a set share the mesh).
Outcome ConvertNodes(const aiScene& scene, const std::vector<FoldedNode>& folded, const AssimpMaterials& materials,
                     const std::string& path, ForeignModel& model)
{
    std::map<std::vector<unsigned>, int32_t> meshOf;
    for (const FoldedNode& from : folded) {
        const aiMatrix4x4 local = FoldedTransform(from);
        const std::string name = from.node->mName.C_Str();
        if (!IsFinite(local)) return Outcome::Failure(path + ": the transform of node '" + name + "' is not finite");
        const Trs trs = DecomposeTrs(local);
        if (!HoldsTransform(trs, local)) NoteDropped(model.dropped, "shear in the transform of node '" + name + "'");
        ForeignNode node;
        node.name = name;
        node.parent = from.parent;
        node.translation = {trs.translation.x, trs.translation.y, trs.translation.z};
        node.rotation = {trs.rotation.x, trs.rotation.y, trs.rotation.z, trs.rotation.w};
        node.scale = {trs.scale.x, trs.scale.y, trs.scale.z};
        if (from.node->mNumMeshes > 0) {
            if (!from.node->mMeshes) return Outcome::Failure(path + ": node '" + name + "' has no list of its meshes");
            const std::vector<unsigned> set(from.node->mMeshes, from.node->mMeshes + from.node->mNumMeshes);
            const auto [known, added] = meshOf.try_emplace(set, -1);
            if (added) {
                ForeignMesh mesh;
                if (Outcome converted = ConvertAssimpMeshes(scene, set, materials, path, mesh); !converted)
                    return converted;
                if (!mesh.geometry.indices.empty()) {  // points and lines alone make no mesh
                    known->second = int32_t(model.meshes.size());
                    model.meshes.push_back(std::move(mesh));
                }
            }
            node.mesh = known->second;
        }
        model.nodes.push_back(std::move(node));
    }
    return {};
}

}  // namespace

Outcome ReadAssimpModel(const std::string& path, ForeignModel& out)
{
    out = {};
    Assimp::Importer importer;
    // Pivots come as helper nodes, folded back here, rather than baked. No
    // aiProcess_ValidateDataStructure: every array and index used is checked
    // here, and the validation refuses whole files over a part left out
    // anyway (an empty STL solid, a point cloud beside the mesh).
    importer.SetPropertyBool(AI_CONFIG_IMPORT_FBX_PRESERVE_PIVOTS, true);
    const aiScene* scene =
        importer.ReadFile(path, aiProcess_Triangulate | aiProcess_JoinIdenticalVertices | aiProcess_SortByPType);
    if (!scene) {
        const std::string error = importer.GetErrorString();
        return Outcome::Failure(path + ": " +
                                (error.empty() ? "assimp could not read it" : error.substr(0, error.find('\n'))));
    }
    if (!scene->mRootNode) return Outcome::Failure(path + ": the file holds no scene");
    ForeignModel model;
    model.format = FormatName(path);
    NoteLosses(*scene, model.dropped);
    AssimpMaterials materials;
    if (Outcome read = ReadAssimpMaterials(*scene, path, model, materials); !read) return read;
    std::vector<FoldedNode> nodes;
    if (Outcome folded = FoldFbxHelpers(*scene->mRootNode, path, nodes); !folded) return folded;
    if (model.format == "FBX") {
        const aiMatrix4x4 change = FbxAxesToYUp(*scene, model.dropped);
        model.metresPerUnit = 0.01;
        for (FoldedNode& node : nodes)
            if (node.parent < 0) node.above = change;
    }
    if (Outcome converted = ConvertNodes(*scene, nodes, materials, path, model); !converted) return converted;
    if (Outcome animated = ReadAssimpAnimations(*scene, nodes, path, model); !animated) return animated;
    if (model.meshes.empty()) return Outcome::Failure(path + ": no triangles to bring in");
    out = std::move(model);
    return {};
}

}  // namespace m3d
