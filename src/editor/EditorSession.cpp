#include "editor/EditorSession.h"

#include <algorithm>

namespace m3d {

EditorSession::EditorSession(MillisecondClock clock) : playback(*this, timeline, std::move(clock))
{
    scene.onTreeChange = [this](const TreeChange& change) {
        std::visit([this](const auto& c) { events.Publish(c); }, change);
    };
    reportedSelection = scene.Tree().GetSelected();
    history.MarkSaved();
}

int EditorSession::CurrentMotion() const
{
    return currentMotion >= 0 && currentMotion < scene.MotionCount() ? currentMotion : -1;
}

void EditorSession::SelectTreeItem(TreeItem item)
{
    scene.SelectTreeItem(item);
    SelectionMayHaveChanged();
}

void EditorSession::SelectPart(int index)
{
    const Part* part = scene.PartAt(index);
    SelectTreeItem(part ? part->treeItem : scene.rootPart.treeItem);
}

void EditorSession::SelectionMayHaveChanged()
{
    if (scene.Tree().GetSelected() != reportedSelection) OnSelectionChanged();
}

void EditorSession::OnSelectionChanged()
{
    reportedSelection = scene.Tree().GetSelected();
    events.Publish(SelectionChanged{reportedSelection, CurrentPart()});
    ShowCurrentTransform();
    UpdateTitle();
}

void EditorSession::SelectMotion(int index)
{
    currentMotion = index >= 0 && index < scene.MotionCount() ? index : -1;
    events.Publish(MotionListChanged{currentMotion});
}

void EditorSession::SetCurrentFrame(int frame)
{
    currentFrame = std::max(frame, 0);
    events.Publish(CurrentFrameChanged{currentFrame});
}

void EditorSession::SetPlaying(bool isPlaying)
{
    playing = isPlaying;
    events.Publish(PlayingChanged{playing});
    history.UpdateUndoButtons();
}

void EditorSession::SetCurvePanelShown(bool shown)
{
    if (shown == curvePanelShown) return;
    curvePanelShown = shown;
    events.Publish(PreferencesChanged{});
}

void EditorSession::ShowCurrentTransform()
{
    transformPanel.fields = transformPanel.shownRotations.Show(scene, CurrentPart());
    events.Publish(PoseChanged{});
}

void EditorSession::FitViews()
{
    viewState.FitViews(scene.Meshes());
    events.Publish(ViewsChanged{});
}

void EditorSession::FitWholeModel()
{
    viewState.FitWholeModel(scene.Meshes());
    events.Publish(ViewsChanged{});
}

}  // namespace m3d
