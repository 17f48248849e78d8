#pragma once

namespace m3d {

// One vertex: model-space position, unit normal, texture coordinates
// (u, v with (0, 0) at the image's top left, v growing downward).
struct _MESH_VERTEX {
    float x = 0, y = 0, z = 0;
    float nx = 0, ny = 0, nz = 0;
    float tu = 0, tv = 0;
};

}  // namespace m3d
