#include "anim/ImportedParts.h"

#include "foreign/NodeWorlds.h"
#include "scene/ProjectFileFormat.h"
#include "text/StoredName.h"

namespace m3d {

namespace {

// Per node, whether an animation moves or turns it.
std::vector<bool> AnimatedNodes(const ForeignModel& model)
{
    std::vector<bool> animated(model.nodes.size(), false);
    for (const ForeignAnimation& animation : model.animations)
        for (const ForeignChannel& channel : animation.channels)
            if (channel.path != ForeignPath::Scale) animated[static_cast<size_t>(channel.node)] = true;
    return animated;
}

}  // namespace

std::vector<int> ImportedPartOfNode(const ForeignModel& model)
{
    std::vector<int> children(model.nodes.size(), 0);
    for (const ForeignNode& node : model.nodes)
        if (node.parent >= 0) ++children[static_cast<size_t>(node.parent)];
    const std::vector<bool> animated = AnimatedNodes(model);
    std::vector<int> partOfNode(model.nodes.size(), -1);
    int parts = 0;
    for (size_t i = 0; i < model.nodes.size(); ++i)
        if (model.nodes[i].mesh >= 0 || children[i] > 1 || animated[i]) partOfNode[i] = parts++;
    return partOfNode;
}

ImportedParts ImportedPartsOf(const ForeignModel& model)
{
    const std::vector<int> partOfNode = ImportedPartOfNode(model);
    ImportedParts parts;
    for (size_t i = 0; i < model.nodes.size(); ++i) {
        if (partOfNode[i] < 0) continue;
        int parent = model.nodes[i].parent;
        while (parent >= 0 && partOfNode[static_cast<size_t>(parent)] < 0)
            parent = model.nodes[static_cast<size_t>(parent)].parent;
        parts.nodeOfPart.push_back(static_cast<int>(i));
        parts.parentNodeOfPart.push_back(parent);
    }
    return parts;
}

std::vector<std::string> ImportedPartNames(const ForeignModel& model, const ImportedParts& parts)
{
    std::vector<std::string> names;
    for (const int node : parts.nodeOfPart) {
        // An unnamed node goes by its mesh's name.
        const ForeignNode& source = model.nodes[static_cast<size_t>(node)];
        const std::string& name =
            source.name.empty() && source.mesh >= 0 ? model.meshes[static_cast<size_t>(source.mesh)].name : source.name;
        names.push_back(StorableForeignName(name, static_cast<size_t>(kMaxPartNameBytes) - 5, false, "part"));
    }
    return names;
}

std::vector<Matrix4> ImportedPartKeys(const ForeignModel& model, const ImportedParts& parts, int animation, double time)
{
    const std::vector<NodeWorld> worlds = NodeWorldsOf(model, NodeTransformsAt(model, animation, time));
    std::vector<Matrix4> keys(parts.nodeOfPart.size());
    for (size_t p = 0; p < keys.size(); ++p) {
        const Matrix4& own = worlds[static_cast<size_t>(parts.nodeOfPart[p])].rigid;
        Matrix4 parentInverse;
        if (parts.parentNodeOfPart[p] < 0 ||
            !MatrixInverse(worlds[static_cast<size_t>(parts.parentNodeOfPart[p])].rigid, parentInverse))
            keys[p] = own;
        else
            keys[p] = own * parentInverse;
        keys[p].m[0][3] = keys[p].m[1][3] = keys[p].m[2][3] = 0.0f;
        keys[p].m[3][3] = 1.0f;
    }
    return keys;
}

}  // namespace m3d
