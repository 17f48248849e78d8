#pragma once

#include "anim/BakeDeviation.h"
#include "anim/GltfBuffer.h"
#include "anim/GltfDocument.h"
#include "io/TaskProgress.h"

#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <vector>

namespace m3d {

class Scene;
struct XMeshData;

// The glTF asset while it is being put together by BuildGltfDocument's steps.
struct GltfAssembly {
    GltfLayout layout = GltfLayout::Binary;
    std::string fileStem;
    GltfChoices choices;
    // How far the channels taken at every frame stray between frames, lengths as written.
    BakeDeviation baked;
    nlohmann::json root = nlohmann::json::object();
    GltfBuffer buffer;
    std::vector<GltfSideFile> images;  // image files of a Separate layout, not encoded yet
    std::vector<GltfImageOrigin> imageOrigins;
    std::vector<int> texturesWithoutImage;
    // The glTF texture of each mesh manager texture already added; -1 for
    // one whose image could not be stored.
    std::map<int, int> textureOf;
    // Rows of the images encoded so far, of all a Binary layout encodes.
    ProgressSteps* progress = nullptr;
    uint64_t rowsEncoded = 0;
};

// Appends the JSON value to root's array member name; returns its index.
int AppendTo(GltfAssembly& assembly, const char* name, nlohmann::json value);

// Adds one material per material of mesh (with the textures they use) and
// returns their indices, in the mesh's material order.
std::vector<int> AddGltfMaterials(Scene& scene, const XMeshData& mesh, GltfAssembly& assembly);

// Adds the nodes and meshes of every Part; returns each Part's node index.
std::vector<int> AddGltfNodes(Scene& scene, GltfAssembly& assembly);

// Adds one animation per Motion targeting the nodes nodeOfPart names.
void AddGltfAnimations(const Scene& scene, const std::vector<int>& nodeOfPart, int framesPerSecond,
                       GltfAssembly& assembly);

// A plain file name as a relative URI: every byte but the unreserved ASCII
// letters, digits and "-._~" percent-encoded (UTF-8 names included).
std::string GltfUri(const std::string& fileName);

}  // namespace m3d
