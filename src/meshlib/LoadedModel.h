#pragma once

#include "io/FileReading.h"
#include "records/MeshRecords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace m3d {

// A material as a model file describes it, before textures are loaded.
struct ModelMaterial {
    std::string name;    // UTF-8
    ColorValue diffuse;  // colour x diffuse factor, alpha = colour alpha
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power = 5.0f;
    std::string texturePath;  // UTF-8, as written in the file (may be a Windows path); "" for none
};

// A texture image a model file carries inside itself: the encoded bytes
// (PNG, JPEG...) under the name materials give as their texturePath, a
// plain file name no file of the model's folder is looked up for.
struct EmbeddedTexture {
    std::string name;
    std::string bytes;
};

// An indexed triangle list in the editor's left-handed, +Y-up space, front faces
// clockwise, so (v1 - v0) x (v2 - v0) is the outward normal. A file reader
// produces it; CMesh turns it into strips.
struct LoadedModel {
    std::vector<_MESH_VERTEX> vertices;
    std::vector<uint32_t> indices;            // three per triangle
    std::vector<uint32_t> triangleMaterials;  // one per triangle, index into materials
    std::vector<ModelMaterial> materials;     // never empty when there are triangles
    std::vector<EmbeddedTexture> embeddedTextures;
    // Where the texture files may lie: another program's model reads them only
    // from its own folder unless the user allowed more; the editor's own
    // formats name files anywhere, as they always have.
    NamedFileScope textureScope = NamedFileScope::Anywhere;
};

}  // namespace m3d
