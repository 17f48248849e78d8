#pragma once

#include "io/Outcome.h"

#include <assimp/types.h>

#include <cstdint>
#include <string>
#include <vector>

struct aiNode;

namespace m3d {

// With pivots preserved, assimp splits an FBX node into a chain of helper
// nodes named "<name>_$AssimpFbx$_<part>" (Translation, RotationPivot,
// Rotation, Scaling...), each with one child and no mesh, the node itself at
// the end; below a node with children and a geometric transform it adds the
// inverses of that transform above the children. A helper may carry the
// animation of its own part.
//
// A node of the model and the nodes of assimp's tree that make it: its local
// transform is above times every transform of chain, which runs from the
// first helper below the kept node above it down to the node itself.
struct FoldedNode {
    const aiNode* node = nullptr;      // the kept node: name and meshes
    std::vector<const aiNode*> chain;  // outermost first, node last; never empty
    int32_t parent = -1;               // index into the list, lower than the node's own; -1 at the top
    aiMatrix4x4 above;                 // put before the chain (the change of axes on top-level nodes)
};

// Whether node is one of those helpers (a leaf or a node with meshes that
// bears the name is kept as a node of its own).
bool IsFbxHelper(const aiNode& node);

// The kept nodes of the tree under root (root included), depth first. A null
// child pointer fails, naming path.
Outcome FoldFbxHelpers(const aiNode& root, const std::string& path, std::vector<FoldedNode>& out);

// The node's local transform when nothing is animated.
aiMatrix4x4 FoldedTransform(const FoldedNode& node);

}  // namespace m3d
