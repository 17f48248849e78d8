#include "view/FirstFrameStages.h"

#include "scene/Scene.h"

namespace m3d {

FirstFrameStage FirstFrameStages::Advance()
{
    if (count == 0) {
        count = 1;
        return FirstFrameStage::ShowPanels;
    }
    if (count == 1) {
        count = 2;
        return FirstFrameStage::CheckTreeAndActivateToolbars;
    }
    return FirstFrameStage::None;
}

namespace {
void CheckSubtree(Scene& scene, TreeItem parent)
{
    // A copy: checking reports to the observer, which must not see a list change under it.
    const std::vector<TreeItem> children = scene.Tree().GetChildren(parent);
    for (TreeItem item : children) {
        scene.SetTreeItemChecked(item, true);
        CheckSubtree(scene, item);
    }
}
}  // namespace

void CheckEveryTreeItem(Scene& scene) { CheckSubtree(scene, kNoTreeItem); }

}  // namespace m3d
