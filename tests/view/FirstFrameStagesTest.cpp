#include "view/FirstFrameStages.h"

#include "scene/Scene.h"
#include "support/SceneParts.h"
#include "editor/EditorSession.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

TEST(FirstFrameStages, PanelsFirstThenTheTreeThenNothing)
{
    FirstFrameStages stages;
    EXPECT_EQ(stages.Advance(), FirstFrameStage::ShowPanels);
    EXPECT_EQ(stages.Advance(), FirstFrameStage::CheckTreeAndActivateToolbars);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(stages.Advance(), FirstFrameStage::None);
    EXPECT_EQ(stages.Count(), 2);
}

TEST(FirstFrameStages, CheckingTheTreeReachesNestedItemsAndTheRoot)
{
    TempFolder folder;
    Scene scene;
    const int a = sceneparts::AddBoxPart(scene, folder, "a", {0, 0, 0}, 1);
    // A child of a: select a, then add.
    CMesh mesh;
    const std::string path = folder.File("child.mesh");
    ASSERT_TRUE(mesh.LoadModel(sceneparts::MakeBox({0, 0, 0}, {1, 1, 1}), path, 1.0f));
    ASSERT_TRUE(mesh.SaveMeshFile(path));
    scene.SelectTreeItem(scene.Parts()[a]->treeItem);
    scene.AddPartFromFile(path);
    ASSERT_EQ(scene.Parts()[1]->parentIndex, 0);
    for (TreeItem item : {scene.rootPart.treeItem, scene.Parts()[0]->treeItem, scene.Parts()[1]->treeItem})
        scene.SetTreeItemChecked(item, false);

    std::vector<TreeItem> checked;
    scene.onTreeChange = [&](const TreeChange& change) {
        if (const auto* c = std::get_if<TreeItemChecked>(&change); c && c->checked) checked.push_back(c->item);
    };
    CheckEveryTreeItem(scene);
    scene.onTreeChange = nullptr;
    EXPECT_TRUE(scene.Tree().IsChecked(scene.rootPart.treeItem));
    EXPECT_TRUE(scene.Tree().IsChecked(scene.Parts()[0]->treeItem));
    EXPECT_TRUE(scene.Tree().IsChecked(scene.Parts()[1]->treeItem));
    EXPECT_EQ(checked.size(), 3u);
}

}  // namespace
