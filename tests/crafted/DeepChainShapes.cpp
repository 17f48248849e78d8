// Shapes that attack the writers: a hierarchy so deep that anything growing
// with the depth per line (such as indentation) grows with its square.

#include "crafted/CraftedShape.h"

#include "meshlib/CMesh.h"
#include "meshlib/LoadedModel.h"
#include "scene/ProjectFile.h"
#include "scene/Scene.h"
#include "scene/UserPrompt.h"

#include <filesystem>
#include <stdexcept>

namespace m3d {

namespace {

// The generator writes into a fresh folder, so a question means something is wrong.
class NoQuestions : public UserPrompt {
public:
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    YesNoCancel AskYesNoCancel(const std::string&, const std::string&) override { return YesNoCancel::Cancel; }
    void ShowMessage(const std::string& text, const std::string&) override { message = text; }
    std::string AskSavePath(const std::string&, const std::string&) override { return std::string(); }
    MeshOverwriteAnswer AskMeshOverwrite(const std::string&) override { return MeshOverwriteAnswer::Cancel; }
    std::string message;
};

LoadedModel OneTriangle()
{
    LoadedModel model;
    model.vertices = {{0, 0, 0, 0, 0, -1, 0, 0}, {1, 0, 0, 0, 0, -1, 1, 0}, {0, 1, 0, 0, 0, -1, 0, 1}};
    model.indices = {0, 1, 2};
    model.triangleMaterials = {0};
    model.materials.resize(1);
    return model;
}

}  // namespace

std::string WriteDeepChainProject(const std::string& folder, size_t depth)
{
    std::filesystem::create_directories(folder);
    Scene scene;
    Motion motion;
    motion.name = "walk";
    motion.length = 10;
    scene.MutableMotions().push_back(motion);
    const LoadedModel triangle = OneTriangle();
    for (size_t i = 0; i < depth; ++i) {
        const std::string path = folder + "/p" + std::to_string(i) + ".mqo";
        scene.AddPartFromFile(path);
        if (const Outcome loaded = scene.Parts().back()->mesh->LoadModel(triangle, path, 1.0f); !loaded)
            throw std::runtime_error(loaded.Message());
        scene.SelectTreeItem(scene.Parts().back()->treeItem);
    }
    const std::string project = folder + "/chain.anm";
    NoQuestions prompt;
    if (const Outcome saved = SaveProject(scene, project, prompt).outcome; !saved)
        throw std::runtime_error(project + ": " + saved.Message());
    return project;
}

void AddDeepChainShapes(std::vector<CraftedShape>& shapes)
{
    for (size_t depth : {size_t(2000), size_t(20000)}) {
        const std::string name = "deep-chain-" + std::to_string(depth);
        shapes.push_back({name, "a chain of Parts, each the child of the one before, exported as DirectX text",
                          "export-x", depth,
                          [](const std::string& folder, size_t size) { return WriteDeepChainProject(folder, size); }});
    }
}

}  // namespace m3d
