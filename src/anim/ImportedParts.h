#pragma once

#include "foreign/ForeignModel.h"
#include "math/Matrix4.h"

#include <string>
#include <vector>

namespace m3d {

// Which nodes of model become Parts: one that carries a mesh, and one without
// that is animated or has several children; any other node's transform is
// folded into its children. Returns, per node, the index among the Parts to
// be made (-1 for a node that is folded).
std::vector<int> ImportedPartOfNode(const ForeignModel& model);

// The Parts an import makes of a model's nodes, in node order.
struct ImportedParts {
    std::vector<int> nodeOfPart;        // the node each Part is made of
    std::vector<int> parentNodeOfPart;  // the node of its parent Part, -1 for a top-level Part
};
ImportedParts ImportedPartsOf(const ForeignModel& model);

// The name each Part asks for: its node's, or its mesh's when the node has
// none, made storable (not yet unique in a project).
std::vector<std::string> ImportedPartNames(const ForeignModel& model, const ImportedParts& parts);

// The key of each Part at time (seconds) in animation (an index into
// model.animations, or -1 for the rest pose): its rigid world transform
// relative to its parent Part's, as a Motion holds it.
std::vector<Matrix4> ImportedPartKeys(const ForeignModel& model, const ImportedParts& parts, int animation,
                                      double time);

}  // namespace m3d
