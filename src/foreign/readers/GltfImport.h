#pragma once

#include "foreign/ForeignModel.h"
#include "foreign/readers/MessageText.h"
#include "io/Outcome.h"

#include <tiny_gltf.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace m3d {

// The steps that turn a parsed glTF document into a ForeignModel, and what
// they share. Each step's failure message is the reason alone, naming the
// part of the document; ReadGltfModel puts the file's name before it.

// A glTF material as the editor's, with the embedded image of its texture.
struct ImportedMaterial {
    ModelMaterial material;
    int32_t image = -1;  // index into ForeignModel::images, or -1
};

struct GltfImport {
    GltfImport(const tinygltf::Model& parsed, std::string stem, ForeignModel& result)
        : model(parsed), fileStem(std::move(stem)), out(result)
    {
    }

    const tinygltf::Model& model;
    std::string fileStem;  // the model file's name without extension: embedded images are named after it
    ForeignModel& out;
    std::vector<int32_t> meshOf;                // per glTF mesh: its index in out.meshes, -1 until a node uses it
    std::vector<int32_t> nodeOf;                // per glTF node: its index in out.nodes, -1 outside the scene
    std::vector<int32_t> imageOf;               // per glTF image: its index in out.images, -1 until a material uses it
    std::map<int, ImportedMaterial> materials;  // by glTF material index (-1: the default material)
};

// Adds line to out.dropped unless it is there already.
void Note(GltfImport& import, const std::string& line);

// "mesh 'wheel'" for a named item (its name Shown), "mesh 3" for one without name.
std::string Label(const char* kind, size_t index, const std::string& name);

// The material glTF material index (-1: glTF's default material) turns into;
// the embedded image of its base colour texture is added to out.images on
// first use, and what the editor's material cannot hold is noted.
Outcome ImportGltfMaterial(GltfImport& import, int index, ImportedMaterial& out);

// glTF mesh index as one ForeignMesh: every primitive's triangles, with a
// material per triangle.
Outcome ImportGltfMesh(GltfImport& import, int index, ForeignMesh& out);

// The nodes of the scene to show, depth first, into out.nodes, with the meshes
// they use (each once) into out.meshes; fills nodeOf and meshOf.
Outcome ImportGltfNodes(GltfImport& import);

// Every animation's translation, rotation and scale channels of nodes in the
// scene, into out.animations.
Outcome ImportGltfAnimations(GltfImport& import);

}  // namespace m3d
