#include "foreign/ForeignModel.h"

#include "text/NumberText.h"

namespace m3d {

std::string TooManyNodesReason(size_t nodes)
{
    return "the model has " + GroupedDigits(nodes) + " nodes; a project holds at most " +
           GroupedDigits(kMaxModelNodes) + " Parts, one a node";
}

}  // namespace m3d
