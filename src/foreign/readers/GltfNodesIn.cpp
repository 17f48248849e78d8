#include "foreign/readers/GltfImport.h"
#include "foreign/readers/GltfNodeMatrix.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

// Transform values beyond this are refused: they, or the lengths and
// products made of them, would not fit a float.
constexpr double kLargestTransformValue = 1e30;

bool AllModerate(const std::vector<double>& values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::fabs(v) <= kLargestTransformValue; });
}

// The top nodes of the scene to show: the default scene, else the first,
// else every node that is nobody's child.
Outcome SceneRoots(const tinygltf::Model& model, std::vector<int>& roots)
{
    if (model.defaultScene >= 0 && size_t(model.defaultScene) >= model.scenes.size())
        return Outcome::Failure("the default scene " + std::to_string(model.defaultScene) + " does not exist");
    if (!model.scenes.empty()) {
        roots = model.scenes[size_t(std::max(model.defaultScene, 0))].nodes;
        for (int root : roots)
            if (root < 0 || size_t(root) >= model.nodes.size())
                return Outcome::Failure("the scene names node " + std::to_string(root) + ", which does not exist");
        return Outcome();
    }
    // CheckTree has made sure that every child exists.
    std::vector<bool> isChild(model.nodes.size(), false);
    for (const tinygltf::Node& node : model.nodes)
        for (int child : node.children) isChild[size_t(child)] = true;
    roots.clear();
    for (size_t n = 0; n < model.nodes.size(); ++n)
        if (!isChild[n]) roots.push_back(int(n));
    return Outcome();
}

Outcome ConvertTransform(GltfImport& import, const tinygltf::Node& source, const std::string& label, ForeignNode& node)
{
    if (!source.matrix.empty()) {
        if (source.matrix.size() != 16 || !AllModerate(source.matrix))
            return Outcome::Failure(label + ": its matrix is not 16 finite numbers of moderate size");
        switch (DecomposeNodeMatrix(source.matrix.data(), node)) {
        case MatrixFit::Exact: break;
        case MatrixFit::Sheared: Note(import, "shear of " + label + " (nearest rotation and scale kept)"); break;
        case MatrixFit::Singular: Note(import, "rotation of " + label + " (its matrix is singular)"); break;
        case MatrixFit::Projective: Note(import, "projection row of the matrix of " + label); break;
        }
        return Outcome();
    }
    const auto& t = source.translation;
    const auto& r = source.rotation;
    const auto& s = source.scale;
    if ((!t.empty() && t.size() != 3) || (!r.empty() && r.size() != 4) || (!s.empty() && s.size() != 3) ||
        !AllModerate(t) || !AllModerate(r) || !AllModerate(s))
        return Outcome::Failure(label +
                                ": its translation, rotation or scale is not the right count of finite numbers "
                                "of moderate size");
    if (!t.empty()) node.translation = {float(t[0]), float(t[1]), float(t[2])};
    if (!s.empty()) node.scale = {float(s[0]), float(s[1]), float(s[2])};
    if (!r.empty()) {
        const double norm = std::sqrt(r[0] * r[0] + r[1] * r[1] + r[2] * r[2] + r[3] * r[3]);
        if (!(norm > 1e-6)) return Outcome::Failure(label + ": its rotation is no unit quaternion");
        node.rotation = {float(r[0] / norm), float(r[1] / norm), float(r[2] / norm), float(r[3] / norm)};
    }
    return Outcome();
}

// Node index of the model as a ForeignNode under parent; its mesh converted on first use.
Outcome ConvertNode(GltfImport& import, int index, int32_t parent)
{
    const tinygltf::Node& source = import.model.nodes[size_t(index)];
    const std::string label = Label("node", size_t(index), source.name);
    ForeignNode node;
    node.name = source.name;
    node.parent = parent;
    if (Outcome transform = ConvertTransform(import, source, label, node); !transform) return transform;
    if (source.mesh >= 0) {
        if (size_t(source.mesh) >= import.model.meshes.size())
            return Outcome::Failure(label + ": mesh " + std::to_string(source.mesh) + " does not exist");
        int32_t& mesh = import.meshOf[size_t(source.mesh)];
        if (mesh < 0) {
            ForeignMesh converted;
            if (Outcome read = ImportGltfMesh(import, source.mesh, converted); !read) return read;
            mesh = int32_t(import.out.meshes.size());
            import.out.meshes.push_back(std::move(converted));
        }
        node.mesh = mesh;
        if (source.skin >= 0)
            Note(import, "skin of " +
                             Label("mesh", size_t(source.mesh), import.model.meshes[size_t(source.mesh)].name) +
                             " (rest pose kept)");
    }
    if (source.camera >= 0) Note(import, "camera of " + label);
    import.nodeOf[size_t(index)] = int32_t(import.out.nodes.size());
    import.out.nodes.push_back(std::move(node));
    return Outcome();
}

// Every child exists and has one parent, and every node goes up to a top
// node: the children form trees, so walking them ends.
Outcome CheckTree(const tinygltf::Model& model)
{
    const size_t count = model.nodes.size();
    std::vector<int> parentOf(count, -1);
    for (size_t n = 0; n < count; ++n) {
        const std::string label = Label("node", n, model.nodes[n].name);
        for (int child : model.nodes[n].children) {
            if (child < 0 || size_t(child) >= count)
                return Outcome::Failure(label + " lists child " + std::to_string(child) + ", which does not exist");
            if (parentOf[size_t(child)] >= 0)
                return Outcome::Failure(
                    Label("node", size_t(child), model.nodes[size_t(child)].name) + " is a child twice (of " +
                    Label("node", size_t(parentOf[size_t(child)]), model.nodes[size_t(parentOf[size_t(child)])].name) +
                    " and of " + label + ")");
            parentOf[size_t(child)] = int(n);
        }
    }
    std::vector<bool> reached(count, false);
    std::vector<int> pending;
    for (size_t n = 0; n < count; ++n)
        if (parentOf[n] < 0) pending.push_back(int(n));
    while (!pending.empty()) {
        const int n = pending.back();
        pending.pop_back();
        reached[size_t(n)] = true;
        for (int child : model.nodes[size_t(n)].children) pending.push_back(child);
    }
    for (size_t n = 0; n < count; ++n)
        if (!reached[n])
            return Outcome::Failure("the children of " + Label("node", n, model.nodes[n].name) +
                                    " lead back to it (a cycle)");
    return Outcome();
}

}  // namespace

Outcome ImportGltfNodes(GltfImport& import)
{
    const tinygltf::Model& model = import.model;
    if (Outcome tree = CheckTree(model); !tree) return tree;
    std::vector<int> roots;
    if (Outcome found = SceneRoots(model, roots); !found) return found;
    import.nodeOf.assign(model.nodes.size(), -1);
    import.meshOf.assign(model.meshes.size(), -1);

    // Depth first without recursion: a file may nest deeper than the stack goes.
    std::vector<std::pair<int, int32_t>> pending;  // node, its parent in out.nodes
    for (auto root = roots.rbegin(); root != roots.rend(); ++root) pending.emplace_back(*root, -1);
    while (!pending.empty()) {
        const auto [node, parent] = pending.back();
        pending.pop_back();
        const size_t n = size_t(node);
        if (import.nodeOf[n] >= 0)
            return Outcome::Failure(Label("node", n, model.nodes[n].name) + " is reached twice from the scene");
        if (Outcome converted = ConvertNode(import, node, parent); !converted) return converted;
        const std::vector<int>& children = model.nodes[n].children;
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            pending.emplace_back(*child, import.nodeOf[n]);
    }
    const size_t outside = model.nodes.size() - import.out.nodes.size();
    if (outside > 0) Note(import, std::to_string(outside) + " nodes outside the scene");
    return Outcome();
}

}  // namespace m3d
