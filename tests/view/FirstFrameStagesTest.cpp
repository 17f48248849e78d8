#include "view/FirstFrameStages.h"

#include "scene/Scene.h"
#include "support/SceneParts.h"

#include <gtest/gtest.h>

namespace {

TEST(FirstFrameStages, PanelsFirstThenTheTreeThenNothing)
{
    FirstFrameStages stages;
    EXPECT_EQ(stages.Advance(), FirstFrameStage::ShowPanels);
    EXPECT_EQ(stages.Advance(), FirstFrameStage::CheckTreeAndActivateToolbars);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(stages.Advance(), FirstFrameStage::None);
    EXPECT_EQ(stages.Count(), 2);
}

struct CheckRecorder : SceneObserver {
    std::vector<TreeItem> checked;
    void TreeItemChecked(TreeItem item, bool on) override
    {
        if (on) checked.push_back(item);
    }
};

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
    scene.SelectTreeItem(scene.parts[a]->treeItem);
    scene.AddPartFromFile(path);
    ASSERT_EQ(scene.parts[1]->parentIndex, 0);
    for (TreeItem item : {scene.rootPart.treeItem, scene.parts[0]->treeItem, scene.parts[1]->treeItem})
        scene.SetTreeItemChecked(item, false);

    CheckRecorder recorder;
    scene.SetObserver(&recorder);
    CheckEveryTreeItem(scene);
    scene.SetObserver(nullptr);
    EXPECT_TRUE(scene.Tree().IsChecked(scene.rootPart.treeItem));
    EXPECT_TRUE(scene.Tree().IsChecked(scene.parts[0]->treeItem));
    EXPECT_TRUE(scene.Tree().IsChecked(scene.parts[1]->treeItem));
    EXPECT_EQ(recorder.checked.size(), 3u);
}

}  // namespace
