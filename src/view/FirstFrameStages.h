#pragma once

namespace m3d {

class Scene;

// The first two frames finish the start-up: the panels are shown on the first
// (so nothing appears half laid out), and on the second every item of the
// parts tree is checked and the display toolbars are activated. Later frames
// have no stage.
enum class FirstFrameStage { None, ShowPanels, CheckTreeAndActivateToolbars };

class FirstFrameStages {
public:
    // The stage of the frame now starting; counts up to 2 and stays there.
    FirstFrameStage Advance();
    // How many stages have run (0, 1 or 2).
    int Count() const { return count; }

private:
    int count = 0;
};

// Checks every item of the parts tree, the root entry included, so that all
// Parts and the grid are shown. Each change is reported to the observer.
void CheckEveryTreeItem(Scene& scene);

}  // namespace m3d
