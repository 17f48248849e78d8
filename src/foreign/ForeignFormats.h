#pragma once

#include <optional>
#include <string>

namespace m3d {

// Which reader takes a model file of another program's format.
enum class ForeignReader : int {
    Gltf = 0,    // .gltf, .glb
    Obj = 1,     // .obj (with its .mtl)
    Assimp = 2,  // .fbx, .dae, .3ds, .stl, .ply and the rest of the list below
};

// The reader for path, by its name's ending (ASCII case ignored); nothing for
// our own formats (.mqo, .mesh, .anm) and for names no reader takes.
std::optional<ForeignReader> ForeignReaderOf(const std::string& path);

// Every ending a reader takes, as a file dialog's pattern: "*.glb *.gltf *.obj ...".
const char* ForeignFilePattern();

}  // namespace m3d
