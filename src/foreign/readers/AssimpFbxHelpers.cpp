#include "foreign/readers/AssimpFbxHelpers.h"

#include <assimp/scene.h>

#include <cstring>
#include <utility>

namespace m3d {

bool IsFbxHelper(const aiNode& node)
{
    return node.mNumMeshes == 0 && node.mNumChildren > 0 && std::strstr(node.mName.C_Str(), "_$AssimpFbx$_");
}

Outcome FoldFbxHelpers(const aiNode& root, const std::string& path, std::vector<FoldedNode>& out)
{
    out.clear();
    struct Pending {
        const aiNode* node;
        int32_t parent;
        std::vector<const aiNode*> chain;  // the helpers above node, down from the kept parent
    };
    // A stack rather than recursion: the depth is the file's to choose.
    std::vector<Pending> pending{{&root, -1, {}}};
    while (!pending.empty()) {
        Pending next = std::move(pending.back());
        pending.pop_back();
        next.chain.push_back(next.node);
        int32_t parentOfChildren = next.parent;
        std::vector<const aiNode*> chainOfChildren;
        if (IsFbxHelper(*next.node)) {
            chainOfChildren = next.chain;
        } else {
            parentOfChildren = int32_t(out.size());
            out.push_back({next.node, std::move(next.chain), next.parent, aiMatrix4x4()});
        }
        const aiNode& node = *next.node;
        if (node.mNumChildren > 0 && !node.mChildren)
            return Outcome::Failure(path + ": node '" + node.mName.C_Str() + "' has no list of its children");
        for (unsigned i = node.mNumChildren; i-- > 0;) {
            if (!node.mChildren[i])
                return Outcome::Failure(path + ": a child of node '" + node.mName.C_Str() + "' is missing");
            pending.push_back({node.mChildren[i], parentOfChildren, chainOfChildren});
        }
    }
    return {};
}

aiMatrix4x4 FoldedTransform(const FoldedNode& node)
{
    aiMatrix4x4 local = node.above;
    for (const aiNode* part : node.chain) local *= part->mTransformation;
    return local;
}

}  // namespace m3d
