#pragma once

#include "records/ColorValue.h"
#include "records/MeshVertex.h"
#include "records/TextureImage.h"

#include <cstdint>
#include <string>
#include <vector>

namespace m3d {

// Records the mesh library hands out. Field meanings are the library's contract
// with the editor; everything else about a mesh stays inside CMesh. They live
// below both the mesh library and the render device, which draws them.

// One sub-mesh, drawn as one triangle strip. Triangle t (0 ... indexCount - 3)
// uses indices t, t + 1, t + 2; it is reversed when the winding flag, starting
// at windingFlag and flipping after every triangle, is 1. A triangle with two
// equal indices is degenerate (it joins two runs of the strip): drawing,
// picking and export skip it, but it still flips the winding.
struct _MESH_MESHDATA {
    uint16_t indexCount = 0;
    std::vector<uint16_t> indices;  // indexCount entries, relative to baseVertex
    int8_t materialNumber = 0;      // index into the mesh's materials
    uint8_t windingFlag = 0;        // 1: the first triangle has reversed winding
    uint32_t baseVertex = 0;        // added to every index (models over 65,536 vertices)
};

// Fixed-function material plus the mesh's texture slot (-1: none).
struct _MESH_MATERIAL {
    ColorValue diffuse;
    ColorValue ambient;
    ColorValue specular;
    ColorValue emissive;
    float power = 0;
    int16_t textureNumber = -1;  // index into the mesh's texture references
};

// A mesh's reference to a texture of the shared list of its CMeshBase.
struct _MESH_TEXTURE {
    int32_t index = -1;
};

// One entry of the shared texture list. name is the texture's file name (UTF-8,
// no folder, at most 60 bytes in Shift-JIS); callers may lower-case it.
// image is empty (width 0) when the file could not be read.
struct _MESHBASE_TEXTURE {
    std::string name;
    TextureImage image;
    // The file the image was read from (absolute, symbolic links resolved); "" without image.
    std::string source;
    // Why there is no image, naming the file or the name; "" when there is one.
    std::string problem;
    // Whether source lies in the folder of the model that named the texture
    // (or below it); a model may name any file on the disk.
    bool insideModelFolder = true;
};

}  // namespace m3d
