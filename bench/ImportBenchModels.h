#pragma once

// The models the import benchmarks bring in, generated into a temporary
// folder of their own: a 1,000,000-triangle grid as .obj and as .glb, and
// glTF trees of many small animated nodes.
#include <filesystem>
#include <string>

namespace m3d::importbench {

// A folder under the system's temporary one, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // path of name in the folder, with bytes written there.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path folder;
};

// Triangles of the grids: 1000 x 500 quads, two triangles each.
constexpr int kGridTriangles = 1000000;

// The grid as .obj text: positions, normals, texture coordinates, four
// groups of 125 rows of quads each (made triangles by the reader).
std::string GridObj();

// The grid as one binary glTF mesh: positions, normals, texture
// coordinates, 32-bit indices.
std::string GridGlb();

// A binary glTF of `nodes` nodes, each drawing the same small box (12
// triangles), one unit above its parent: a single chain when chain is true,
// otherwise a tree of four children a node. One animation of 2 seconds turns
// every node about Y (a channel each, three keys).
std::string NodeTreeGlb(int nodes, bool chain);

}  // namespace m3d::importbench
