#pragma once

#include "foreign/ChannelSampling.h"
#include "io/Outcome.h"
#include "math/Matrix4.h"

#include <string>
#include <vector>

namespace m3d {

// Where each node of a model (in the editor's space, ForeignSpace.h) stands:
// full is its whole transform from its own space to the world (row-vector
// convention: scales, rotations and translations of the chain up to the
// top); rigid keeps only the rotations of the chain and the world position
// of the node's origin, the place a Part made of the node turns about.
struct NodeWorld {
    Matrix4 full;
    Matrix4 rigid;
};

// The matrix of one node transform: scale, then rotation, then translation.
Matrix4 NodeMatrixOf(const NodeTransform& transform);

// The world of every node for the given local transforms (one per node, in
// node order, as NodeTransformsAt returns them).
std::vector<NodeWorld> NodeWorldsOf(const ForeignModel& model, const std::vector<NodeTransform>& transforms);

// geometry moved by matrix m: positions by m, normals by its inverse
// transpose (renormalised), and the corners of every triangle reversed when
// m turns space inside out, so that faces keep facing outward.
void TransformGeometry(LoadedModel& geometry, const Matrix4& m);

// The mesh of node (empty when it has none) moved by m, its materials'
// embedded images named as their texture paths and carried along.
LoadedModel NodeGeometry(const ForeignModel& model, size_t node, const Matrix4& m);

// The whole model in one triangle list at its rest pose, every mesh placed
// by each node that uses it, materials that are equal in every field merged
// (a file may name more of them than one mesh can hold; a failure says so),
// and the images the materials use carried along.
Outcome MergeModelGeometry(const ForeignModel& model, const std::string& fileName, LoadedModel& out);

}  // namespace m3d
