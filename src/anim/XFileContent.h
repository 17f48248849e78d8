#pragma once

#include "math/Matrix4.h"
#include "records/MeshRecords.h"

#include <cstdint>
#include <string>
#include <vector>

namespace m3d {

// Everything a DirectX text file holds, taken out of the scene so that the
// text writer is a pure function of plain data. Names are already made safe
// for the file (see XFileNames.h).

// One Part's geometry as the mesh library hands it out.
struct XMeshData {
    std::vector<_MESH_VERTEX> vertices;
    // Triangle strips in order; their triangles become the face list.
    std::vector<_MESH_MESHDATA> subMeshes;
    std::vector<_MESH_MATERIAL> materials;
    // Per material: the texture's file name as written in the file, "" for none.
    std::vector<std::string> textureNames;
    // Per material: the texture's index in the mesh manager's list, -1 for none.
    std::vector<int> textureIndices;
};

// One Part: written as "Frame Frame_<name>" holding "Mesh <name>", then the
// frames of its children.
struct XFrame {
    std::string name;
    Matrix4 transform;  // the Part's first key of the first Motion
    XMeshData mesh;
    int depth = 0;  // 0: directly inside the frame "root"; a child is one deeper than its parent
};

// One matrix key: time in ticks and the 16 values in row order.
struct XAnimationKey {
    int64_t time = 0;
    float values[16] = {};
};

// The keys of one Part in one Motion, all at the same times as its siblings.
struct XAnimation {
    std::string name;  // the Part's name; the animation targets Frame_<name>
    std::vector<XAnimationKey> keys;
};

struct XAnimationSet {
    std::string name;
    std::vector<XAnimation> animations;  // in Part order
};

struct XFileContent {
    // Depth first: a frame, then its subtree, then its next sibling. Kept flat
    // so that no deep hierarchy can exhaust the stack.
    std::vector<XFrame> frames;
    std::vector<XAnimationSet> animationSets;  // in the order they are written
};

}  // namespace m3d
